#pragma once
// The option controls of the settings pages, stated once as rows: which controls a row has
// (with their captions and geometry), which settings fields it stores, what it sends to the
// engine at once, and which of the generic bindings runs it. The page designs, their wiring,
// the fill from the store, the stores and the sends are all derived from these rows.
//
// Nothing here depends on Qt; fields are the settings file's numbers and ids the engine's.

#include "ui/Catalogue.h"

#include <settings/SettingsPages.h>

#include <string_view>
#include <vector>

namespace qinglan::ui {

enum class Binding {
    RadioGroup,      // one flag field per radio; any click writes every flag of the group
    ExclusiveChecks, // check boxes acting as one choice: ticking one unticks the others
    SingleCheck,     // one check box, one flag
    NamedList,       // combo: stores the chosen entry; an edit that is no entry is erased
    NumberList,      // combo: stores the chosen entry; an edit that is no number is erased
    Slider,          // stores the position; the settings window's title shows it
    Colour,          // stores the chosen COLORREF as decimal text
    EditBox,         // stores the text as it changes
    FileButton,      // a button that picks a file for a path box (filter: the window's dialog)
    FolderButton,    // a button that picks a folder for a path box
    HotkeyBox,       // a key capture box: fields name, modifier 1, modifier 2, key code
    FixedKey,        // a box that only shows a key that cannot be changed
};

// Behaviour beyond storing and sending that a few rows carry.
enum class OptionRule {
    None,
    RendererHint,     // the label `partner` shows the chosen renderer's hint
    Ac3Rows,          // " 开启" enables the rows listed in `partners`, " 关闭" disables them
    LyricsBackground, // colour or picture background: picker, path box and button follow
    SizeBoxes,        // source or custom size: the two boxes in `partners` follow
    ListOpacity,      // the video list window's opacity follows the slider at once
    OneAlwaysTicked,  // exclusive boxes of which one stays ticked: clicking it keeps it ticked
};

struct OptionRow {
    Binding binding{};
    // Radios and check boxes: one per option, in the order of `fields`. Every other binding
    // has one control (a path button's first control is the button, its second the path box).
    std::vector<ControlDesign> controls{};
    std::vector<int> fields{};
    // Slider title: prefix and unit around the position ("系统设置 - 亮度：", "%").
    std::string_view title{};
    std::string_view unit{};
    // Engine id sent at once; 0 for a row that only stores.
    int sendId = 0;
    // The text sent per option (radio, check box) or per list position; empty: the row's own
    // value (the position, the text, the colour).
    std::vector<std::string_view> sendValues{};
    // A composite value: the current values of these fields joined by ";" (the row's own field
    // takes its new value).
    std::vector<int> sendJoined{};
    // What a size rule sends when the source size is chosen: these ids with "0".
    std::vector<int> sendZero{};
    OptionRule rule = OptionRule::None;
    std::vector<std::string_view> partners{}; // controls the rule acts on
    std::vector<std::string_view> hints{};    // RendererHint: hint per list position
};

struct PageOptions {
    settings::Page page{};
    std::vector<ControlDesign> layout{}; // group boxes and labels: no binding of their own
    std::vector<OptionRow> rows{};
};

// The option rows of a page (Page::None has none: an empty page).
const PageOptions& pageOptions(settings::Page page);
// The rows of the page the window of `role` shows, or nullptr for a window that is no page.
const PageOptions* findPageOptions(std::string_view role);
// The row holding the control, or nullptr.
const OptionRow* findOptionRow(std::string_view role, std::string_view control);

// The 32 font names both font lists offer, in their order.
const std::vector<std::string_view>& fontNames();
// The renderer list: item names in order (values "1" to "4").
const std::vector<std::string_view>& rendererNames();
// The twelve 3D colour pairs, left eye first, in list order (values "1" to "12").
const std::vector<std::string_view>& colourPairNames();
// The VR draw modes in list order and the numbers they send.
const std::vector<std::string_view>& vrDrawModeNames();
const std::vector<std::string_view>& vrDrawModeValues();
// Screenshot formats (values "1" to "4") and the sixteen transcode output formats.
const std::vector<std::string_view>& screenshotFormats();
const std::vector<std::string_view>& transcodeFormats();

} // namespace qinglan::ui
