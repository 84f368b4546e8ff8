#include "app/MainWindow.h"

#include "app/CommandLine.h"
#include "app/OpenSettings.h"
#include "app/ProcessState.h"
#include "app/ScreenAreas.h"
#include "app/Startup.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <artwork/Artwork.h>
#include <desktop/SkinEngine.h>
#include <playback/PlaybackRules.h>
#include <settings/SettingsActions.h>
#include <settings/SettingsFields.h>
#include <settingswindow/ApplyAllSettings.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTimer>

namespace qinglan::app {
namespace {

namespace field = settings::field;

settings::Rect toRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// The side panel's buttons: each a picture with a caption under it.
struct PanelButtonControls {
    PanelButton button;
    ui::ControlId picture;
    ui::ControlId caption;
    artwork::PanelIcon icon; // the play button's follows the play state
};
constexpr PanelButtonControls kPanelButtons[] = {
    {PanelButton::Play, ui::ids::PlayPicture, ui::ids::PlayCaption, artwork::PanelIcon::Play},
    {PanelButton::Stop, ui::ids::StopPicture, ui::ids::StopCaption, artwork::PanelIcon::Stop},
    {PanelButton::Previous, ui::ids::PreviousPicture, ui::ids::PreviousCaption,
     artwork::PanelIcon::Previous},
    {PanelButton::Next, ui::ids::NextPicture, ui::ids::NextCaption, artwork::PanelIcon::Next},
};

const PanelButtonControls& controlsOf(PanelButton button) {
    for (const auto& b : kPanelButtons)
        if (b.button == button) return b;
    return kPanelButtons[0];
}

const QString kGreyCaption = QStringLiteral("color: rgb(128, 128, 128);");

// The side panel picture's image: the play button follows the play state.
artwork::PanelIcon panelIconOf(PanelButton button, bool playShowsPause) {
    if (button == PanelButton::Play && playShowsPause) return artwork::PanelIcon::Pause;
    return controlsOf(button).icon;
}

// Opacity as the layered windows know it: 0..255.
void setOpacity(QWidget* w, int opacity) {
    if (w) w->setWindowOpacity(std::clamp(opacity, 0, 255) / 255.0);
}

} // namespace

MainWindow::MainWindow(std::unique_ptr<aplayer::Engine> engine) : engine_(std::move(engine)) {
    playback::PlaybackController::Hooks hooks;
    hooks.setting = [](int field) {
        auto& state = processState();
        return settings::currentValue(state.record, state.store.get(), field).toText();
    };
    hooks.applyAllSettings = [this] {
        const auto& controller = *playback_;
        settingswindow::OpenMedia media{.subtitleFile = controller.subtitleFile(),
                                        .mediaStem = controller.mediaStem(),
                                        .audio = playback::isAudioMedia(controller.openedMedia())};
        for (const auto& v : settingswindow::applyAllSettings(processState().record, media))
            engine_->APlayer_SetConfigA(v.id, v.value);
    };
    hooks.advanceAtEnd = [this] { stepVideoList(*this, ListStep::AtEnd); };
    hooks.playPrevious = [this] { stepVideoList(*this, ListStep::Previous); };
    hooks.playNext = [this] { stepVideoList(*this, ListStep::Next); };
    playback_ = std::make_unique<playback::PlaybackController>(*engine_, *this, hooks, this);

    handlers_.add("runCreationSequence", [this](ui::UiEvent& e) {
        main_ = e.window;
        runCreationSequence();
    });
    wireCompanions(*this, handlers_);
    wirePlayback(*this, handlers_);
    wireDialogs(*this, handlers_);
    wireSettings(*this, handlers_);
    wireHotkeys(*this, handlers_);
    wireMpris(*this, handlers_);
    wireMediaList(*this, handlers_);
    wireDesktop(*this, handlers_);
    wireTranscode(*this, handlers_);
    wirePicture(*this, handlers_);
}

MainWindow::~MainWindow() {
    shutdown(); // nothing when it already ran
    // The engine's video window is a child of the main window: the engine goes first.
    engine_.reset();
    delete main_;
    playback_.reset();
}

ui::CatalogueWindow* MainWindow::companion(const QString& role) const {
    for (auto* w : {sidePanel_.data(), bar_.data(), maximizeButton_.data(), minimizeButton_.data(),
                    videoList_.data()})
        if (w && w->role() == role) return w;
    return owned_.find(role);
}

QMenu* MainWindow::menu(const char* name) const {
    return main_ ? main_->menu(QString::fromUtf8(name)) : nullptr;
}

void MainWindow::create() {
    auto created = ui::createWindow(ui::ids::MainWindow.name, handlers_);
    main_ = created.window;
}

void MainWindow::runCreationSequence() {
    if (created_) return;
    created_ = true;
    auto& state = processState();
    main_->setWindowTitle(QString::fromUtf8(kWindowTitle));
    main_->setAttribute(Qt::WA_DeleteOnClose, false); // shutdown decides when the window goes
    owned_.setOwner(main_);

    // The settings first: everything after reads them.
    const auto notices = openSettings(toRect(workAreaGeometry()));
    createCompanions();
    state.fullScreen = false;
    desktop::attachSkin(state.skinLibrary);
    createEngine();
    const QImage logoImage = artwork::logoImage();
    engine_->APlayer_SetCustomLogo(logoImage);
    if (auto* logo = ui::find<QLabel>(main_, ui::ids::IdleLogo)) {
        logo->setPixmap(QPixmap::fromImage(logoImage));
        logo->setScaledContents(true);
        logo->raise();
    }
    restoreSavedGeometry();
    applyAutostartSetting();
    applyFileAssociationSettings();
    // Drops on the window and on the logo reach DropFile through the catalogue's drop target.
    putTrayIcon();
    // Items that need an open media start disabled. The main window is mapped first (still
    // transparent) so that window managers stack its companions above it.
    applyOpacity(0);
    main_->show();
    watchFrame();
    if (bar_) bar_->show();
    setSkipMenuEnabled(false);
    setScreenshotMenuEnabled(false);
    // Fade in from fully transparent.
    fade_.start(FadeMode::In, 0);
    layOut();
    ui::setClockPeriod(&ui::control<QTimer>(main_, ui::ids::FadeClock), Fade::kInTickMs);

    showNotices(notices);
    if (!state.currentMedia.empty()) playback_->openAndPlay(state.currentMedia);
}

// Files that had to be set aside are reported once, over the window.
void MainWindow::showNotices(const std::vector<std::string>& notices) {
    for (const auto& notice : notices) {
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(kWindowTitle),
                                    QString::fromStdString(notice), QMessageBox::Ok, main_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName("settingsNotice");
        box->setModal(false);
        QTimer::singleShot(0, box, &QMessageBox::show);
    }
}

void MainWindow::createCompanions() {
    auto& record = processState().record;
    videoList_ = ui::buildWindow(ui::ids::VideoListWindow.name, main_);
    if (videoList_) {
        ui::connectHandlers(videoList_, handlers_);
        const auto stored = [&record](int number) {
            return settings::currentValue(record, processState().store.get(), number).toInt();
        };
        const int w = stored(field::ListWidth), h = stored(field::ListHeight);
        if (w > 0 && h > 0)
            videoList_->setGeometry(stored(field::ListLeft), stored(field::ListTop), w, h);
        setOpacity(videoList_, stored(field::ListOpacity));
        videoList_->announceCreated();
    }
    sidePanel_ = ui::buildWindow(ui::ids::SidePanel.name, main_);
    ui::connectHandlers(sidePanel_, handlers_);
    setOpacity(sidePanel_, 70);
    setPlayButtonShowsPause(false);
    for (auto button : {PanelButton::Stop, PanelButton::Previous, PanelButton::Next})
        showPanelPicture(button, false);
    for (auto* hotSpot : {&maximizeButton_, &minimizeButton_}) {
        *hotSpot = ui::buildWindow(
            (hotSpot == &maximizeButton_ ? ui::ids::MaximizeButton : ui::ids::MinimizeButton).name,
            main_);
        ui::connectHandlers(*hotSpot, handlers_);
        setOpacity(*hotSpot, 1);
    }
    bar_ = ui::createWindow(ui::ids::FloatingControlBar.name, handlers_, main_).window;
    // A window manager's close (Alt+F4 on a focused companion) must not destroy a window the
    // player keeps using; the companions live as long as the main window.
    for (auto* companion :
         {sidePanel_.data(), bar_.data(), maximizeButton_.data(), minimizeButton_.data()}) {
        if (!companion) continue;
        companion->setAttribute(Qt::WA_DeleteOnClose, false);
        companion->setWindowHandler(ui::EventKind::CloseRequested,
                                    [](ui::UiEvent& e) { e.refuse = true; });
    }
}

void MainWindow::createEngine() {
    engine_->APlayer_Create(
        main_, 0, 0, main_->width(), main_->height() - 32,
        [this](uint32_t m, uintptr_t w, intptr_t l) { playback_->onEngineMessage(m, w, l); },
        [this](int percent) { playback_->onBuffering(percent); },
        [this](const std::string& name) { playback_->onCodecMissing(name); });
}

void MainWindow::putTrayIcon() {
    if (!tray_) {
        tray_ = new QSystemTrayIcon(artwork::trayIcon(), this);
        tray_->setToolTip(QString::fromUtf8(kWindowTitle));
        connect(tray_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason r) {
                    if (!main_) return;
                    if (r == QSystemTrayIcon::Context) main_->notifyTray(3);
                    if (r == QSystemTrayIcon::Trigger) main_->notifyTray(1);
                });
    }
    tray_->show();
}

