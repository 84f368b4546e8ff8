// The subtitle page. Its controls only store: the engine gets the subtitle options at the next
// open or subtitle choice.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& subtitleOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Subtitle};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 字幕 ", 1));
        L.push_back(at("标签1", "字幕：", "分组框1", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 字幕一", "分组框1", 112, 0, 80),
                                  at("单选框2", " 字幕二", "分组框1", 200, 0, 80),
                                  at("单选框3", " 关闭", "分组框1", 288, 0, 56)},
                     .fields = {32, 33, 34}});

        L.push_back(s.group("分组框2", " 位置 ", 3));
        L.push_back(at("标签2", "自定义位置：", "分组框2", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框4", " 开启", "分组框2", 112, 0),
                                  at("单选框5", " 关闭", "分组框2", 200, 0)},
                     .fields = {35, 36}});
        L.push_back(at("标签3", "水平", "分组框2", 16, 1, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框1", "分组框2", 64, 1, numberItems(10, 100, 10))},
                     .fields = {37}});
        L.push_back(at("标签4", "垂直", "分组框2", 184, 1, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框2", "分组框2", 232, 1, numberItems(10, 100, 10))},
                     .fields = {38}});
        L.push_back(at("标签5", "字幕延时：", "分组框2", 16, 2, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框2", 96, 2, 0, 10000, 240)},
                     .fields = {39},
                     .title = "系统设置 - 字幕延时：",
                     .unit = "ms"});

        L.push_back(s.group("分组框3", " VsFilter ", 1));
        L.push_back(at("标签6", "VsFilter：", "分组框3", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框6", " 开启", "分组框3", 112, 0),
                                  at("单选框7", " 关闭", "分组框3", 200, 0)},
                     .fields = {40, 41}});

        L.push_back(s.group("分组框4", " 字体 ", 3));
        L.push_back(at("标签7", "字体", "分组框4", 16, 0, 40));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框3", "分组框4", 64, 0, fontNames(), 264)},
                     .fields = {42}});
        L.push_back(at("标签8", "大小", "分组框4", 16, 1, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框4", "分组框4", 64, 1, numberItems(10, 40))},
                     .fields = {43}});
        L.push_back(at("标签9", "颜色", "分组框4", 184, 1, 40));
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器1", {}, "分组框4", 232, 1, 56)},
                     .fields = {44}});
        L.push_back(at("标签10", "字体阴影：", "分组框4", 16, 2));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框8", " 开启", "分组框4", 112, 2),
                                  at("单选框9", " 关闭", "分组框4", 200, 2)},
                     .fields = {45, 46}});

        // The language indexes a user can choose; stored only, like the rest of the page.
        L.push_back(s.group("分组框5", " 语言索引 ", 1));
        L.push_back(at("标签11", "语言", "分组框5", 16, 0, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框5", "分组框5", 64, 0, indexItems())},
                     .fields = {47}});

        L.push_back(s.group("分组框6", " 渲染模式 ", 1));
        L.push_back(at("标签12", "渲染：", "分组框6", 16, 0, 48));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框10", " 正常(2D)", "分组框6", 72, 0, 88),
                                  at("单选框11", " 左右3D", "分组框6", 168, 0, 80),
                                  at("单选框12", " 上下3D", "分组框6", 256, 0, 80)},
                     .fields = {48, 49, 50}});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
