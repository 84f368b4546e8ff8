// The settings window and its nine embedded pages, built from the page table
// (settings/SettingsPages.h). Every page shares one frame: a shape as tall as the page's content
// that scrolls behind a 527-pixel viewport, a vertical scroll bar at its right, and a last group
// " 默认值 " with the link that restores the page's defaults. The option controls come from the
// page's option rows (catalogue/pages).
#include "ui/CatalogueIds.h"
#include "ui/SettingsOptions.h"
#include "ui/catalogue/Windows.h"

#include <array>

namespace qinglan::ui {
namespace {

constexpr int kPageWindowWidth = 417;

// The frame controls of `page`, appended to `controls`; the shape's left edge is 0 on a page
// window and 152 inside the settings window.
void addPageFrame(std::vector<ControlDesign>& controls, const settings::PageInfo& page,
                  int shapeLeft) {
    const int scrollMax = page.shapeHeight - kPageViewportHeight;
    controls.push_back(
        {.name = ids::PageShape.name, .geometry = {shapeLeft, 0, 400, page.shapeHeight}});
    controls.push_back({.name = ids::PageScrollBar.name,
                        .geometry = {shapeLeft + 400, 0, 16, kPageViewportHeight},
                        .range = {.minimum = 0, .maximum = scrollMax, .value = 0}});
    controls.push_back({.name = page.defaultsGroup,
                        .geometry = {24, page.defaultsTop, 352, 80},
                        .caption = " 默认值 ",
                        .parent = ids::PageShape.name});
    controls.push_back({.name = ids::RestoreDefaultsLink.name,
                        .geometry = {24, 32, 104, 24},
                        .caption = "恢复本页默认值",
                        .parent = page.defaultsGroup});
}

// The page's group boxes and labels, then every option row's controls.
void addPageOptions(std::vector<ControlDesign>& controls, settings::Page page) {
    const PageOptions& options = pageOptions(page);
    controls.insert(controls.end(), options.layout.begin(), options.layout.end());
    for (const OptionRow& row : options.rows)
        controls.insert(controls.end(), row.controls.begin(), row.controls.end());
}

WindowDesign pageWindowOf(const settings::PageInfo& page) {
    WindowDesign design{.role = page.role,
                        .size = {kPageWindowWidth, page.windowHeight},
                        .frame = Frame::Frameless};
    addPageFrame(design.controls, page, 0);
    addPageOptions(design.controls, page.page);
    return design;
}

} // namespace

namespace catalogue {

const WindowDesign& settingsWindow() {
    static const WindowDesign design = [] {
        WindowDesign s{.role = ids::SettingsWindow.name,
                       .title = "系统设置",
                       .size = {573, 555},
                       .frame = Frame::Dialog};
        // Navigation column: ten tabs on a group box whose caption edge sits above the window.
        s.controls.push_back({.name = ids::SettingsNavigation.name, .geometry = {0, -8, 152, 537}});
        for (const auto& page : settings::settingsPages())
            s.controls.push_back({.name = page.tabLabel,
                                  .geometry = {0, page.tabTop, 151, 40},
                                  .caption = page.tabCaption,
                                  .parent = ids::SettingsNavigation.name});
        // The lyrics page lives in the settings window itself, right of the navigation.
        const auto& lyrics = settings::pageInfo(settings::Page::Lyrics);
        addPageFrame(s.controls, lyrics, 152);
        addPageOptions(s.controls, lyrics.page);
        s.controls.push_back({.name = ids::LyricsPictureDialog.name,
                              .geometry = {0, 0, 24, 24},
                              .caption =
                                  "图片格式(*.bmp;*.jpg;*.gif;*.bug)|*.bmp;*.jpg;*.gif;*.bug|"
                                  "所有文件*.*|*.*"});
        return s;
    }();
    return design;
}

const WindowDesign& pageWindowDesign(settings::Page page) {
    static const auto designs = [] {
        std::array<WindowDesign, settings::kSettingsPageCount> all{};
        for (const auto& p : settings::settingsPages())
            if (p.page != settings::Page::Lyrics)
                all[static_cast<std::size_t>(p.page)] = pageWindowOf(p);
        return all;
    }();
    if (page == settings::Page::Lyrics || page == settings::Page::None) return settingsWindow();
    return designs[static_cast<std::size_t>(page)];
}

} // namespace catalogue
} // namespace qinglan::ui
