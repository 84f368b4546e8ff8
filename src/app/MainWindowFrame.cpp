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
#include <QWindow>

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
    if (QWidget* video = engine_->APlayer_GetWindow()) {
        // The window system's answer to the full-screen move comes after the toggle placed
        // the video: in full screen the video keeps covering the screen.
        const Box v = state.fullScreen
                          ? videoBoxFor(main_->width(), main_->height(), state.shareMode, true)
                          : l.video;
        video->setGeometry(v.left, v.top, v.width, v.height);
    }
    if (sidePanel_) sidePanel_->move(l.panelLeft, l.panelTop);
    if (maximizeButton_)
        maximizeButton_->setGeometry(l.maximizeButton.left, l.maximizeButton.top,
                                     l.maximizeButton.width, l.maximizeButton.height);
    if (minimizeButton_)
        minimizeButton_->setGeometry(l.minimizeButton.left, l.minimizeButton.top,
                                     l.minimizeButton.width, l.minimizeButton.height);
    if (auto* logo = ui::find<QLabel>(main_, ui::ids::IdleLogo))
        logo->setGeometry(l.logo.left, l.logo.top, l.logo.width, l.logo.height);
    laidOutFor_ = r;
}

// A window manager frames the window after it is shown and tells no one: the window keeps its
// place on the screen, so no move or resize comes. Until the next layout the hot spots would
// sit over the video instead of the title bar, and the video would ignore the frame's height.
void MainWindow::layOutIfFrameChanged() {
    if (main_ && created_ && outerRect() != laidOutFor_) layOut();
}

// After the window is shown or its border changes the frame comes (or goes) within moments:
// the layout follows it closely for a while, and timer A's once a second after that.
void MainWindow::watchFrame() {
    if (!frameWatch_) {
        frameWatch_ = new QTimer(this);
        frameWatch_->setInterval(40);
        connect(frameWatch_, &QTimer::timeout, this, [this] {
            layOutIfFrameChanged();
            if (--frameWatchTicks_ <= 0) frameWatch_->stop();
        });
    }
    frameWatchTicks_ = 50;
    frameWatch_->start();
}

