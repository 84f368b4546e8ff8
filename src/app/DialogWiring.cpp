// The skip window and the shared confirmation prompt.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/VideoListController.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <playback/PlaybackRules.h>
#include <settings/SettingsFields.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace qinglan::app {
namespace {

using ui::UiEvent;
namespace field = settings::field;

// Filling the boxes from the file is not typing: nothing is written back meanwhile.
bool filling(const UiEvent& e) {
    return e.window->property("filling").toBool();
}

void wireSkipWindow(MainWindow& w, ui::HandlerTable& h) {
    h.add("openSkipIntroWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open("SkipIntroWindow");
    });
    h.add("setUpSkipIntroWindow", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store) return;
        const auto text = [&](int number) {
            auto v = state.store->read(number);
            return v.ok() ? QString::fromStdString(v.value().toText()) : QString();
        };
        e.window->setProperty("filling", true);
        ui::control<QRadioButton>(e.window, u"单选框1").setChecked(text(field::SkipOn) == u"1");
        ui::control<QRadioButton>(e.window, u"单选框2").setChecked(text(field::SkipOff) == u"1");
        ui::control<QLineEdit>(e.window, u"编辑框1").setText(text(field::IntroSeconds));
        ui::control<QLineEdit>(e.window, u"编辑框2").setText(text(field::OutroSeconds));
        e.window->setProperty("filling", false);
    });
    h.add("storeSkipSwitch", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        const bool on = ui::control<QRadioButton>(e.window, u"单选框1").isChecked();
        const bool off = ui::control<QRadioButton>(e.window, u"单选框2").isChecked();
        state.store->writeFields(
            {{field::SkipOn, on ? "1" : "0"}, {field::SkipOff, off ? "1" : "0"}});
    });
    h.add("storeIntro", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        state.store->write(field::IntroSeconds, e.text.toStdString());
    });
    h.add("storeOutro", [&w](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        const std::string outro = e.text.toStdString();
        // Field 207 keeps the outro's start in the media open now, as stored files expect;
        // playback itself measures the outro back from each media's own end.
        const long long end =
            w.engine().APlayer_GetDuration() - playback::leadingNumber(outro) * 1000;
        state.store->writeFields(
            {{field::OutroSeconds, outro}, {field::OutroStartMs, std::to_string(end)}});
    });
}

// The one prompt serves several askers; its mode says whose answer it is.
void wirePrompt(MainWindow& w, ui::HandlerTable& h) {
    h.add("confirmPrompt", [&w](UiEvent& e) {
        switch (e.window->property("promptMode").toInt()) {
        case VideoListController::kDeletePromptMode:
            if (auto* list = VideoListController::of(w)) {
                const auto* box = ui::find<QCheckBox>(e.window, u"选择框1");
                if (const auto path = VideoListController::deleteTarget(e.window))
                    list->confirmDelete(*path, box && box->isChecked());
            }
            e.window->close();
            break;
        case kRestartPromptMode:
            e.window->close();
            w.shutdown(); // the close routine; the player does not start itself again
            break;
        case kTranscodeNamePromptMode:
            e.window->close();
            break;
        default:
            break;
        }
    });
    h.add("cancelPrompt", [&w](UiEvent& e) {
        const bool deleting =
            e.window->property("promptMode").toInt() == VideoListController::kDeletePromptMode;
        e.window->close();
        if (deleting) w.sidePanelCheck();
    });
}

} // namespace

void wireDialogs(MainWindow& w, ui::HandlerTable& h) {
    wireSkipWindow(w, h);
    wirePrompt(w, h);
}

} // namespace qinglan::app
