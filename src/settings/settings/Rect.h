#pragma once

namespace qinglan::settings {

// A window or screen rectangle in pixels, as plain values so that the store needs no GUI library.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

} // namespace qinglan::settings
