// The transcode page: the lasting choices of the transcode window.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& transcodeOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Transcode};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;

        L.push_back(s.group("分组框1", " 转码 ", 3));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框1", " 开启", "分组框1", 16, 0),
                                  at("单选框2", " 关闭", "分组框1", 104, 0)},
                     .fields = {135, 136}});
        L.push_back(at("标签1", "转码尺寸：", "分组框1", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " 原始尺寸", "分组框1", 112, 1),
                                  at("选择框2", " 自定义", "分组框1", 200, 1)},
                     .fields = {137, 138},
                     .sendZero = {cfg::OutputWidth, cfg::OutputHeight},
                     .rule = OptionRule::SizeBoxes,
                     .partners = {"编辑框1", "编辑框2"}});
        L.push_back(at("标签2", "宽度", "分组框1", 16, 2, 40));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框1", {}, "分组框1", 64, 2, 96)},
                     .fields = {139},
                     .sendId = cfg::OutputWidth});
        L.push_back(at("标签3", "高度", "分组框1", 184, 2, 40));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框2", {}, "分组框1", 232, 2, 96)},
                     .fields = {140},
                     .sendId = cfg::OutputHeight});

        L.push_back(s.group("分组框2", " 播放模式 ", 3));
        L.push_back(at("标签4", "播放模式：", "分组框2", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框3", " 播放", "分组框2", 112, 0, 64),
                                  at("单选框4", " 格式转换", "分组框2", 176, 0, 88),
                                  at("单选框5", " 转码", "分组框2", 264, 0, 64)},
                     .fields = {141, 142, 143},
                     .sendId = cfg::ProcessingMode,
                     .sendValues = {"1", "2", "3"}});
        L.push_back(at("标签5", "截取格式：", "分组框2", 16, 1));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框1", "分组框2", 112, 1, transcodeFormats())},
                     .fields = {144},
                     .sendId = cfg::OutputFormat});
        L.push_back(at("标签6", "保存路径：", "分组框2", 16, 2, 72));
        R.push_back({.binding = B::EditBox,
                     .controls = {at("编辑框3", {}, "分组框2", 88, 2, 184)},
                     .fields = {145}});
        R.push_back({.binding = B::FolderButton,
                     .controls = {at("按钮1", "保存", "分组框2", 280, 2, 56)},
                     .fields = {145},
                     .partners = {"编辑框3"}});

        L.push_back(s.group("分组框3", " 保持纵横比 ", 1));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框6", " 保持", "分组框3", 16, 0),
                                  at("单选框7", " 不保持", "分组框3", 104, 0)},
                     .fields = {146, 147},
                     .sendId = cfg::OutputKeepAspect,
                     .sendValues = {"1", "0"}});

        // The track and subtitle indexes the next processed media uses.
        L.push_back(s.group("分组框4", " 音轨索引 ", 1));
        L.push_back(at("标签7", "音轨", "分组框4", 16, 0, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框2", "分组框4", 64, 0, indexItems())},
                     .fields = {148},
                     .sendId = cfg::OutputAudioTrack});
        L.push_back(s.group("分组框5", " 字幕语言索引 ", 1));
        L.push_back(at("标签8", "字幕", "分组框5", 16, 0, 40));
        R.push_back({.binding = B::NumberList,
                     .controls = {list("组合框3", "分组框5", 64, 0, indexItems())},
                     .fields = {149},
                     .sendId = cfg::OutputSubtitle});

        // Border sizes in pixels, offered in steps of 8 up to 200.
        L.push_back(s.group("分组框6", " 视频黑边值 ", 2));
        struct Edge {
            std::string_view label, caption, box;
            int field, left, line;
        };
        const Edge edges[] = {{"标签9", "上边", "组合框4", 150, 16, 0},
                              {"标签10", "下边", "组合框5", 151, 184, 0},
                              {"标签11", "左边", "组合框6", 152, 16, 1},
                              {"标签12", "右边", "组合框7", 153, 184, 1}};
        for (const Edge& e : edges) {
            L.push_back(at(e.label, e.caption, "分组框6", e.left, e.line, 40));
            R.push_back(
                {.binding = B::NumberList,
                 .controls = {list(e.box, "分组框6", e.left + 48, e.line, numberItems(0, 200, 8))},
                 .fields = {e.field},
                 .sendId = cfg::OutputBorder});
        }
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