void MainWindow::restoreSavedGeometry() {
    const auto& record = processState().record;
    const QRect saved(record.integer(field::MainLeft), record.integer(field::MainTop),
                      record.integer(field::MainWidth), record.integer(field::MainHeight));
    const QRect area = workAreaGeometry();
    // Stored geometry is the client area, the same rectangle saveGeometry() reads back. A
    // rectangle that would leave the window out of sight (screen changed, file edited) gives
    // way to the first-run size, centred.
    if (saved.width() <= 0 || saved.height() <= 0 || !area.intersects(saved)) {
        main_->setGeometry(QRect(area.center() - QPoint(725 / 2, 550 / 2), QSize(725, 550)));
        return;
    }
    main_->setGeometry(saved);
}

void MainWindow::openHandedOver(const std::string& path) {
    processState().currentMedia = path;
    if (!created_) return; // the creation sequence opens it
    bringBack();
    playback_->openAndPlay(path);
}

void MainWindow::saveGeometry() {
    auto& state = processState();
    if (!state.store || !main_) return;
    const QRect list = videoList_ ? videoList_->geometry() : QRect();
    // Maximized, the fields keep the normal geometry: the next start comes back at that size.
    const auto& r = state.record;
    const settings::Rect normal =
        maximized_ ? settings::Rect{r.integer(field::MainLeft), r.integer(field::MainTop),
                                    r.integer(field::MainWidth), r.integer(field::MainHeight)}
                   : toRect(main_->geometry());
    settings::saveWindowGeometry(*state.store, state.record, state.geometryFrozen,
                                 state.fileConfigChanged, normal, toRect(list));
}

