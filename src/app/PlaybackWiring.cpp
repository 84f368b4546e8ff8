// Playback's windows and menu items: the side panel, the floating control bar, drops, opening
// local files and network streams, and the volume and aspect window.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <playback/PlaybackRules.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace qinglan::app {
namespace {

using ui::UiEvent;

// Aspect options of the volume window and the engine value each sends.
struct AspectOption {
    ui::ControlId radio;
    const char* value;
};
constexpr AspectOption kAspects[] = {
    {ui::ids::AspectDefault, "0;0"}, {ui::ids::Aspect4To3, "4;3"},
    {ui::ids::Aspect9To16, "9;16"},  {ui::ids::Aspect235To1, "2.35;1"},
    {ui::ids::Aspect5To4, "5;4"},    {ui::ids::Aspect16To10, "16;10"}};

QScrollBar* progressBar(UiEvent& e) {
    return ui::find<QScrollBar>(e.window, ui::ids::BarProgress);
}
QLabel* timeLabel(UiEvent& e) {
    return ui::find<QLabel>(e.window, ui::ids::BarTimeLabel);
}

void wireSidePanel(MainWindow& w, ui::HandlerTable& h) {
    h.add("togglePlayPause", [&w](UiEvent&) {
        w.playback().togglePlayPauseFromPanel();
        w.pressPanelButton(PanelButton::Play);
    });
    h.add("stopPlayback", [&w](UiEvent&) {
        w.pressPanelButton(PanelButton::Stop);
        w.playback().stop();
    });
    h.add("pressPrevious", [&w](UiEvent&) {
        w.pressPanelButton(PanelButton::Previous);
        w.playback().previous();
    });
    h.add("pressNext", [&w](UiEvent&) {
        w.pressPanelButton(PanelButton::Next);
        w.playback().next();
    });
    h.add("updatePlayCaption", [&w](UiEvent&) { w.releasePanelButtons(); });
}

// A time label and a progress bar that seeks when the user moves it.
void wireControlBar(MainWindow& w, ui::HandlerTable& h) {
    h.add("setUpControlBar", [](UiEvent& e) {
        if (auto* bar = progressBar(e)) {
            bar->setRange(0, 0);
            bar->setPageStep(1); // a thin handle: the bar counts seconds
        }
        if (auto* label = timeLabel(e))
            label->setText(
                QString::fromStdString(playback::formatClock(0) + "/" + playback::formatClock(0)));
    });
    h.add("fitControlBar", [](UiEvent& e) {
        auto* label = timeLabel(e);
        auto* bar = progressBar(e);
        if (!label || !bar) return;
        const int width = e.window->width(), height = e.window->height();
        label->setGeometry(8, 0, 124, height);
        bar->setGeometry(140, (height - 12) / 2, std::max(20, width - 150), 12);
    });
    h.add("enableProgressBar", [](UiEvent& e) {
        if (auto* bar = progressBar(e)) bar->setEnabled(true);
    });
    h.add("showProgressBar", [](UiEvent& e) {
        if (auto* bar = progressBar(e)) bar->setEnabled(true);
        if (auto* label = timeLabel(e)) label->hide();
    });
    h.add("showTimeLabel", [](UiEvent& e) {
        if (auto* bar = progressBar(e)) bar->setEnabled(false);
        if (auto* label = timeLabel(e)) label->show();
    });
    h.add("seekByBar", [&w](UiEvent& e) { w.playback().seekToBarPosition(e.first); });
}

void wireOpening(MainWindow& w, ui::HandlerTable& h) {
    h.add("DropFile", [&w](UiEvent& e) {
        if (e.files.isEmpty()) return;
        const std::string path = e.files.front().toStdString();
        processState().currentMedia = path;
        w.playback().dropFile(path);
    });
    // The add-files helper chooses the files and appends them to the list; the list reloads
    // when it has ended.
    h.add("LaunchAddFilesProgram", [&w](UiEvent&) { launchAddFilesProgram(w); });

    // Network open; the dialog is centred on the main window when it opens.
    h.add("openNetworkOpenDialog",
          [&w](UiEvent&) { w.ownedWindows().open(ui::ids::NetworkOpenDialog); });
    h.add("setUpNetworkOpenDialog", [](UiEvent&) {});
    h.add("confirmNetworkOpen", [&w](UiEvent& e) {
        auto& state = processState();
        const std::string address =
            ui::control<QLineEdit>(e.window, ui::ids::NetworkAddress).text().toStdString();
        if (!playback::isAcceptedNetworkAddress(address)) return; // stays open for correction
        if (auto* list = w.videoList()) list->hide();
        w.setLogoVisible(false);
        state.shareMode =
            ui::control<QRadioButton>(e.window, ui::ids::NetworkShareMode).isChecked();
        if (auto* bar = w.controlBar()) bar->setVisible(!state.shareMode);
        w.layOut();
        w.setMainWindowFlag(Qt::FramelessWindowHint, false);
        w.window()->show();
        w.showButtonWindows(true);
        w.playback().openNetworkStream(address);
        w.sidePanelCheck();
        e.window->close();
    });
    h.add("cancelNetworkOpen", [&w](UiEvent& e) {
        w.sidePanelCheck();
        e.window->close();
    });
}

void wireVolumeWindow(MainWindow& w, ui::HandlerTable& h) {
    h.add("openVolumeWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open(ui::ids::VolumeWindow);
    });
    const auto resetTitle = [](UiEvent& e) {
        e.window->setWindowTitle(QString::fromUtf8("音量设置"));
    };
    h.add("setUpVolumeWindow", [&w](UiEvent& e) {
        ui::control<QRadioButton>(e.window, ui::ids::AspectDefault).setChecked(true);
        ui::control<QRadioButton>(e.window,
                                  w.playback().muted() ? ui::ids::VolumeMuted : ui::ids::VolumeOn)
            .setChecked(true);
        auto& slider = ui::control<QSlider>(e.window, ui::ids::VolumeSlider);
        slider.setRange(1, 1000);
        slider.setPageStep(5);
        slider.setSingleStep(1);
        slider.setValue(100);
    });
    h.add("resetVolumeTitle", resetTitle);
    h.add("setVolumeFromSlider", [&w](UiEvent& e) {
        e.window->setWindowTitle(QString::fromUtf8("音量设置 - %1%").arg(e.first));
        w.playback().setVolume(e.first);
    });
    h.add("mute", [&w, resetTitle](UiEvent& e) {
        ui::control<QRadioButton>(e.window, ui::ids::VolumeOn).setChecked(false);
        resetTitle(e);
        w.playback().setMuted(true);
    });
    h.add("unmute", [&w, resetTitle](UiEvent& e) {
        ui::control<QRadioButton>(e.window, ui::ids::VolumeMuted).setChecked(false);
        resetTitle(e);
        w.playback().setMuted(false);
    });
    h.add("chooseAspectRatio", [&w, resetTitle](UiEvent& e) {
        resetTitle(e);
        for (const auto& a : kAspects)
            if (e.control == ui::nameOf(a.radio)) w.playback().setAspectRatio(a.value);
    });
}

} // namespace

void wirePlayback(MainWindow& w, ui::HandlerTable& h) {
    wireSidePanel(w, h);
    wireControlBar(w, h);
    wireOpening(w, h);
    wireVolumeWindow(w, h);
}

} // namespace qinglan::app
