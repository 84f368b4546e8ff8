// The transcode window: its opening, "开始转换", the prompt for a missing name, and the return
// of the engine to play mode when the window goes.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>
#include <playback/Conversion.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QLineEdit>

namespace qinglan::app {
namespace {
using ui::UiEvent;
} // namespace

void wireTranscode(MainWindow& w, ui::HandlerTable& h) {
    h.add("openTranscodeWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open(ui::ids::TranscodeWindow);
    });
    h.add("setUpTranscodeWindow", [](UiEvent&) {});
    h.add("StartConversion", [&w](UiEvent& e) {
        const auto text = [&](ui::ControlId box) {
            return ui::control<QLineEdit>(e.window, box).text().toStdString();
        };
        const auto sends =
            playback::conversionSends([](int field) { return processState().record.text(field); },
                                      {text(ui::ids::TranscodeStart), text(ui::ids::TranscodeEnd),
                                       text(ui::ids::TranscodeName)});
        if (sends.askForName) {
            openPrompt(w, PromptMode::TranscodeName);
            return;
        }
        for (const auto& [id, value] : sends.values)
            w.engine().APlayer_SetConfigA(id, value);
        w.playback().cutPointsSentForNextOpen();
    });
    // Also when the main window goes with this window open: by then the engine may be gone.
    h.add("returnEngineToPlayMode", [&w](UiEvent&) {
        if (auto* engine = w.engineIfPresent())
            engine->APlayer_SetConfigA(aplayer::cfg::ProcessingMode, "1");
    });
}

} // namespace qinglan::app
