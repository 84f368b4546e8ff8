#pragma once
#include "app/MainLayout.h"
#include "app/OwnedWindows.h"

#include <playback/PlaybackController.h>
#include <playback/PlaybackView.h>
#include <ui/CatalogueWindow.h>
#include <ui/UiEvent.h>

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <string>

class QMenu;
class QTimer;
class QSystemTrayIcon;

namespace qinglan::aplayer {
class Engine;
}

namespace qinglan::app {

// The side panel's four buttons.
enum class PanelButton { Play, Stop, Previous, Next };

// The player: the main window ("OrvelWindow", "青岚播放器") with the engine's video inside,
// the companion windows glued to its edges, its menus, tray icon, timers and fades. All of
// it runs on the window thread. What each window's events do is wired per subsystem
// (Wiring.h); this class holds the windows and the operations those handlers share.
class MainWindow : public QObject, public playback::PlaybackView {
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<aplayer::Engine> engine);
    ~MainWindow() override;

    // Builds the window and runs its creation sequence (which opens the current media).
    void create();
    // A path handed over by a second start of the player: it becomes the current media.
    void openHandedOver(const std::string& path);
    // The shutdown sequence: saves what must survive, releases what the window holds and
    // ends the event loop with code 0. Runs once.
    void shutdown();
    bool isShutDown() const { return shutDown_; }
    // Whether the desktop has a tray host to rest in; replaceable for tests.
    void setTrayAvailability(std::function<bool()> available) {
        trayAvailable_ = std::move(available);
    }

    ui::CatalogueWindow* window() const { return main_; }
    ui::CatalogueWindow* sidePanel() const { return sidePanel_; }
    ui::CatalogueWindow* controlBar() const { return bar_; }
    ui::CatalogueWindow* videoList() const { return videoList_; }
    // A companion or an owned window that is open, by role.
    ui::CatalogueWindow* companion(const QString& role) const;
    OwnedWindows& ownedWindows() { return owned_; }
    QMenu* menu(const char* name) const;
    playback::PlaybackController& playback() { return *playback_; }
    aplayer::Engine& engine() { return *engine_; }
    // nullptr once the engine has gone, in the teardown before the owned windows go.
    aplayer::Engine* engineIfPresent() const { return engine_.get(); }
    const ui::HandlerTable& handlers() const { return handlers_; }

    // Frame operations (MainWindowFrame.cpp).
    void layOut();
    void sidePanelCheck();
    void toggleFullScreen() override;
    void leaveFullScreen(); // the exit-full-screen hotkey
    void maximize();
    void showMainWindow();
    void decideClose(ui::UiEvent& event);
    void hideCompanions();
    void showButtonWindows(bool visible);
    void tickPointerWatch();
    void tickPointerIdle();
    void tickFade();
    void saveGeometry();
    void toggleAlwaysOnTop();
    // Sets or clears one of the main window's flags on its existing native window.
    void setMainWindowFlag(Qt::WindowType flag, bool on);
    bool maximized() const { return maximized_; }

    // The side panel's pictures: the play button follows the play state; a pressed button
    // shows its pressed form and a grey caption until the pointer moves over the panel.
    void showPanelPicture(PanelButton button, bool pressed);
    void pressPanelButton(PanelButton button);
    void releasePanelButtons();

    // PlaybackView.
    void setLogoVisible(bool visible) override;
    void setSkipMenuEnabled(bool enabled) override;
    void setScreenshotMenuEnabled(bool enabled) override;
    void setPlayButtonShowsPause(bool showsPause) override;
    std::string playLabelCaption() const override;
    void setPlayLabelCaption(const std::string& caption) override;
    void showProgress(int maximumSeconds, int positionSeconds, const std::string& text) override;
    void popupContextMenu() override;
    void showCodecMissing(const std::string& name) override;

private:
    void runCreationSequence();
    void createCompanions();
    void createEngine();
    void putTrayIcon();
    void restoreSavedGeometry();
    void showNotices(const std::vector<std::string>& notices);
    void applyOpacity(int opacity);
    void restoreWindowed();
    void fillWorkArea();
    void returnFromFullScreen();
    void showFramedWindow();
    void layOutIfFrameChanged();
    void watchFrame();
    void bringBack();
    bool hiddenToTray() const;

    QRect outerRect() const;
    QMargins frameMargins() const;

    std::unique_ptr<aplayer::Engine> engine_;
    std::unique_ptr<playback::PlaybackController> playback_;
    ui::HandlerTable handlers_;
    OwnedWindows owned_{handlers_};
    QPointer<ui::CatalogueWindow> main_;
    QPointer<ui::CatalogueWindow> sidePanel_;
    QPointer<ui::CatalogueWindow> bar_;
    QPointer<ui::CatalogueWindow> maximizeButton_;
    QPointer<ui::CatalogueWindow> minimizeButton_;
    QPointer<ui::CatalogueWindow> videoList_;
    QSystemTrayIcon* tray_ = nullptr;
    std::function<bool()> trayAvailable_;
    Fade fade_;
    QPoint lastPointer_;
    QRect laidOutFor_; // the outer rectangle the last layout was made for
    QTimer* frameWatch_ = nullptr;
    int frameWatchTicks_ = 0;
    bool maximized_ = false; // by the maximize hot spot; full screen is apart from it
    bool alwaysOnTop_ = false;
    bool playButtonShowsPause_ = true;
    bool shutDown_ = false;
    bool created_ = false;
};

} // namespace qinglan::app
