#pragma once
// Placement of the option controls on a settings page: group boxes stacked from the top of the
// page's shape, each holding lines of controls 40 pixels apart.
#include "ui/CatalogueIds.h"
#include "ui/SettingsOptions.h"

#include <aplayer/ConfigTable.h>

#include <string>
#include <string_view>
#include <vector>

namespace qinglan::ui::pages {

// The engine ids the rows send, by name.
namespace cfg = aplayer::cfg;

inline constexpr std::string_view kShapeName = ids::PageShape.name;
inline constexpr int kControlHeight = 24;

constexpr int lineTop(int line) {
    return 32 + line * 40;
}

// Stacks groups down the page: the first at 24, each next 16 below the one before.
class GroupStack {
public:
    // A group box holding `lines` lines of controls.
    ControlDesign group(std::string_view name, std::string_view caption, int lines) {
        const int height = lineTop(lines) - 8;
        ControlDesign g{.name = name,
                        .geometry = {24, top_, 352, height},
                        .caption = caption,
                        .parent = kShapeName};
        top_ += height + 16;
        return g;
    }
    int top() const { return top_; }

private:
    int top_ = 24;
};

// A control inside a group, on a line, at a left edge.
inline ControlDesign at(std::string_view name, std::string_view caption, std::string_view group,
                        int left, int line, int width = 88) {
    return {.name = name,
            .geometry = {left, lineTop(line), width, kControlHeight},
            .caption = caption,
            .parent = group};
}

inline ControlDesign slider(std::string_view name, std::string_view group, int left, int line,
                            int minimum, int maximum, int width = 200) {
    ControlDesign c = at(name, {}, group, left, line, width);
    c.range = {.minimum = minimum, .maximum = maximum, .value = minimum};
    return c;
}

inline ControlDesign list(std::string_view name, std::string_view group, int left, int line,
                          std::vector<std::string_view> items, int width = 88) {
    ControlDesign c = at(name, {}, group, left, line, width);
    c.items = std::move(items);
    return c;
}

// Decimal texts from `from` to `to` in steps, leaving out `skip` (0 = none). The texts live for
// the whole run, as the catalogue's other texts do.
std::vector<std::string_view> numberItems(int from, int to, int step = 1, int skip = 0);
// The entries of a track or language index list: "0" to "15".
inline std::vector<std::string_view> indexItems() {
    return numberItems(0, 15);
}

// The page tables, one function per page.
const PageOptions& lyricsOptions();
const PageOptions& subtitleOptions();
const PageOptions& pictureOptions();
const PageOptions& soundOptions();
const PageOptions& generalOptions();
const PageOptions& screenshotOptions();
const PageOptions& hotkeyOptions();
const PageOptions& transcodeOptions();
const PageOptions& vrOptions();
const PageOptions& associationOptions();

} // namespace qinglan::ui::pages
