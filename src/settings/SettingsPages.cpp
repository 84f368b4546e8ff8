#include "settings/SettingsPages.h"

#include <array>
#include <stdexcept>

namespace qinglan::settings {

namespace {

using enum Page;

// The defaults group of a page is named after the page's last group box. The designed window
// heights differ by a pixel or two from the container heights; both are kept, since the
// pages' controls are placed against each of them.
// clang-format off
constexpr std::array<PageInfo, kSettingsPageCount> kPages{{
    {Lyrics,         kSettingsWindowRole, "标签1",  24,  "歌  词",   0,    1576, 1464, "分组框9", true,  true},
    {Subtitle,       "SubtitlePage",      "标签5",  72,  "字  幕",   1110, 1112, 1000, "分组框7", true,  true},
    {Picture,        "PicturePage",       "标签6",  120, "画  面",   1791, 1792, 1680, "分组框9", true,  true},
    {Sound,          "SoundPage",         "标签26", 176, "声  音",   1016, 1016, 904,  "分组框6", true,  true},
    {General,        "GeneralPage",       "标签27", 224, "常  规",   527,  528,  296,  "分组框3", false, true},
    {Screenshot,     "ScreenshotPage",    "标签28", 272, "截  图",   728,  728,  616,  "分组框5", true,  true},
    {Hotkey,         "HotkeyPage",        "标签29", 320, "热  键",   551,  552,  440,  "分组框2", true,  true},
    {Transcode,      "TranscodePage",     "标签30", 368, "转  码",   1040, 1040, 928,  "分组框7", true,  false},
    {Association,    "AssociationPage",   "标签31", 416, "关  联",   528,  528,  320,  "分组框7", true,  true},
    {VirtualReality, "VrPage",            "标签32", 464, "虚拟现实", 1040, 1040, 928,  "分组框7", true,  true},
}};
// clang-format on

constexpr bool inPageOrder() {
    for (std::size_t i = 0; i < kPages.size(); ++i)
        if (static_cast<std::size_t>(kPages[i].page) != i) return false;
    return static_cast<std::size_t>(Page::None) == kPages.size();
}
static_assert(inPageOrder(), "the page table lists every page once, in the order of Page");

} // namespace

std::span<const PageInfo> settingsPages() {
    return kPages;
}

const PageInfo& pageInfo(Page page) {
    if (page == Page::None) throw std::logic_error("Page::None is not a settings page");
    return kPages[static_cast<std::size_t>(page)];
}

const PageInfo* findPageByRole(std::string_view role) {
    for (const auto& p : kPages)
        if (p.role == role) return &p;
    return nullptr;
}

} // namespace qinglan::settings
