#pragma once
// What the menu item "虚拟现实" sends to the engine: the stored VR page (fields 116 to 131) as
// engine values, in the order the engine receives them. Pure: the fields come from a lookup,
// the caller sends the list.
#include "playback/EngineValue.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::playback {

// The draw modes in the page's list order, with the number the engine gets as 2402.
struct DrawMode {
    std::string_view name;
    std::string_view number;
};
std::span<const DrawMode> vrDrawModes();

// Nothing while the page's " 开启" (field 116) is not exactly "1". Otherwise 2402 by the stored
// draw mode's name (none for a name off the list), 2403 the view, 2404 the device, 2405 the
// frame interval, 2407 the monitor, 2408 the caps, 2410 the quality. Texts are passed on as
// stored; a choice with none of its fields on sends nothing for its id.
std::vector<EngineValue> vrEngineValues(const std::function<std::string(int field)>& stored);

} // namespace qinglan::playback
