// The settings window and its nine embedded pages. Every page shares one frame: a shape as tall
// as the page's content that scrolls behind a 527-pixel viewport, a vertical scroll bar at its
// right, and a last group " 默认值 " with the link that restores the page's defaults. The option
// controls come from the page's option rows (catalogue/pages).
#include "ui/SettingsOptions.h"
#include "ui/catalogue/Windows.h"

#include <string_view>

namespace qinglan::ui {
namespace {

struct FrameLayout {
    int shapeLeft; // 0 on a page window, 152 inside the settings window
    int shapeHeight;
    int defaultsTop;
    std::string_view defaultsGroup;
};

// The frame controls, appended to `controls`.
void addPageFrame(std::vector<ControlDesign>& controls, const FrameLayout& f) {
    const int scrollMax = f.shapeHeight - kPageViewportHeight;
    controls.push_back({.name = "外形框1", .geometry = {f.shapeLeft, 0, 400, f.shapeHeight}});
    controls.push_back({.name = "纵向滚动条1",
                        .geometry = {f.shapeLeft + 400, 0, 16, kPageViewportHeight},
                        .range = {.minimum = 0, .maximum = scrollMax, .value = 0}});
    controls.push_back({.name = f.defaultsGroup,
                        .geometry = {24, f.defaultsTop, 352, 80},
                        .caption = " 默认值 ",
                        .parent = "外形框1"});
    controls.push_back({.name = "超级链接框1",
                        .geometry = {24, 32, 104, 24},
                        .caption = "恢复本页默认值",
                        .parent = f.defaultsGroup});
}

// The page's group boxes and labels, then every option row's controls.
void addPageOptions(std::vector<ControlDesign>& controls, std::string_view role) {
    const PageOptions* options = findPageOptions(role);
    if (!options) return;
    controls.insert(controls.end(), options->layout.begin(), options->layout.end());
    for (const OptionRow& row : options->rows)
        controls.insert(controls.end(), row.controls.begin(), row.controls.end());
}

WindowDesign page(std::string_view role, Size size, std::vector<ControlDesign> options = {}) {
    const PageFrame& f = *findPageFrame(role);
    WindowDesign design{.role = role, .size = size, .frame = Frame::Frameless};
    addPageFrame(design.controls, {0, f.shapeHeight, f.defaultsTop, f.defaultsGroup});
    for (auto& c : options)
        design.controls.push_back(std::move(c));
    addPageOptions(design.controls, role);
    return design;
}

} // namespace

// The defaults group of a page whose numbering is not known from its design is named after the
// page's last group box.
const std::vector<PageFrame>& pageFrames() {
    static const std::vector<PageFrame> frames{
        {"SettingsWindow", 1576, 1464, "分组框9"}, {"SubtitlePage", 1112, 1000, "分组框7"},
        {"PicturePage", 1792, 1680, "分组框9"},    {"SoundPage", 1016, 904, "分组框6"},
        {"GeneralPage", 528, 296, "分组框3"},      {"ScreenshotPage", 728, 616, "分组框5"},
        {"HotkeyPage", 552, 440, "分组框2"},       {"TranscodePage", 1040, 928, "分组框7"},
        {"AssociationPage", 528, 320, "分组框7"},  {"VrPage", 1040, 928, "分组框7"},
    };
    return frames;
}

const PageFrame* findPageFrame(std::string_view role) {
    for (const auto& f : pageFrames())
        if (f.role == role) return &f;
    return nullptr;
}

// Tabs from top to bottom; the two-character captions hold two blanks between the characters.
const std::vector<SettingsTab>& settingsTabs() {
    static const std::vector<SettingsTab> tabs{
        {"标签1", 24, "歌  词", ""},
        {"标签5", 72, "字  幕", "SubtitlePage"},
        {"标签6", 120, "画  面", "PicturePage"},
        {"标签26", 176, "声  音", "SoundPage"},
        {"标签27", 224, "常  规", "GeneralPage"},
        {"标签28", 272, "截  图", "ScreenshotPage"},
        {"标签29", 320, "热  键", "HotkeyPage"},
        {"标签30", 368, "转  码", "TranscodePage"},
        {"标签31", 416, "关  联", "AssociationPage"},
        {"标签32", 464, "虚拟现实", "VrPage"},
    };
    return tabs;
}

namespace catalogue {

const WindowDesign& settingsWindow() {
    static const WindowDesign design = [] {
        WindowDesign s{.role = "SettingsWindow",
                       .title = "系统设置",
                       .size = {573, 555},
                       .frame = Frame::Dialog};
        // Navigation column: ten tabs on a group box whose caption edge sits above the window.
        s.controls.push_back({.name = "分组框5", .geometry = {0, -8, 152, 537}});
        for (const auto& t : settingsTabs())
            s.controls.push_back({.name = t.label,
                                  .geometry = {0, t.top, 151, 40},
                                  .caption = t.caption,
                                  .parent = "分组框5"});
        // The lyrics page lives in the settings window itself, right of the navigation.
        const PageFrame& f = *findPageFrame("SettingsWindow");
        addPageFrame(s.controls, {152, f.shapeHeight, f.defaultsTop, f.defaultsGroup});
        addPageOptions(s.controls, "SettingsWindow");
        s.controls.push_back({.name = "通用对话框1",
                              .geometry = {0, 0, 24, 24},
                              .caption =
                                  "图片格式(*.bmp;*.jpg;*.gif;*.bug)|*.bmp;*.jpg;*.gif;*.bug|"
                                  "所有文件*.*|*.*"});
        return s;
    }();
    return design;
}

// The designed window heights differ by a pixel or two from the shape heights; both are kept as
// designed.
const WindowDesign& subtitlePage() {
    static const WindowDesign design = page("SubtitlePage", {417, 1110});
    return design;
}

const WindowDesign& picturePage() {
    static const WindowDesign design = page("PicturePage", {417, 1791});
    return design;
}

const WindowDesign& generalPage() {
    static const WindowDesign design = page("GeneralPage", {417, 527});
    return design;
}

const WindowDesign& soundPage() {
    static const WindowDesign design = page("SoundPage", {417, 1016});
    return design;
}

const WindowDesign& vrPage() {
    static const WindowDesign design = page("VrPage", {417, 1040});
    return design;
}

const WindowDesign& hotkeyPage() {
    static const WindowDesign design = page("HotkeyPage", {417, 551});
    return design;
}

const WindowDesign& transcodePage() {
    static const WindowDesign design = page("TranscodePage", {417, 1040});
    return design;
}

const WindowDesign& screenshotPage() {
    static const WindowDesign design = page("ScreenshotPage", {417, 728});
    return design;
}

const WindowDesign& associationPage() {
    static const WindowDesign design = page("AssociationPage", {417, 528});
    return design;
}

} // namespace catalogue
} // namespace qinglan::ui
