// The sound page: every option but the AC3-DTS switch reaches the engine at once and again at
// every open.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& soundOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Sound};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 声道映射 ", 3));
        L.push_back(at("标签1", "声道：", "分组框1", 16, 0, 48));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 立体声", "分组框1", 64, 0, 72),
                                  at("单选框2", " 左声道", "分组框1", 136, 0, 72),
                                  at("单选框3", " 右声道", "分组框1", 208, 0, 72),
                                  at("单选框4", " 左右混合", "分组框1", 64, 1, 96)},
                     .fields = {98, 99, 100, 101},
                     .sendId = cfg::ChannelMap,
                     .sendValues = {"0", "1", "2", "3"}});
        L.push_back(at("标签2", "声道延时：", "分组框1", 16, 2, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条1", "分组框1", 96, 2, 0, 10000, 240)},
                     .fields = {102},
                     .title = "系统设置 - 声道延时：",
                     .unit = "ms",
                     .sendId = cfg::ChannelDelay});

        L.push_back(s.group("分组框2", " 统一音量 ", 1));
        L.push_back(at("标签3", "统一音量：", "分组框2", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框5", " 开启", "分组框2", 112, 0),
                                  at("单选框6", " 关闭", "分组框2", 200, 0)},
                     .fields = {103, 104},
                     .sendId = cfg::VolumeLevelling,
                     .sendValues = {"1", "0"}});

        // The track indexes a user can choose; typing one in only shows it.
        L.push_back(s.group("分组框3", " 音轨索引 ", 1));
        L.push_back(at("标签4", "音轨", "分组框3", 16, 0, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框1", "分组框3", 64, 0, indexItems())},
                     .fields = {105},
                     .sendId = cfg::AudioTrack});

        L.push_back(s.group("分组框4", " 虚拟环绕声 ", 2));
        L.push_back(at("标签5", "虚拟环绕声：", "分组框4", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框7", " 开启", "分组框4", 112, 0),
                                  at("单选框8", " 关闭", "分组框4", 200, 0)},
                     .fields = {106, 107},
                     .sendId = cfg::Surround,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签6", "深度设置：", "分组框4", 16, 1, 72));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条2", "分组框4", 96, 1, 0, 30, 240)},
                     .fields = {108},
                     .title = "系统设置 - 深度：",
                     .unit = "%",
                     .sendId = cfg::SurroundDepth});

        // The two radios send nothing: they only switch the rows below on and off.
        L.push_back(s.group("分组框5", " AC3-DTS 5.1 ", 5));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框9", " 开启", "分组框5", 16, 0),
                                  at("单选框10", " 关闭", "分组框5", 104, 0)},
                     .fields = {109, 110},
                     .rule = OptionRule::Ac3Rows,
                     .partners = {"标签7", "选择框1", "选择框2", "选择框3", "选择框4", "标签8",
                                  "滑块条3"}});
        L.push_back(at("标签7", "5.1 声道输出模式：", "分组框5", 16, 1, 136));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " 单声道输出", "分组框5", 16, 2, 104),
                                  at("选择框2", " 立体声输出", "分组框5", 128, 2, 104),
                                  at("选择框3", " 5.1 声道输出", "分组框5", 16, 3, 112),
                                  at("选择框4", " SPDIF 输出", "分组框5", 128, 3, 104)},
                     .fields = {111, 112, 113, 114},
                     .sendId = cfg::MultichannelMode,
                     .sendValues = {"1", "2", "3", "4"}});
        L.push_back(at("标签8", "5.1 声道音量：", "分组框5", 16, 4, 104));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条3", "分组框5", 128, 4, 0, 100, 208)},
                     .fields = {115},
                     .title = "系统设置 - 音量：",
                     .unit = "%",
                     .sendId = cfg::MultichannelVolume});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
