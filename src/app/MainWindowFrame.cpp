// The main window's frame behaviour: layout of the companions, pointer watch, fades, the
// close decision, full screen, the hot-spot buttons and the settings entry points.
#include "app/MainWindow.h"

#include "app/ProcessState.h"
#include "app/ScreenAreas.h"

#include <aplayer/Engine.h>
#include <settings/SettingsActions.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace qinglan::app {
QRect MainWindow::outerRect() const {
    return main_ ? main_->frameGeometry() : QRect();
}

void MainWindow::sidePanelCheck() {
    auto& state = processState();
    const QRect r = outerRect();
    state.sidePanelEnabled = sidePanelAllowed(r.width(), r.height());
    if (!state.sidePanelEnabled && sidePanel_) sidePanel_->hide();
}

void MainWindow::layOut() {
    if (!main_ || !created_ || !engine_) return;
    auto& state = processState();
    sidePanelCheck();
    const QRect r = outerRect();
    const auto l =
        computeMainLayout({r.x(), r.y(), r.width(), r.height()}, state.shareMode,
                          bar_ ? bar_->height() : 30, sidePanel_ ? sidePanel_->height() : 390);
    if (l.barPlaced && bar_) bar_->setGeometry(l.bar.left, l.bar.top, l.bar.width, l.bar.height);
    if (QWidget* video = engine_->APlayer_GetWindow())
        video->setGeometry(l.video.left, l.video.top, l.video.width, l.video.height);
    if (sidePanel_) sidePanel_->move(l.panelLeft, l.panelTop);
    if (maximizeButton_)
        maximizeButton_->setGeometry(l.maximizeButton.left, l.maximizeButton.top,
                                     l.maximizeButton.width, l.maximizeButton.height);
    if (minimizeButton_)
        minimizeButton_->setGeometry(l.minimizeButton.left, l.minimizeButton.top,
                                     l.minimizeButton.width, l.minimizeButton.height);
    if (auto* logo = ui::find<QLabel>(main_, u"图片框1"))
        logo->setGeometry(l.logo.left, l.logo.top, l.logo.width, l.logo.height);
}

// Timer A: while the pointer is over the window, timer B watches it for idleness.
void MainWindow::tickPointerWatch() {
    if (!main_) return;
    auto& timerB = ui::control<QTimer>(main_, u"时钟3");
    if (outerRect().adjusted(0, 0, 1, 1).contains(QCursor::pos())) {
        if (!timerB.isActive()) ui::setClockPeriod(&timerB, 1000);
    } else {
        if (sidePanel_) sidePanel_->hide();
        ui::setClockPeriod(&timerB, 0);
    }
}

// Timer B: the side panel shows while the pointer moves and hides once it rests.
void MainWindow::tickPointerIdle() {
    if (!processState().sidePanelEnabled || !sidePanel_) return;
    const QPoint now = QCursor::pos();
    if (now == lastPointer_) {
        sidePanel_->hide();
    } else {
        sidePanel_->show();
        lastPointer_ = now;
    }
}

void MainWindow::applyOpacity(int opacity) {
    const double level = std::clamp(opacity, 0, 255) / 255.0;
    if (main_) main_->setWindowOpacity(level);
    if (bar_) bar_->setWindowOpacity(level);
}

// Timer C: the fades.
void MainWindow::tickFade() {
    const FadeMode mode = fade_.mode();
    if (mode == FadeMode::None) {
        ui::setClockPeriod(&ui::control<QTimer>(main_, u"时钟4"), 0);
        return;
    }
    const FadeStep step = fade_.tick();
    applyOpacity(step.applyOpacity);
    if (!step.finished) return;
    ui::setClockPeriod(&ui::control<QTimer>(main_, u"时钟4"), 0);
    if (mode == FadeMode::In) {
        showButtonWindows(true);
        if (videoList_) videoList_->show();
    } else {
        shutdown();
    }
}

void MainWindow::hideCompanions() {
    for (auto* w : {sidePanel_.data(), maximizeButton_.data(), minimizeButton_.data(), bar_.data(),
                    videoList_.data()})
        if (w) w->hide();
}

void MainWindow::showButtonWindows(bool visible) {
    for (auto* w : {maximizeButton_.data(), minimizeButton_.data()})
        if (w) w->setVisible(visible);
}

void MainWindow::decideClose(ui::UiEvent& event) {
    auto& state = processState();
    if (shutDown_) return;
    const auto action = closeActionFor(state.record.isOn(134), state.record.isOn(133));
    switch (action) {
    case CloseAction::FadeOutAndExit:
        fade_.start(FadeMode::Out, std::clamp(fade_.opacity(), 0, 255));
        state.sidePanelEnabled = false;
        hideCompanions();
        ui::setClockPeriod(&ui::control<QTimer>(main_, u"时钟4"), Fade::kOutTickMs);
        event.refuse = true; // timer C ends the player once the window is transparent
        break;
    case CloseAction::HideToTray:
        putTrayIcon();
        main_->hide();
        state.sidePanelEnabled = false;
        hideCompanions();
        event.refuse = true;
        break;
    case CloseAction::CloseNow:
        event.refuse = true; // the shutdown sequence hides the window and ends the loop
        shutdown();
        break;
    }
}

