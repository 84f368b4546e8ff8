// The picture page: every option reaches the engine at once and again at every open.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

namespace {

const std::vector<std::string_view>& rendererHints() {
    static const std::vector<std::string_view> hints{
        "Win7系统下可能会出现锯齿，不建议使用。",
        "支持第三方屏幕截图、支持高清字幕，但Win7系统不建议使用。",
        "Vista及以上系统使用，支持DXVA2加速。",
        "Vista及以上系统使用，支持DXVA2加速。",
    };
    return hints;
}

} // namespace

const PageOptions& pictureOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Picture};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        using B = Binding;
        auto onOff = [](std::string_view on, std::string_view off, std::string_view group, int line,
                        int left = 112) {
            return std::vector<ControlDesign>{at(on, " 开启", group, left, line),
                                              at(off, " 关闭", group, left + 88, line)};
        };

        L.push_back(s.group("分组框1", " 画质增强 ", 1));
        R.push_back({.binding = B::RadioGroup,
                     .controls = onOff("单选框1", "单选框2", "分组框1", 0, 16),
                     .fields = {51, 52},
                     .sendId = cfg::Enhancement,
                     .sendValues = {"1", "0"}});

        L.push_back(s.group("分组框2", " 画质对比 ", 1));
        R.push_back({.binding = B::RadioGroup,
                     .controls = onOff("单选框3", "单选框4", "分组框2", 0, 16),
                     .fields = {53, 54},
                     .sendId = cfg::Comparison,
                     .sendValues = {"1", "0"}});

        L.push_back(s.group("分组框3", " 色彩调节 ", 4));
        struct Colour {
            std::string_view label, caption, slider, title;
            int field, id;
        };
        const Colour colours[] = {
            {"标签1", "亮度", "滑块条1", "系统设置 - 亮度：", 55, cfg::Brightness},
            {"标签2", "对比度", "滑块条2", "系统设置 - 对比度：", 56, cfg::Contrast},
            {"标签3", "饱和度", "滑块条3", "系统设置 - 饱和度：", 57, cfg::Saturation},
            {"标签4", "色相", "滑块条4", "系统设置 - 色相：", 58, cfg::Hue},
        };
        for (int i = 0; i < 4; ++i) {
            const Colour& c = colours[i];
            L.push_back(at(c.label, c.caption, "分组框3", 16, i, 56));
            R.push_back({.binding = B::Slider,
                         .controls = {slider(c.slider, "分组框3", 80, i, 0, 100, 256)},
                         .fields = {c.field},
                         .title = c.title,
                         .unit = "%",
                         .sendId = c.id});
        }

        // The hint takes two lines: the longest one does not fit on one beside the group's
        // edges in the usual desktop fonts.
        L.push_back(s.group("分组框4", " 渲染模式 ", 3));
        L.push_back(at("标签5", "模式", "分组框4", 16, 0, 40));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框1", "分组框4", 64, 0, rendererNames(), 200)},
                     .fields = {59},
                     .sendId = cfg::Renderer,
                     .sendValues = {"1", "2", "3", "4"},
                     .rule = OptionRule::RendererHint,
                     .partners = {"标签6"},
                     .hints = rendererHints()});
        L.push_back([] {
            ControlDesign hint = at("标签6", {}, "分组框4", 16, 1, 328);
            hint.geometry.height = lineTop(2) - lineTop(1) + kControlHeight;
            hint.wordWrap = true;
            return hint;
        }());

        L.push_back(s.group("分组框5", " 硬件加速 ", 2));
        L.push_back(at("标签7", "硬件加速：", "分组框5", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = onOff("单选框5", "单选框6", "分组框5", 0),
                     .fields = {64, 65},
                     .sendId = cfg::HardwareDecoding,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签8", "加速模式：", "分组框5", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框1", " DXVA", "分组框5", 112, 1),
                                  at("选择框2", " DXVA2", "分组框5", 200, 1)},
                     .fields = {66, 67},
                     .sendId = cfg::HardwareDecodingMode,
                     .sendValues = {"0", "1"}});

        L.push_back(s.group("分组框6", " 图像旋转 ", 3));
        L.push_back(at("标签9", "水平翻转：", "分组框6", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = {at("单选框7", " 翻转", "分组框6", 112, 0),
                                  at("单选框8", " 不翻转", "分组框6", 200, 0)},
                     .fields = {68, 69},
                     .sendId = cfg::FlipHorizontal,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签10", "垂直翻转：", "分组框6", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框3", " 翻转", "分组框6", 112, 1),
                                  at("选择框4", " 不翻转", "分组框6", 200, 1)},
                     .fields = {70, 71},
                     .sendId = cfg::FlipVertical,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签11", "旋转", "分组框6", 16, 2, 56));
        R.push_back({.binding = B::Slider,
                     .controls = {slider("滑块条5", "分组框6", 80, 2, 0, 360, 256)},
                     .fields = {72},
                     .title = "系统设置 - 图像旋转：",
                     .unit = "°",
                     .sendId = cfg::RotateDegrees});

        L.push_back(s.group("分组框7", " 3D 播放 ", 4));
        R.push_back({.binding = B::RadioGroup,
                     .controls = onOff("单选框9", "单选框10", "分组框7", 0, 16),
                     .fields = {73, 74},
                     .sendId = cfg::Stereo3d,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签12", "3D 效果：", "分组框7", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框5", " 显示", "分组框7", 112, 1),
                                  at("选择框6", " 隐藏", "分组框7", 200, 1)},
                     .fields = {75, 76},
                     .sendId = cfg::Stereo3dEffect,
                     .sendValues = {"1", "0"},
                     .rule = OptionRule::OneAlwaysTicked});
        L.push_back(at("标签13", "分色模式：", "分组框7", 16, 2));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框7", " 虚拟", "分组框7", 112, 2, 72),
                                  at("选择框8", " 左右", "分组框7", 192, 2, 72),
                                  at("选择框9", " 上下", "分组框7", 272, 2, 72)},
                     .fields = {78, 79, 80},
                     .sendId = cfg::Stereo3dLayout,
                     .sendValues = {"1", "2", "3"}});
        L.push_back(at("标签14", "分色颜色：", "分组框7", 16, 3));
        R.push_back({.binding = B::NamedList,
                     .controls = {list("组合框2", "分组框7", 112, 3, colourPairNames())},
                     .fields = {77},
                     .sendId = cfg::Stereo3dPair,
                     .sendValues = numberItems(1, 12)});

        L.push_back(s.group("分组框8", " 图像处理 ", 3));
        L.push_back(at("标签15", "OpenGL 加速：", "分组框8", 16, 0));
        R.push_back({.binding = B::RadioGroup,
                     .controls = onOff("单选框11", "单选框12", "分组框8", 0),
                     .fields = {81, 82},
                     .sendId = cfg::OpenGl,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签16", "AVX2 加速：", "分组框8", 16, 1));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框10", " 开启", "分组框8", 112, 1),
                                  at("选择框11", " 关闭", "分组框8", 200, 1)},
                     .fields = {83, 84},
                     .sendId = cfg::Avx2,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签17", "SSE2 加速：", "分组框8", 16, 2));
        R.push_back({.binding = B::ExclusiveChecks,
                     .controls = {at("选择框12", " 开启", "分组框8", 112, 2),
                                  at("选择框13", " 关闭", "分组框8", 200, 2)},
                     .fields = {85, 86},
                     .sendId = cfg::Sse2,
                     .sendValues = {"1", "0"}});
        L.push_back(at("标签18", "分色说明：左眼颜色在前。", "分组框7", 216, 3, 128));
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
