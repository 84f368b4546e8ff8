// The screenshot page: the size, aspect, quality, format and folder of the screenshot action.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& screenshotOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Screenshot};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 截图功能 ", 3));
        L.push_back(at("标签1", "截图功能：", "分组框1", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 开启", "分组框1", 112, 0),
                                  at("单选框2", " 关闭", "分组框1", 200, 0)},
                     .fields = {154, 155}});
        L.push_back(at("标签2", "截图尺寸：", "分组框1", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " 原始尺寸", "分组框1", 112, 1),
                                  at("选择框2", " 自定义", "分组框1", 200, 1)},
                     .fields = {156, 157},
                     .sendZero = {cfg::ShotWidth, cfg::ShotHeight},
                     .rule = OptionRule::SizeBoxes,
                     .partners = {"编辑框1", "编辑框2"}});
        L.push_back(at("标签3", "宽度", "分组框1", 16, 2, 40));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框1", {}, "分组框1", 64, 2, 96)},
                     .fields = {158},
                     .sendId = cfg::ShotWidth});
        L.push_back(at("标签4", "高度", "分组框1", 184, 2, 40));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框2", {}, "分组框1", 232, 2, 96)},
                     .fields = {159},
                     .sendId = cfg::ShotHeight});

        L.push_back(s.group("分组框2", " 保持纵横比 ", 1));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框3", " 保持", "分组框2", 16, 0),
                                  at("单选框4", " 不保持", "分组框2", 104, 0)},
                     .fields = {160, 161},
                     .sendId = cfg::ShotKeepAspect,
                     .sendValues = {"1", "0"}});

        L.push_back(s.group("分组框3", " 画面质量 ", 1));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框3", 16, 0, 1, 100, 320)},
                     .fields = {162},
                     .title = "系统设置 - 画面质量：",
                     .unit = "%",
                     .sendId = cfg::ShotQuality});

        L.push_back(s.group("分组框4", " 输出格式 ", 2));
        L.push_back(at("标签5", "格式", "分组框4", 16, 0, 40));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框1", "分组框4", 64, 0, screenshotFormats())},
                     .fields = {163},
                     .sendId = cfg::ShotFormat,
                     .sendValues = {"1", "2", "3", "4"}});
        L.push_back(at("标签6", "保存路径：", "分组框4", 16, 1, 72));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框3", {}, "分组框4", 88, 1, 184)},
                     .fields = {164}});
        R.push_back({.binding = B::FolderButton,
                     .controls = {at("按钮1", "保存", "分组框4", 280, 1, 56)},
                     .fields = {164},
                     .partners = {"编辑框3"}});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