// Timer A: while the pointer is over the window, timer B watches it for idleness.
void MainWindow::tickPointerWatch() {
    if (!main_) return;
    if (hiddenToTray()) {
        // Nothing shows for a window the user put away; the watch resumes when it returns.
        ui::setClockPeriod(&ui::control<QTimer>(main_, ui::ids::PointerIdleClock), 0);
        return;
    }
    layOutIfFrameChanged();
    auto& timerB = ui::control<QTimer>(main_, ui::ids::PointerIdleClock);
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
        ui::setClockPeriod(&ui::control<QTimer>(main_, ui::ids::FadeClock), 0);
        return;
    }
    const FadeStep step = fade_.tick();
    applyOpacity(step.applyOpacity);
    if (!step.finished) return;
    ui::setClockPeriod(&ui::control<QTimer>(main_, ui::ids::FadeClock), 0);
    if (mode == FadeMode::In) {
        // The frame is known by now: the hot spots show where it put the title bar.
        layOutIfFrameChanged();
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
        ui::setClockPeriod(&ui::control<QTimer>(main_, ui::ids::FadeClock), Fade::kOutTickMs);
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

// A file opened from outside is for watching: the window comes back from the tray or from
// being minimised, in the frame state it had (maximized and full screen stay).
void MainWindow::bringBack() {
    if (!main_) return;
    const bool away = !main_->isVisible() || main_->isMinimized();
    if (main_->isMinimized()) main_->setWindowState(main_->windowState() & ~Qt::WindowMinimized);
    if (away) {
        main_->show();
        watchFrame();
        const auto& state = processState();
        sidePanelCheck();
        if (sidePanel_ && state.sidePanelEnabled) sidePanel_->show();
        showButtonWindows(!state.fullScreen);
        if (bar_) bar_->setVisible(!state.fullScreen && !state.shareMode);
    }
    main_->raise();
    main_->activateWindow();
}

// Qt gives a window new flags by destroying its native window and making another, and the
// native children go with it: among them the surface the engine draws the video into, whose X
// window id the engine was given once. The flags go to the existing native window instead.
void MainWindow::setMainWindowFlag(Qt::WindowType flag, bool on) {
    if (!main_) return;
    Qt::WindowFlags flags = main_->windowFlags();
    flags.setFlag(flag, on);
    if (flags == main_->windowFlags()) return;
    QWindow* handle = main_->windowHandle();
    if (!handle || !main_->testAttribute(Qt::WA_WState_Created)) {
        main_->setWindowFlags(flags); // no native window yet: nothing to lose
        return;
    }
    handle->setFlags(flags);
    main_->overrideWindowFlags(flags);
}

void MainWindow::toggleFullScreen() {
    auto& state = processState();
    saveGeometry(); // keeps the normal geometry while maximized
    sidePanelCheck();
    auto* networkItem = ui::findMenuItem(menu("右键菜单"), {"打开", "网络视频        "});
    if (!state.fullScreen) {
        const QRect s = screenGeometry();
        setMainWindowFlag(Qt::FramelessWindowHint, true);
        main_->setGeometry(s);
        main_->show();
        showButtonWindows(false);
        if (bar_) bar_->hide();
        if (QWidget* video = engine_->APlayer_GetWindow()) {
            const Box v = videoBoxFor(s.width(), s.height(), state.shareMode, true);
            video->setGeometry(v.left, v.top, v.width, v.height);
        }
        if (networkItem) networkItem->setEnabled(false);
        state.geometryFrozen = true;
        state.fullScreen = true;
    } else {
        returnFromFullScreen();
        if (networkItem) networkItem->setEnabled(true);
        state.geometryFrozen = false;
        state.fullScreen = false;
    }
}

// Full screen ends in the state it was entered from.
void MainWindow::returnFromFullScreen() {
    if (maximized_)
        fillWorkArea();
    else
        restoreWindowed();
}

void MainWindow::restoreWindowed() {
    const auto& record = processState().record;
    setMainWindowFlag(Qt::FramelessWindowHint, false);
    main_->setGeometry(record.integer(field::MainLeft), record.integer(field::MainTop),
                       std::max(1, record.integer(field::MainWidth)),
                       std::max(1, record.integer(field::MainHeight)));
    showFramedWindow();
}

// The framed window, border and title included, fills the work area: the client rectangle is
// the work area less the frame the window manager puts around it.
void MainWindow::fillWorkArea() {
    const QRect area = workAreaGeometry();
    const QRect outer = area.intersected(QRect(0, 0, screenGeometry().width(), area.bottom() + 1));
    const QMargins frame = frameMargins();
    setMainWindowFlag(Qt::FramelessWindowHint, false);
    main_->setGeometry(outer.marginsRemoved(frame));
    showFramedWindow();
}

// A bordered main window with its hot spots; the control bar and the video follow share mode.
void MainWindow::showFramedWindow() {
    main_->show();
    watchFrame();
    showButtonWindows(true);
    const bool share = processState().shareMode;
    if (bar_) bar_->setVisible(!share);
    if (QWidget* video = engine_->APlayer_GetWindow()) {
        const Box v = videoBoxFor(main_->width(), main_->height(), share, false);
        video->setGeometry(v.left, v.top, v.width, v.height);
    }
}

// The exit-full-screen hotkey. From full screen it returns to the state before; windowed it
// goes back to the last saved (normal) geometry, a maximized window too.
void MainWindow::leaveFullScreen() {
    auto& state = processState();
    if (state.fullScreen) {
        returnFromFullScreen();
    } else {
        restoreWindowed();
        maximized_ = false;
        return;
    }
    if (auto* item = ui::findMenuItem(menu("右键菜单"), {"打开", "网络视频        "}))
        item->setEnabled(true);
    state.geometryFrozen = false;
    state.fullScreen = false;
}

// The maximize hot spot: a state of its own, apart from full screen. The first click keeps
// the normal geometry and fills the work area; the second brings the normal geometry back.
void MainWindow::maximize() {
    if (processState().fullScreen) return; // its hot spot is hidden there
    saveGeometry();
    if (!maximized_) {
        fillWorkArea();
        maximized_ = true;
    } else {
        restoreWindowed();
        maximized_ = false;
    }
}

void MainWindow::toggleAlwaysOnTop() {
    sidePanelCheck();
    alwaysOnTop_ = !alwaysOnTop_;
    setMainWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
    main_->show();
}

} // namespace qinglan::app
