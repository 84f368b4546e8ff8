#pragma once
#include "app/StorePrefetch.h"

#include <desktop/InMemoryLibrary.h>
#include <settings/SettingsRecord.h>
#include <settings/SettingsStore.h>

#include <memory>
#include <string>

namespace qinglan::app {

// Process-wide state shared by start-up, the main window and playback. One window thread
// reads and writes it; no locks.
struct ProcessState {
    // The local path or network address the next open uses (UTF-8).
    std::string currentMedia;

    // Hosts the skin engine the player carries; mapped at start-up, never unloaded.
    desktop::InMemoryLibrary skinLibrary;

    // The record files of a returning user, opened beside the toolkit's start-up.
    StorePrefetch prefetch;

    // The settings file, opened at main-window creation, and its in-memory copy.
    std::unique_ptr<settings::SettingsStore> store;
    settings::SettingsRecord record;

    // Window-state flags of the main window.
    bool fullScreen = false;
    bool geometryFrozen = false; // full screen through the menu: geometry is not saved
    bool shareMode = false;
    bool sidePanelEnabled = false;
    // Set after the video list changed files; from then on geometry is not saved and the
    // settings menu items offer a restart instead.
    bool fileConfigChanged = false;
};

// The state of this process: the one a ProcessStateScope installed, else the process's own.
ProcessState& processState();

// Installs a state of its own for its lifetime, fresh and apart from every other: each test of
// the main window starts as a new process would. Scopes nest; the previous state is back when
// one ends.
class ProcessStateScope {
public:
    ProcessStateScope();
    ~ProcessStateScope();
    ProcessStateScope(const ProcessStateScope&) = delete;
    ProcessStateScope& operator=(const ProcessStateScope&) = delete;

private:
    ProcessState state_;
    ProcessState* previous_;
};

} // namespace qinglan::app
