// The lyrics page, which lives inside the settings window. Its controls only store: the engine
// gets every lyrics option at the next open. Group boxes 分组框5 (the navigation) and 分组框9
// (the defaults) belong to the window's frame.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& lyricsOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Lyrics};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 歌词 ", 1));
        L.push_back(at("标签2", "显示歌词：", "分组框1", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 显示", "分组框1", 112, 0),
                                  at("单选框2", " 隐藏", "分组框1", 200, 0)},
                     .fields = {1, 2}});

        L.push_back(s.group("分组框2", " 对齐方式 ", 1));
        L.push_back(at("标签3", "对齐方式：", "分组框2", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框3", " 左对齐", "分组框2", 112, 0),
                                  at("单选框4", " 居中", "分组框2", 192, 0, 72),
                                  at("单选框5", " 右对齐", "分组框2", 264, 0, 80)},
                     .fields = {3, 4, 5}});

        L.push_back(s.group("分组框3", " 字体 ", 5));
        L.push_back(at("标签4", "字体", "分组框3", 16, 0, 40));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框1", "分组框3", 64, 0, fontNames(), 264)},
                     .fields = {6}});
        L.push_back(at("标签7", "宽度", "分组框3", 16, 1, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框2", "分组框3", 64, 1, numberItems(10, 40))},
                     .fields = {10}});
        L.push_back(at("标签8", "高度", "分组框3", 184, 1, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框3", "分组框3", 232, 1, numberItems(10, 40, 1, 24))},
                     .fields = {8}});
        L.push_back(at("标签9", "加粗", "分组框3", 16, 2, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框4", "分组框3", 64, 2, numberItems(100, 3000, 100))},
                     .fields = {7}});
        L.push_back(at("标签10", "行距", "分组框3", 184, 2, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框5", "分组框3", 232, 2, numberItems(10, 40))},
                     .fields = {9}});
        L.push_back(at("标签11", "颜色", "分组框3", 16, 3, 40));
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器1", {}, "分组框3", 64, 3, 56)},
                     .fields = {11}});
        L.push_back(at("标签12", "高亮", "分组框3", 128, 3, 40));
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器2", {}, "分组框3", 176, 3, 56)},
                     .fields = {12}});
        L.push_back(at("标签13", "边框", "分组框3", 240, 3, 40));
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器3", {}, "分组框3", 288, 3, 56)},
                     .fields = {13}});
        L.push_back(at("标签14", "文字边框：", "分组框3", 16, 4));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框6", " 开启", "分组框3", 112, 4),
                                  at("单选框7", " 关闭", "分组框3", 200, 4)},
                     .fields = {14, 15}});

        L.push_back(s.group("分组框4", " 拖动功能 ", 1));
        L.push_back(at("标签15", "拖动歌词：", "分组框4", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框8", " 开启", "分组框4", 112, 0),
                                  at("单选框9", " 关闭", "分组框4", 200, 0)},
                     .fields = {16, 17}});

        L.push_back(s.group("分组框6", " 背景图 ", 3));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " 背景颜色", "分组框6", 16, 0),
                                  at("选择框2", " 背景图片", "分组框6", 16, 1)},
                     .fields = {21, 22},
                     .rule = OptionRule::LyricsBackground,
                     .partners = {"颜色选择器4", "编辑框1", "按钮1"}});
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器4", {}, "分组框6", 112, 0, 56)},
                     .fields = {23}});
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框1", {}, "分组框6", 112, 1, 168)},
                     .fields = {24}});
        R.push_back({.binding = B::FileButton,
                     .controls = {at("按钮1", "打开", "分组框6", 288, 1, 48)},
                     .fields = {24},
                     .partners = {"编辑框1", ids::LyricsPictureDialog.name}});
        L.push_back(at("标签16", "图片显示：", "分组框6", 16, 2));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框10", " 拉伸", "分组框6", 112, 2, 64),
                                  at("单选框11", " 保持纵横比", "分组框6", 176, 2, 96),
                                  at("单选框12", " 居中", "分组框6", 280, 2, 64)},
                     .fields = {18, 19, 20}});

        L.push_back(s.group("分组框7", " 渐入渐出 ", 1));
        L.push_back(at("标签17", "渐入渐出：", "分组框7", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框13", " 开启", "分组框7", 112, 0),
                                  at("单选框14", " 关闭", "分组框7", 200, 0)},
                     .fields = {25, 26}});

        L.push_back(s.group("分组框8", " 动画风格 ", 4));
        L.push_back(at("标签18", "动画：", "分组框8", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框15", " 无", "分组框8", 112, 0, 64),
                                  at("单选框16", " 渐变", "分组框8", 184, 0, 64),
                                  at("单选框17", " 进度条", "分组框8", 256, 0, 80)},
                     .fields = {27, 28, 29}});
        L.push_back(at("标签19", "时间偏移：", "分组框8", 16, 1, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框8", 96, 1, 0, 10000)},
                     .fields = {30},
                     .title = "系统设置 - 时间偏移：",
                     .unit = "ms"});
        L.push_back(at("标签20", "毫秒", "分组框8", 304, 1, 32));
        L.push_back(at("标签21", "更新间隔：", "分组框8", 16, 2, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条2", "分组框8", 96, 2, 0, 100)},
                     .fields = {31},
                     .title = "系统设置 - 更新间隔：",
                     .unit = "ms"});
        L.push_back(at("标签22", "毫秒", "分组框8", 304, 2, 32));
        L.push_back(at("标签23", "间隔越小消耗的CPU越多, 但越流畅。", "分组框8", 16, 3, 320));
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
