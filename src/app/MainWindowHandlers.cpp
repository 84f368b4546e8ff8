// Which operation each catalogue handler name runs, split by the window group it serves.
#include "app/MainWindow.h"

#include "app/ProcessState.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>
#include <artwork/Artwork.h>
#include <playback/PlaybackRules.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace qinglan::app {
namespace {

using ui::UiEvent;

const QString kGreyCaption = QStringLiteral("color: rgb(128, 128, 128);");

// The side panel's pictures and the caption under each.
struct PanelButton {
    const char16_t* picture;
    const char16_t* label;
};
constexpr PanelButton kPanelButtons[] = {
    {u"图片框2", u"标签2"}, {u"图片框3", u"标签3"}, {u"图片框4", u"标签4"}, {u"图片框5", u"标签5"}};

// Aspect options of the volume window and the engine value each sends.
struct AspectOption {
    const char16_t* radio;
    const char* value;
};
constexpr AspectOption kAspects[] = {{u"单选框1", "0;0"},  {u"单选框2", "4;3"},
                                     {u"单选框3", "9;16"}, {u"单选框4", "2.35;1"},
                                     {u"单选框5", "5;4"},  {u"单选框6", "16;10"}};

} // namespace

void MainWindow::registerHandlers() {
    registerWindowHandlers();
    registerPanelHandlers();
    registerMenuHandlers();
    registerDialogHandlers();
}

void MainWindow::registerWindowHandlers() {
    auto& h = handlers_;
    h.add("runCreationSequence", [this](UiEvent& e) {
        main_ = e.window;
        runCreationSequence();
    });
    h.add("decideClose", [this](UiEvent& e) { decideClose(e); });
    h.add("runShutdownSequence", [this](UiEvent&) { shutdown(); });
    h.add("layOut", [this](UiEvent&) { layOut(); });
    h.add("handleTrayEvent", [this](UiEvent& e) {
        if (e.first == 3) {
            sidePanelCheck();
            if (auto* m = menu("托盘菜单")) m->popup(QCursor::pos());
        } else if (e.first == 1) {
            showMainWindow();
        }
    });
    h.add("DropFile", [this](UiEvent& e) {
        if (e.files.isEmpty()) return;
        const std::string path = e.files.front().toStdString();
        processState().currentMedia = path;
        playback_->dropFile(path);
    });
    h.add("popUpRightClickMenu", [this](UiEvent&) { popupContextMenu(); });
    h.add("tickPointerWatch", [this](UiEvent&) { tickPointerWatch(); });
    h.add("tickPointerIdle", [this](UiEvent&) { tickPointerIdle(); });
    h.add("tickFade", [this](UiEvent&) { tickFade(); });
    h.add("showBalloonTip", [](UiEvent& e) {
        if (auto* tip = ui::find<ui::BalloonTip>(e.window, u"气球提示框1"))
            tip->showAt(QCursor::pos(), e.window);
    });
    h.add("maximizeMainWindow", [this](UiEvent&) { maximize(); });
    h.add("minimizeMainWindow", [this](UiEvent&) {
        if (main_) main_->showMinimized();
    });
    // The list fills its window; the rest of the video list comes with its own work.
    h.add("fitListToWindow", [](UiEvent& e) {
        if (auto* list = ui::findObject(e.window, u"超级列表框1"); list && list->isWidgetType())
            static_cast<QWidget*>(list)->setGeometry(e.window->rect());
    });
    h.add("hideVideoList", [](UiEvent& e) {
        e.refuse = true; // the list is hidden, never destroyed, while the player runs
        e.window->hide();
    });
}

void MainWindow::pressPanelButton(QStringView picture, QStringView label) {
    showPanelPicture(picture, true);
    if (auto* l = ui::find<QLabel>(sidePanel_, label)) l->setStyleSheet(kGreyCaption);
}

