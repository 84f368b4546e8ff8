#pragma once

namespace qinglan::settings {

// A window, control or screen rectangle in pixels, as plain values so that the store needs no GUI
// library; the catalogue's geometry uses the same type.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

} // namespace qinglan::settings
