// The fixed item lists of the settings pages, and the lookup of option rows by control.
#include "ui/catalogue/pages/PageLayout.h"

#include <aplayer/OutputFormats.h>
#include <playback/VrValues.h>

#include <deque>
#include <mutex>

namespace qinglan::ui {

const std::vector<std::string_view>& fontNames() {
    static const std::vector<std::string_view> names{
        "@hakuyoxingshu7000",
        "@SimSun-ExtB",
        "@仿宋",
        "@黑体",
        "@楷体",
        "@宋体",
        "@微软雅黑",
        "@新宋体",
        "@叶根友毛笔行书2.0版",
        "04b_21",
        "Bookshelf Symbol 7",
        "Calibri",
        "Cambria",
        "Cambria Math",
        "Consolas",
        "Georgia",
        "hakuyoxingshu7000",
        "MS Reference Specialty",
        "MT Extra",
        "Segoe UI Symbol",
        "SimSun-ExtB",
        "Symbol",
        "Verdana",
        "Webdings",
        "Wingdings",
        "仿宋",
        "黑体",
        "楷体",
        "宋体",
        "微软雅黑",
        "新宋体",
        "叶根友毛笔行书2.0版",
    };
    return names;
}

const std::vector<std::string_view>& rendererNames() {
    static const std::vector<std::string_view> names{"覆盖模式(Overlay)", "未渲染(Renderless)",
                                                     "增强型(EVR)", "增强自渲染(EVRCP)"};
    return names;
}

const std::vector<std::string_view>& colourPairNames() {
    static const std::vector<std::string_view> names{"红青", "青红", "黄蓝", "蓝黄",
                                                     "绿紫", "紫绿", "红绿", "绿红",
                                                     "绿蓝", "蓝绿", "红蓝", "蓝红"};
    return names;
}

// The draw modes are the VR menu item's table; the page lists them in the same order.
const std::vector<std::string_view>& vrDrawModeNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> v;
        for (const auto& mode : playback::vrDrawModes())
            v.push_back(mode.name);
        return v;
    }();
    return names;
}

const std::vector<std::string_view>& vrDrawModeValues() {
    static const std::vector<std::string_view> values = [] {
        std::vector<std::string_view> v;
        for (const auto& mode : playback::vrDrawModes())
            v.push_back(mode.number);
        return v;
    }();
    return values;
}

const std::vector<std::string_view>& screenshotFormats() {
    static const std::vector<std::string_view> formats{"bmp", "jpg", "png", "gif"};
    return formats;
}

// The formats the engine writes, in the order of its table.
const std::vector<std::string_view>& transcodeFormats() {
    static const std::vector<std::string_view> formats = [] {
        std::vector<std::string_view> names;
        for (const auto& format : aplayer::outputFormats())
            names.push_back(format.name);
        return names;
    }();
    return formats;
}

namespace pages {

std::vector<std::string_view> numberItems(int from, int to, int step, int skip) {
    static std::mutex lock;
    static std::deque<std::string> texts; // never shrinks: views into it stay valid
    std::lock_guard guard(lock);
    std::vector<std::string_view> out;
    for (int n = from; n <= to; n += step) {
        if (skip != 0 && n == skip) continue;
        texts.push_back(std::to_string(n));
        out.emplace_back(texts.back());
    }
    return out;
}

} // namespace pages

const PageOptions& pageOptions(settings::Page page) {
    using namespace pages;
    using enum settings::Page;
    switch (page) {
    case Lyrics:
        return lyricsOptions();
    case Subtitle:
        return subtitleOptions();
    case Picture:
        return pictureOptions();
    case Sound:
        return soundOptions();
    case General:
        return generalOptions();
    case Screenshot:
        return screenshotOptions();
    case Hotkey:
        return hotkeyOptions();
    case Transcode:
        return transcodeOptions();
    case Association:
        return associationOptions();
    case VirtualReality:
        return vrOptions();
    case None:
        break;
    }
    static const PageOptions none{.page = None};
    return none;
}

const PageOptions* findPageOptions(std::string_view role) {
    const settings::PageInfo* page = settings::findPageByRole(role);
    return page ? &pageOptions(page->page) : nullptr;
}

const OptionRow* findOptionRow(std::string_view role, std::string_view control) {
    const PageOptions* page = findPageOptions(role);
    if (!page) return nullptr;
    for (const OptionRow& row : page->rows)
        for (const ControlDesign& c : row.controls)
            if (c.name == control) return &row;
    return nullptr;
}

} // namespace qinglan::ui
