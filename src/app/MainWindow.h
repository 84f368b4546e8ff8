#pragma once
#include "app/MainLayout.h"

#include <playback/PlaybackController.h>
#include <playback/PlaybackView.h>
#include <ui/CatalogueWindow.h>
#include <ui/UiEvent.h>

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <memory>
#include <string>

class QMenu;
class QSystemTrayIcon;

namespace qinglan::aplayer {
class Engine;
}

namespace qinglan::app {

// The player: the main window ("OrvelWindow", "青岚播放器") with the engine's video inside,
// the companion windows glued to its edges, its menus, tray icon, timers and fades. All of
// it runs on the window thread.
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

    ui::CatalogueWindow* window() const { return main_; }
    ui::CatalogueWindow* companion(const QString& role) const;
    playback::PlaybackController& playback() { return *playback_; }
    aplayer::Engine& engine() { return *engine_; }
    const ui::HandlerTable& handlers() const { return handlers_; }

    // Operations other parts of the player call.
    void layOut();
    void sidePanelCheck();
    void toggleFullScreen() override;
    void leaveFullScreen(); // the exit-full-screen hotkey
    void showMainWindow();
    void openSettingsWindow(bool subtitlePage);

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
    void registerHandlers();
    void registerWindowHandlers();
    void registerPanelHandlers();
    void registerMenuHandlers();
    void registerDialogHandlers();

    void runCreationSequence();
    void createCompanions();
    void createEngine();
    void putTrayIcon();
    void restoreSavedGeometry();
    void decideClose(ui::UiEvent& event);
    void hideCompanions();
    void showButtonWindows(bool visible);
    void tickPointerWatch();
    void tickPointerIdle();
    void tickFade();
    void applyOpacity(int opacity);
    void maximize();
    void restoreWindowed();
    void showFramedWindow();
    void saveGeometry();
    void openDialog(const char* role);
    void showRestartPrompt();
    void pressPanelButton(QStringView picture, QStringView label);
    void showPanelPicture(QStringView picture, bool pressed);

    QRect outerRect() const;
    QMenu* menu(const char* name) const;

    std::unique_ptr<aplayer::Engine> engine_;
    std::unique_ptr<playback::PlaybackController> playback_;
    ui::HandlerTable handlers_;
    QPointer<ui::CatalogueWindow> main_;
    QPointer<ui::CatalogueWindow> sidePanel_;
    QPointer<ui::CatalogueWindow> bar_;
    QPointer<ui::CatalogueWindow> maximizeButton_;
    QPointer<ui::CatalogueWindow> minimizeButton_;
    QPointer<ui::CatalogueWindow> videoList_;
    QPointer<ui::CatalogueWindow> dialog_; // the one dialog opened from the menus at a time
    QSystemTrayIcon* tray_ = nullptr;
    Fade fade_;
    QPoint lastPointer_;
    bool alwaysOnTop_ = false;
    bool playButtonShowsPause_ = true;
    bool shutDown_ = false;
    bool created_ = false;
    int muted_ = 0; // remembered by the volume window between openings
};

} // namespace qinglan::app
