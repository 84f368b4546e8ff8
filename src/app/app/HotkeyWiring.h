#pragma once
// The registrar the main window's hotkeys use, replaceable for tests.
#include <platform/HotkeyRegistrar.h>

#include <functional>
#include <memory>

namespace qinglan::app {

using HotkeyRegistrarFactory = std::function<std::unique_ptr<platform::HotkeyRegistrar>()>;

// Main windows made from now on take their registrar from factory; an empty factory gives
// them the desktop's own again.
void setHotkeyRegistrarFactory(HotkeyRegistrarFactory factory);

} // namespace qinglan::app
