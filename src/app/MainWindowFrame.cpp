// The main window's frame behaviour: layout of the companions, pointer watch, fades, the
// close decision, full screen, the hot-spot buttons and the settings entry points.
#include "app/MainWindow.h"

#include "app/ProcessState.h"
#include "app/ScreenAreas.h"

#include <aplayer/Engine.h>
#include <settings/SettingsActions.h>
#include <settings/SettingsFields.h>
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
#include <QSystemTrayIcon>
#include <QTimer>

namespace qinglan::app {

namespace field = settings::field;

// The frame the window manager draws around the client area; none is known before the
// window was first framed.
QMargins MainWindow::frameMargins() const {
    if (!main_) return {};
    const QRect outer = main_->frameGeometry(), inner = main_->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

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
    if (hiddenToTray()) {
        // Nothing shows for a window the user put away; the watch resumes when it returns.
        ui::setClockPeriod(&ui::control<QTimer>(main_, u"时钟3"), 0);
        return;
    }
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
    if (!processState().sidePanelEnabled || !sidePanel_ || hiddenToTray()) return;
    const QPoint now = QCursor::pos();
    if (now == lastPointer_) {
        sidePanel_->hide();
    } else {
        sidePanel_->show();
        lastPointer_ = now;
    }
}

bool MainWindow::hiddenToTray() const {
    return !main_ || !main_->isVisible() || main_->isMinimized();
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
    const auto action =
        closeActionFor(state.record.isOn(field::CloseExits), state.record.isOn(field::CloseToTray));
    switch (action) {
    case CloseAction::FadeOutAndExit:
        fade_.start(FadeMode::Out, std::clamp(fade_.opacity(), 0, 255));
        state.sidePanelEnabled = false;
        hideCompanions();
        ui::setClockPeriod(&ui::control<QTimer>(main_, u"时钟4"), Fade::kOutTickMs);
        event.refuse = true; // timer C ends the player once the window is transparent
        break;
    case CloseAction::HideToTray:
        state.sidePanelEnabled = false;
        event.refuse = true;
        if (!(trayAvailable_ ? trayAvailable_() : QSystemTrayIcon::isSystemTrayAvailable())) {
            // Hidden without a tray there would be no way back to the window.
            if (sidePanel_) sidePanel_->hide();
            main_->showMinimized();
            break;
        }
        putTrayIcon();
        main_->hide();
        hideCompanions();
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
    main_->setGeometry(record.integer(field::MainLeft), record.integer(field::MainTop),
                       std::max(1, record.integer(field::MainWidth)),
                       std::max(1, record.integer(field::MainHeight)));
    showFramedWindow();
}

// A bordered main window with its hot spots; the control bar and the video follow share mode.
void MainWindow::showFramedWindow() {
    main_->show();
    showButtonWindows(true);
    const bool share = processState().shareMode;
    if (bar_) bar_->setVisible(!share);
    if (QWidget* video = engine_->APlayer_GetWindow())
        video->setGeometry(0, 0, main_->width(), videoHeightFor(main_->height(), share));
}

// Unlike the toggle, the hotkey saves nothing first: after a maximize that would store the
// maximized size and "restore" it.
void MainWindow::leaveFullScreen() {
    auto& state = processState();
    restoreWindowed();
    if (!state.fullScreen) return; // windowed: back to the last saved geometry all the same
    if (auto* item = ui::findMenuItem(menu("右键菜单"), {"打开", "网络视频        "}))
        item->setEnabled(true);
    state.geometryFrozen = false;
    state.fullScreen = false;
}

void MainWindow::maximize() {
    auto& state = processState();
    saveGeometry();
    if (!state.fullScreen) {
        // The framed window, border and title included, fills the work area: the client
        // rectangle is the work area less the frame the window manager puts around it.
        const QRect area = workAreaGeometry();
        const QRect outer =
            area.intersected(QRect(0, 0, screenGeometry().width(), area.bottom() + 1));
        const QMargins frame = frameMargins();
        main_->setWindowFlag(Qt::FramelessWindowHint, false);
        main_->setGeometry(outer.marginsRemoved(frame));
        showFramedWindow();
        state.fullScreen = true;
    } else {
        restoreWindowed();
        state.fullScreen = false;
    }
}

void MainWindow::toggleAlwaysOnTop() {
    sidePanelCheck();
    alwaysOnTop_ = !alwaysOnTop_;
    main_->setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
    main_->show();
}

} // namespace qinglan::app
