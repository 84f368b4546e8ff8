#pragma once
// The skin engine the player carries inside itself, mapped from memory with InMemoryLibrary
// and driven through its two exports. Every call is silent: when the engine is not mapped or
// an export is missing, nothing happens and the player runs unskinned.
#include "desktop/InMemoryLibrary.h"

namespace qinglan::desktop {

// At start-up: maps the embedded engine image. True when it is mapped.
bool mapSkinEngine(InMemoryLibrary& library);

// When the main window is created (the QApplication must exist; call on its thread): looks
// up SkinH_AttachRes and calls it with the embedded skin resource, no password and no colour
// shift. True when the engine reported the skin applied; false when the export was not
// found or the engine refused.
bool attachSkin(const InMemoryLibrary& library);

// When the main window closes: looks up SkinH_Detach and calls it; the default look returns.
void detachSkin(const InMemoryLibrary& library);

} // namespace qinglan::desktop