void MainWindow::registerPanelHandlers() {
    auto& h = handlers_;
    h.add("togglePlayPause", [this](UiEvent&) {
        playback_->togglePlayPauseFromPanel();
        pressPanelButton(u"图片框2", u"标签2");
    });
    h.add("stopPlayback", [this](UiEvent&) {
        pressPanelButton(u"图片框3", u"标签3");
        playback_->stop();
    });
    h.add("pressPrevious", [this](UiEvent&) {
        pressPanelButton(u"图片框4", u"标签4");
        playback_->previous();
    });
    h.add("pressNext", [this](UiEvent&) {
        pressPanelButton(u"图片框5", u"标签5");
        playback_->next();
    });
    // Moving over the panel gives pressed buttons their normal form back.
    h.add("updatePlayCaption", [this](UiEvent&) {
        for (const auto& b : kPanelButtons) {
            auto* p = ui::find<QLabel>(sidePanel_, b.picture);
            if (!p || !p->property("pressed").toBool()) continue;
            showPanelPicture(b.picture, false);
            if (auto* l = ui::find<QLabel>(sidePanel_, b.label)) l->setStyleSheet({});
        }
    });

    // Floating control bar: a time label and a progress bar that seeks when the user moves it.
    h.add("setUpControlBar", [](UiEvent& e) {
        if (auto* bar = ui::find<QScrollBar>(e.window, u"横向滚动条1")) {
            bar->setRange(0, 0);
            bar->setPageStep(1); // a thin handle: the bar counts seconds
        }
        if (auto* label = ui::find<QLabel>(e.window, u"标签1"))
            label->setText(
                QString::fromStdString(playback::formatClock(0) + "/" + playback::formatClock(0)));
    });
    h.add("fitControlBar", [](UiEvent& e) {
        auto* label = ui::find<QLabel>(e.window, u"标签1");
        auto* bar = ui::find<QScrollBar>(e.window, u"横向滚动条1");
        if (!label || !bar) return;
        const int w = e.window->width(), hgt = e.window->height();
        label->setGeometry(8, 0, 124, hgt);
        bar->setGeometry(140, (hgt - 12) / 2, std::max(20, w - 150), 12);
    });
    h.add("enableProgressBar", [](UiEvent& e) {
        if (auto* bar = ui::find<QScrollBar>(e.window, u"横向滚动条1")) bar->setEnabled(true);
    });
    h.add("showProgressBar", [](UiEvent& e) {
        if (auto* bar = ui::find<QScrollBar>(e.window, u"横向滚动条1")) bar->setEnabled(true);
        if (auto* label = ui::find<QLabel>(e.window, u"标签1")) label->hide();
    });
    h.add("showTimeLabel", [](UiEvent& e) {
        if (auto* bar = ui::find<QScrollBar>(e.window, u"横向滚动条1")) bar->setEnabled(false);
        if (auto* label = ui::find<QLabel>(e.window, u"标签1")) label->show();
    });
    h.add("seekByBar", [this](UiEvent& e) { playback_->seekToBarPosition(e.first); });
}

void MainWindow::registerMenuHandlers() {
    auto& h = handlers_;
    h.add("LaunchAddFilesProgram", [this](UiEvent&) {
        sidePanelCheck();
        // Until the add-files helper is installed beside the player, pick files directly.
        auto* dialog = new QFileDialog(main_, QString::fromUtf8("本地视频"));
        dialog->setFileMode(QFileDialog::ExistingFiles);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QFileDialog::filesSelected, this, [this](const QStringList& files) {
            if (files.isEmpty()) return;
            processState().currentMedia = files.front().toStdString();
            playback_->openAndPlay(processState().currentMedia);
        });
        dialog->open();
    });
    h.add("openNetworkOpenDialog", [this](UiEvent&) { openDialog("NetworkOpenDialog"); });
    h.add("toggleFullScreen", [this](UiEvent&) { toggleFullScreen(); });
    h.add("openSkipIntroWindow", [this](UiEvent&) {
        sidePanelCheck();
        openDialog("SkipIntroWindow");
    });
    h.add("toggleAlwaysOnTop", [this](UiEvent&) {
        sidePanelCheck();
        alwaysOnTop_ = !alwaysOnTop_;
        main_->setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
        main_->show();
    });
    h.add("openVolumeWindow", [this](UiEvent&) {
        sidePanelCheck();
        openDialog("VolumeWindow");
    });
    h.add("openSubtitleSettings", [this](UiEvent&) { openSettingsWindow(true); });
    h.add("showVideoList", [this](UiEvent&) {
        sidePanelCheck();
        if (videoList_) {
            videoList_->show();
            videoList_->raise();
        }
    });
    h.add("openSettingsWindow", [this](UiEvent& e) {
        if (e.menuPath.value(0) == u"系统设置") sidePanelCheck(); // the tray's entry
        openSettingsWindow(false);
    });
    h.add("showMainWindow", [this](UiEvent&) { showMainWindow(); });
    h.add("exitPlayer", [this](UiEvent&) { shutdown(); });
}

