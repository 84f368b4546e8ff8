// The general page: start with the session, what closing does, the video list's opacity.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& generalOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::General};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 启动 ", 2));
        R.push_back({.binding = B::SingleCheck,
                     .controls = {at("选择框1", " 开机自动启动", "分组框1", 16, 0, 128)},
                     .fields = {132}});
        L.push_back(at("标签1", "退出时：", "分组框1", 16, 1, 64));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 最小化到系统托盘", "分组框1", 80, 1, 144),
                                  at("单选框2", " 退出程序", "分组框1", 232, 1, 96)},
                     .fields = {133, 134}});

        L.push_back(s.group("分组框2", " 透明度 ", 1));
        L.push_back(at("标签2", "列表", "分组框2", 16, 0, 40));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框2", 64, 0, 1, 255, 264)},
                     .fields = {196},
                     .title = "系统设置 - 透明度：",
                     .unit = "%",
                     .rule = OptionRule::ListOpacity});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