void MainWindow::showMainWindow() {
    if (!main_) return;
    main_->showNormal();
    main_->activateWindow();
    sidePanelCheck();
    if (sidePanel_ && processState().sidePanelEnabled) sidePanel_->show();
    showButtonWindows(true);
    if (bar_ && !processState().shareMode) bar_->show();
}

void MainWindow::toggleFullScreen() {
    auto& state = processState();
    saveGeometry();
    sidePanelCheck();
    auto* networkItem = ui::findMenuItem(menu("右键菜单"), {"打开", "网络视频        "});
    if (!state.fullScreen) {
        const QRect s = screenGeometry();
        main_->setWindowFlag(Qt::FramelessWindowHint, true);
        main_->setGeometry(s);
        main_->show();
        showButtonWindows(false);
        if (bar_) bar_->hide();
        if (QWidget* video = engine_->APlayer_GetWindow())
            video->setGeometry(0, 0, s.width(), s.height() + (state.shareMode ? 40 : 0));
        if (networkItem) networkItem->setEnabled(false);
        state.geometryFrozen = true;
        state.fullScreen = true;
    } else {
        restoreWindowed();
        if (networkItem) networkItem->setEnabled(true);
        state.geometryFrozen = false;
        state.fullScreen = false;
    }
}

void MainWindow::restoreWindowed() {
    const auto& record = processState().record;
    main_->setWindowFlag(Qt::FramelessWindowHint, false);
    main_->setGeometry(record.integer(168), record.integer(169), std::max(1, record.integer(170)),
                       std::max(1, record.integer(171)));
    showFramedWindow();
}

// A bordered main window with its hot spots; the control bar and the video follow share mode.
void MainWindow::showFramedWindow() {
    main_->show();
    showButtonWindows(true);
    const bool share = processState().shareMode;
    if (bar_) bar_->setVisible(!share);
    if (QWidget* video = engine_->APlayer_GetWindow())
        video->setGeometry(0, 0, main_->width(), main_->height() - (share ? 32 : 62));
}

void MainWindow::leaveFullScreen() {
    auto& state = processState();
    if (state.fullScreen) {
        toggleFullScreen();
        return;
    }
    // Windowed: back to the last saved geometry all the same.
    restoreWindowed();
}

void MainWindow::maximize() {
    auto& state = processState();
    saveGeometry();
    if (!state.fullScreen) {
        const QRect area = workAreaGeometry();
        main_->setWindowFlag(Qt::FramelessWindowHint, false);
        main_->setGeometry(0, 0, screenGeometry().width(), area.bottom() + 1);
        showFramedWindow();
        state.fullScreen = true;
    } else {
        restoreWindowed();
        state.fullScreen = false;
    }
}

void MainWindow::openSettingsWindow(bool subtitlePage) {
    auto& state = processState();
    if (state.fileConfigChanged) {
        showRestartPrompt();
        return;
    }
    if (state.store) state.store->write(167, subtitlePage ? "1" : "0");
    openDialog("SettingsWindow");
}

void MainWindow::openDialog(const char* role) {
    if (dialog_) dialog_->close();
    dialog_ = ui::createWindow(role, handlers_, main_).window;
    if (!dialog_) return;
    if (main_) {
        // Centred on the main window.
        const QRect m = main_->frameGeometry();
        dialog_->move(m.center() - QPoint(dialog_->width() / 2, dialog_->height() / 2));
    }
    dialog_->show();
    dialog_->raise();
}

void MainWindow::showRestartPrompt() {
    openDialog("PromptWindow");
    if (!dialog_) return;
    dialog_->setWindowTitle(QString::fromUtf8("重启提示"));
    auto& message = ui::control<QLabel>(dialog_, u"标签1");
    message.setText(QString::fromUtf8("检测到新的文件配置，是否重启软件！"));
    message.resize(208, message.height());
    auto& ok = ui::control<QPushButton>(dialog_, u"按钮1");
    auto& cancel = ui::control<QPushButton>(dialog_, u"按钮2");
    ok.move(80, ok.y());
    cancel.move(176, cancel.y());
    ui::setDesignedSize(dialog_, {277, dialog_->design().size.height});
    if (auto* box = ui::find<QCheckBox>(dialog_, u"选择框1")) box->hide();
    dialog_->setProperty("promptMode", 2);
}

} // namespace qinglan::app