void MainWindow::registerDialogHandlers() {
    auto& h = handlers_;
    // Network open.
    // Centring on the main window is done by openDialog; the dialog needs nothing more.
    h.add("setUpNetworkOpenDialog", [](UiEvent&) {});
    h.add("confirmNetworkOpen", [this](UiEvent& e) {
        auto& state = processState();
        const std::string address =
            ui::control<QLineEdit>(e.window, u"编辑框1").text().toStdString();
        if (!playback::isAcceptedNetworkAddress(address)) return; // stays open for correction
        if (videoList_) videoList_->hide();
        setLogoVisible(false);
        state.shareMode = ui::control<QRadioButton>(e.window, u"单选框2").isChecked();
        if (bar_) bar_->setVisible(!state.shareMode);
        layOut();
        main_->setWindowFlag(Qt::FramelessWindowHint, false);
        main_->show();
        showButtonWindows(true);
        playback_->openNetworkStream(address);
        sidePanelCheck();
        e.window->close();
    });
    h.add("cancelNetworkOpen", [this](UiEvent& e) {
        sidePanelCheck();
        e.window->close();
    });

    // Volume and aspect.
    const auto resetTitle = [](UiEvent& e) {
        e.window->setWindowTitle(QString::fromUtf8("音量设置"));
    };
    h.add("setUpVolumeWindow", [this](UiEvent& e) {
        ui::control<QRadioButton>(e.window, u"单选框1").setChecked(true);
        ui::control<QRadioButton>(e.window, muted_ ? u"单选框8" : u"单选框7").setChecked(true);
        auto& slider = ui::control<QSlider>(e.window, u"滑块条1");
        slider.setRange(1, 1000);
        slider.setPageStep(5);
        slider.setSingleStep(1);
        slider.setValue(100);
    });
    h.add("resetVolumeTitle", resetTitle);
    h.add("setVolumeFromSlider", [this](UiEvent& e) {
        e.window->setWindowTitle(QString::fromUtf8("音量设置 - %1%").arg(e.first));
        engine_->APlayer_SetVolume(e.first);
    });
    h.add("mute", [this, resetTitle](UiEvent& e) {
        ui::control<QRadioButton>(e.window, u"单选框7").setChecked(false);
        resetTitle(e);
        engine_->APlayer_SetConfigA(aplayer::cfg::Mute, "1");
        muted_ = 1;
    });
    h.add("unmute", [this, resetTitle](UiEvent& e) {
        ui::control<QRadioButton>(e.window, u"单选框8").setChecked(false);
        resetTitle(e);
        engine_->APlayer_SetConfigA(aplayer::cfg::Mute, "0");
        muted_ = 0;
    });
    h.add("chooseAspectRatio", [this, resetTitle](UiEvent& e) {
        resetTitle(e);
        for (const auto& a : kAspects)
            if (e.control == QStringView(a.radio))
                engine_->APlayer_SetConfigA(aplayer::cfg::Aspect, a.value);
    });

    // Skip intro and outro: stored at once; the settings copy is reloaded when it closes.
    h.add("setUpSkipIntroWindow", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store) return;
        const auto text = [&](int field) {
            auto v = state.store->read(field);
            return v.ok() ? QString::fromStdString(v.value().toText()) : QString();
        };
        e.window->setProperty("filling", true); // filling the boxes is not typing
        ui::control<QRadioButton>(e.window, u"单选框1").setChecked(text(173) == u"1");
        ui::control<QRadioButton>(e.window, u"单选框2").setChecked(text(204) == u"1");
        ui::control<QLineEdit>(e.window, u"编辑框1").setText(text(205));
        ui::control<QLineEdit>(e.window, u"编辑框2").setText(text(206));
        e.window->setProperty("filling", false);
    });
    h.add("storeSkipSwitch", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || e.window->property("filling").toBool()) return;
        const bool on = ui::control<QRadioButton>(e.window, u"单选框1").isChecked();
        const bool off = ui::control<QRadioButton>(e.window, u"单选框2").isChecked();
        state.store->writeFields({{173, on ? "1" : "0"}, {204, off ? "1" : "0"}});
    });
    h.add("storeIntro", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || e.window->property("filling").toBool()) return;
        state.store->write(205, e.text.toStdString());
    });
    h.add("storeOutro", [this](UiEvent& e) {
        auto& state = processState();
        if (!state.store || e.window->property("filling").toBool()) return;
        const std::string outro = e.text.toStdString();
        // Field 207 keeps the outro's start in the media open now, as stored files expect;
        // playback itself measures the outro back from each media's own end.
        const long long end =
            engine_->APlayer_GetDuration() - playback::leadingNumber(outro) * 1000;
        state.store->writeFields({{206, outro}, {207, std::to_string(end)}});
    });
    h.add("reloadSettingsRecord", [](UiEvent&) {
        auto& state = processState();
        if (state.store) state.record.load(*state.store);
    });

    // The shared confirmation prompt.
    h.add("confirmPrompt", [this](UiEvent& e) {
        if (e.window->property("promptMode").toInt() == 2) {
            e.window->close();
            shutdown(); // the close routine; the player does not start itself again
        }
    });
    h.add("cancelPrompt", [](UiEvent& e) { e.window->close(); });
}

} // namespace qinglan::app
