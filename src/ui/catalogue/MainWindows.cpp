// The main window and the windows it keeps around itself: side panel, floating control bar,
// the two hot-spot buttons and the video list.
#include "ui/catalogue/Windows.h"

namespace qinglan::ui::catalogue {

const WindowDesign& mainWindow() {
    static const WindowDesign design{
        .role = "MainWindow",
        .title = "青岚播放器",
        .size = {725, 550},
        .frame = Frame::Resizable,
        .controls =
            {
                {.name = "通用对话框1",
                 .geometry = {232, 312, 24, 24},
                 .caption = "字幕格式(*.sub;*.srt;*.pgs;*.smi;*.ass;*.ssa;*.lrc)|*.sub;*.srt;*.pgs;"
                            "*.smi;*.ass;*.ssa;*.lrc|所有文件*.*|*.*"},
                {.name = "拖放对象1", .geometry = {96, 320, 32, 32}},
                {.name = "图片框1", .geometry = {136, 112, 72, 72}},
                // Timer A runs from the start; B and C are started by code.
                {.name = "时钟1", .geometry = {296, 208, 32, 32}, .interval = 1000},
                {.name = "时钟3", .geometry = {296, 208, 32, 32}},
                {.name = "时钟4", .geometry = {296, 208, 32, 32}},
                // Receives hotkey notifications; never seen.
                {.name = "标签1", .geometry = {375, 370, 41, 22}, .hidden = true},
            },
    };
    return design;
}

const WindowDesign& sidePanel() {
    static const WindowDesign design{
        .role = "SidePanel",
        .size = {89, 390},
        .controls =
            {
                {.name = "图片框2", .geometry = {16, 24, 56, 50}},
                {.name = "图片框3", .geometry = {16, 112, 56, 50}},
                {.name = "图片框4", .geometry = {16, 200, 56, 50}},
                {.name = "图片框5", .geometry = {16, 288, 56, 50}},
                {.name = "标签2", .geometry = {31, 80, 32, 24}, .caption = "播放"},
                {.name = "标签3", .geometry = {31, 168, 32, 24}, .caption = "停止"},
                {.name = "标签4", .geometry = {23, 256, 48, 24}, .caption = "上一集"},
                {.name = "标签5", .geometry = {23, 344, 48, 24}, .caption = "下一集"},
            },
    };
    return design;
}

const WindowDesign& floatingControlBar() {
    static const WindowDesign design{
        .role = "FloatingControlBar",
        .size = {380, 30},
        .controls =
            {
                {.name = "标签1", .geometry = {152, 8, 41, 22}},
                {.name = "横向滚动条1", .geometry = {200, 9, 72, 12}},
            },
    };
    return design;
}

const WindowDesign& maximizeButton() {
    static const WindowDesign design{
        .role = "MaximizeButton",
        .size = {48, 41},
        .controls = {{.name = "气球提示框1", .geometry = {8, 8, 24, 24}, .caption = "最大化"}},
    };
    return design;
}

const WindowDesign& minimizeButton() {
    static const WindowDesign design{
        .role = "MinimizeButton",
        .size = {48, 41},
        .controls = {{.name = "气球提示框1", .geometry = {8, 8, 24, 24}, .caption = "最小化"}},
    };
    return design;
}

const WindowDesign& videoListWindow() {
    static const WindowDesign design{
        .role = "VideoListWindow",
        .size = {218, 355},
        .frame = Frame::ToolWindow,
        .controls =
            {
                {.name = "超级列表框1",
                 .geometry = {48, 120, 112, 128},
                 .items = {"视频列表", "路径列表"}},
                {.name = "时钟1", .geometry = {160, 256, 32, 24}},
                {.name = "通用对话框1", .geometry = {240, 40, 24, 24}},
            },
    };
    return design;
}

} // namespace qinglan::ui::catalogue
