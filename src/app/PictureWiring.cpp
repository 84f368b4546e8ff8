// The main window's picture menu items: "字幕" › "打开" chooses the subtitle file of the media that
// plays, "虚拟现实" sends the stored VR page to the engine.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <playback/VrValues.h>
#include <ui/Controls.h>
#include <ui/Find.h>

namespace qinglan::app {
namespace {

using ui::UiEvent;

SubtitleFileChooser& subtitleFileChooser() {
    static SubtitleFileChooser chooser;
    return chooser;
}

} // namespace

void setSubtitleFileChooser(SubtitleFileChooser chooser) {
    subtitleFileChooser() = std::move(chooser);
}

void wirePicture(MainWindow& w, ui::HandlerTable& h) {
    h.add("chooseSubtitleFile", [&w](UiEvent&) {
        // The main window's own file dialog: its filter is the catalogue's.
        auto* dialog = ui::find<ui::FileDialogBox>(w.window(), ui::ids::SubtitleFileDialog);
        if (!dialog) return;
        const QString chosen = subtitleFileChooser()
                                   ? subtitleFileChooser()(w.window(), dialog->filter())
                                   : dialog->chooseFile(w.window());
        if (chosen.isEmpty()) return; // cancelled: nothing changes
        w.playback().setSubtitleFile(chosen.toStdString());
    });
    h.add("ApplyVr", [&w](UiEvent&) {
        w.sidePanelCheck();
        const auto& record = processState().record;
        for (const auto& v :
             playback::vrEngineValues([&record](int field) { return record.text(field); }))
            w.engine().APlayer_SetConfigA(v.id, v.value);
    });
}

} // namespace qinglan::app
