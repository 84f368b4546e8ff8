#pragma once
// What the events of the catalogue's windows do, one function per subsystem. Each adds the
// handlers of its subsystem to the main window's table by the names the catalogue wires.
#include <ui/UiEvent.h>

#include <optional>

class QWidget;

namespace qinglan::app {

class MainWindow;

// The main window itself and its companions: creation, close, layout, tray, timers, fades,
// the hot spots and the video list window.
void wireCompanions(MainWindow& main, ui::HandlerTable& handlers);
// The side panel, the control bar, drops, the open and play menu items, the network open and
// the volume window.
void wirePlayback(MainWindow& main, ui::HandlerTable& handlers);
// The skip window and the shared prompt.
void wireDialogs(MainWindow& main, ui::HandlerTable& handlers);
// The settings menu items and the settings window's own events.
void wireSettings(MainWindow& main, ui::HandlerTable& handlers);
// The nine hotkeys while the main window is active, their dispatch, and the screenshot action.
void wireHotkeys(MainWindow& main, ui::HandlerTable& handlers);
// The desktop's media controls (MPRIS), when the session offers them.
void wireMpris(MainWindow& main, ui::HandlerTable& handlers);
// The video list window, its menu, the prompt's delete mode and the add-files helper's poll.
void wireMediaList(MainWindow& main, ui::HandlerTable& handlers);
// The about window.
void wireDesktop(MainWindow& main, ui::HandlerTable& handlers);
// The transcode window and its start of a conversion.
void wireTranscode(MainWindow& main, ui::HandlerTable& handlers);
// The subtitle file chosen from the menu and the menu item that applies the stored VR page.
void wirePicture(MainWindow& main, ui::HandlerTable& handlers);
// How "字幕" › "打开" asks for a file, given the main window and its file dialog's filter text;
// empty when cancelled. Unset: the main window's file dialog. Replaceable for tests.
using SubtitleFileChooser = std::function<QString(QWidget* parent, const QString& filter)>;
void setSubtitleFileChooser(SubtitleFileChooser chooser);

// The video list's play order: each picks a row by the loop mode and plays it.
enum class ListStep { AtEnd, Next, Previous };
void stepVideoList(MainWindow& main, ListStep step);
// The list's selected row, -1 for none.
int videoListSelectedRow(const MainWindow& main);
// Starts the add-files helper and the list's poll for its end.
void launchAddFilesProgram(MainWindow& main);
// Writes or removes the start-with-the-session entry by field 132 of the loaded settings.
void applyAutostartSetting();
// Brings the desktop's file associations in line with the 18 check boxes of the loaded settings.
void applyFileAssociationSettings();

// What the one shared prompt is asked for. Each mode is one row of the prompt table
// (DialogWiring.cpp): its texts, its buttons and what "确认" does.
enum class PromptMode {
    DeleteEntry,   // whether to take the selected entry (and maybe its file) out of the list
    Restart,       // whether to end the player, whose files changed meanwhile
    TranscodeName, // that the transcode output needs a name
};
// Opens the prompt afresh, set up for `mode`; nullptr when it cannot be opened.
QWidget* openPrompt(MainWindow& main, PromptMode mode);
// The mode the prompt was opened in; none for a window openPrompt did not set up.
std::optional<PromptMode> promptMode(const QWidget* prompt);

// The settings menu items: the restart prompt while the files changed, otherwise the settings
// window, told by field 167 whether it starts on the subtitle page.
void openSettingsWindow(MainWindow& main, bool subtitlePage);

} // namespace qinglan::app