void MainWindow::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    auto& state = processState();
    if (state.store) {
        state.store->write(field::ListRow, videoListSelectedRow(*this));
        saveGeometry();
    }
    desktop::detachSkin(state.skinLibrary);
    playback_->stopProgress();
    if (tray_) tray_->hide();
    hideCompanions();
    if (main_) main_->hide();
    QApplication::exit(0);
}

// ---- PlaybackView -------------------------------------------------------------------------

void MainWindow::setLogoVisible(bool visible) {
    if (auto* logo = ui::find<QLabel>(main_, ui::ids::IdleLogo)) {
        logo->setVisible(visible);
        if (visible) logo->raise();
    }
}

void MainWindow::setSkipMenuEnabled(bool enabled) {
    if (auto* item = ui::findMenuItem(menu("右键菜单"), {"播放", "跳出片头片尾"}))
        item->setEnabled(enabled);
}

void MainWindow::setScreenshotMenuEnabled(bool enabled) {
    if (auto* item = ui::findMenuItem(menu("右键菜单"), {"截图"})) item->setEnabled(enabled);
}

void MainWindow::setPlayButtonShowsPause(bool showsPause) {
    playButtonShowsPause_ = showsPause;
    showPanelPicture(PanelButton::Play, false);
}

void MainWindow::showPanelPicture(PanelButton button, bool pressed) {
    if (auto* p = ui::find<QLabel>(sidePanel_, controlsOf(button).picture)) {
        p->setPixmap(artwork::panelIcon(panelIconOf(button, playButtonShowsPause_), pressed));
        p->setProperty("pressed", pressed);
    }
}

void MainWindow::pressPanelButton(PanelButton button) {
    showPanelPicture(button, true);
    if (auto* l = ui::find<QLabel>(sidePanel_, controlsOf(button).caption))
        l->setStyleSheet(kGreyCaption);
}

void MainWindow::releasePanelButtons() {
    for (const auto& b : kPanelButtons) {
        auto* p = ui::find<QLabel>(sidePanel_, b.picture);
        if (!p || !p->property("pressed").toBool()) continue;
        showPanelPicture(b.button, false);
        if (auto* l = ui::find<QLabel>(sidePanel_, b.caption)) l->setStyleSheet({});
    }
}

std::string MainWindow::playLabelCaption() const {
    auto* label = ui::find<QLabel>(sidePanel_, ui::ids::PlayCaption);
    return label ? label->text().toStdString() : std::string();
}

void MainWindow::setPlayLabelCaption(const std::string& caption) {
    if (auto* label = ui::find<QLabel>(sidePanel_, ui::ids::PlayCaption))
        label->setText(QString::fromStdString(caption));
}

void MainWindow::showProgress(int maximumSeconds, int positionSeconds, const std::string& text) {
    if (auto* barControl = ui::find<QScrollBar>(bar_, ui::ids::BarProgress)) {
        barControl->setMaximum(std::max(0, maximumSeconds));
        if (!barControl->isSliderDown()) barControl->setValue(positionSeconds);
    }
    if (auto* label = ui::find<QLabel>(bar_, ui::ids::BarTimeLabel))
        label->setText(QString::fromStdString(text));
}

void MainWindow::popupContextMenu() {
    processState().sidePanelEnabled = false;
    if (auto* m = menu("右键菜单")) m->popup(QCursor::pos());
}

void MainWindow::showCodecMissing(const std::string& name) {
    auto* box =
        new QMessageBox(QMessageBox::Critical, QString::fromUtf8("缺少文件"),
                        QString::fromUtf8("解码库缺少文件：") + QString::fromStdString(name),
                        QMessageBox::Ok, main_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace qinglan::app
