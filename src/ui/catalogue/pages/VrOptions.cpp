// The VR page: every control but the on/off pair sends at once, whether VR is on or not.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& vrOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::VirtualReality};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 虚拟现实 ", 1));
        L.push_back(at("标签1", "虚拟现实：", "分组框1", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 开启", "分组框1", 112, 0),
                                  at("单选框2", " 关闭", "分组框1", 200, 0)},
                     .fields = {116, 117}});

        L.push_back(s.group("分组框2", " 绘制模式 ", 1));
        L.push_back(at("标签2", "绘制", "分组框2", 16, 0, 40));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框1", "分组框2", 64, 0, vrDrawModeNames(), 200)},
                     .fields = {118},
                     .sendId = cfg::VrMode,
                     .sendValues = vrDrawModeValues()});

        L.push_back(s.group("分组框3", " 观察者视角和距离 ", 1));
        const std::vector<int> view{119, 120, 121};
        struct Box {
            std::string_view label, caption, box;
            int field, left;
        };
        const Box boxes[] = {{"标签3", "水平", "编辑框1", 119, 16},
                             {"标签4", "垂直", "编辑框2", 120, 128},
                             {"标签5", "距离", "编辑框3", 121, 240}};
        for (const Box& b : boxes) {
            L.push_back(at(b.label, b.caption, "分组框3", b.left, 0, 32));
            R.push_back({.binding = B::EditBox,
                         .controls = {at(b.box, {}, "分组框3", b.left + 32, 0, 72)},
                         .fields = {b.field},
                         .sendId = cfg::VrView,
                         .sendJoined = view});
        }

        L.push_back(s.group("分组框4", " 设备 ", 4));
        L.push_back(at("标签6", "设备：", "分组框4", 16, 0, 48));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框3", "无设备", "分组框4", 72, 0),
                                  at("单选框4", " Oculus DK2", "分组框4", 168, 0, 112)},
                     .fields = {122, 123},
                     .sendId = cfg::VrDevice,
                     .sendValues = {"0", "1"}});
        L.push_back(at("标签7", "画面间隔：", "分组框4", 16, 1, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框4", 96, 1, 0, 100, 240)},
                     .fields = {124},
                     .title = "系统设置 - 画面间隔：",
                     .unit = "ms",
                     .sendId = cfg::VrRedrawInterval});
        L.push_back(at("标签8", "监视窗口：", "分组框4", 16, 2, 72));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " 左右双目视口", "分组框4", 96, 2, 120),
                                  at("选择框2", " 单目全景", "分组框4", 224, 2, 96),
                                  at("选择框3", " 无监视", "分组框4", 96, 3, 96)},
                     .fields = {125, 126, 127},
                     .sendId = cfg::VrMonitor,
                     .sendValues = {"0", "1", "2"}});

        // The caps over the poles: the two sliders and the colour send all three together.
        L.push_back(s.group("分组框5", " 覆盖圆 ", 3));
        const std::vector<int> caps{129, 130, 128};
        L.push_back(at("标签9", "顶部", "分组框5", 16, 0, 40));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条2", "分组框5", 64, 0, 0, 1000, 264)},
                     .fields = {129},
                     .title = "系统设置 - 顶部：",
                     .unit = "%",
                     .sendId = cfg::VrCaps,
                     .sendJoined = caps});
        L.push_back(at("标签10", "底部", "分组框5", 16, 1, 40));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条3", "分组框5", 64, 1, 0, 1000, 264)},
                     .fields = {130},
                     .title = "系统设置 - 底部：",
                     .unit = "%",
                     .sendId = cfg::VrCaps,
                     .sendJoined = caps});
        L.push_back(at("标签11", "颜色", "分组框5", 16, 2, 40));
        R.push_back({.binding = B::Colour,
                     .controls = {at("颜色选择器1", {}, "分组框5", 64, 2, 56)},
                     .fields = {128},
                     .sendId = cfg::VrCaps,
                     .sendJoined = caps});

        L.push_back(s.group("分组框6", " 渲染质量 ", 1));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条4", "分组框6", 16, 0, 0, 100, 320)},
                     .fields = {131},
                     .title = "系统设置 - 渲染质量：",
                     .unit = "%",
                     .sendId = cfg::VrQuality});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
