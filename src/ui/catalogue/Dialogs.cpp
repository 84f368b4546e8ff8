// Dialogs and small tool windows opened from the menus and the video list.
#include "ui/catalogue/Windows.h"

#include <qinglan/Version.h>

#include <string>

namespace qinglan::ui::catalogue {

const WindowDesign& networkOpenDialog() {
    static const WindowDesign design{
        .role = "NetworkOpenDialog",
        .title = "打开",
        .size = {432, 204},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "标签1", .geometry = {24, 24, 64, 32}, .caption = "网络地址："},
                {.name = "编辑框1", .geometry = {104, 24, 296, 32}},
                // Normal mode starts selected so the choice is never blank.
                {.name = "单选框1",
                 .geometry = {24, 80, 88, 16},
                 .caption = " 普通模式",
                 .checked = true},
                {.name = "单选框2", .geometry = {136, 80, 88, 16}, .caption = " 分享模式"},
                {.name = "按钮1", .geometry = {192, 120, 96, 32}, .caption = "确定"},
                {.name = "按钮2", .geometry = {304, 120, 96, 32}, .caption = "取消"},
            },
    };
    return design;
}

// Shared two-button confirmation; title, text and layout are set by each use.
const WindowDesign& promptWindow() {
    static const WindowDesign design{
        .role = "PromptWindow",
        .size = {216, 160},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "标签1", .geometry = {16, 24, 48, 32}, .wordWrap = true},
                {.name = "选择框1", .geometry = {16, 93, 104, 24}, .caption = " 删除包含文件"},
                {.name = "按钮1", .geometry = {16, 88, 88, 32}, .caption = "确认"},
                {.name = "按钮2", .geometry = {112, 88, 88, 32}, .caption = "取消"},
            },
    };
    return design;
}

const WindowDesign& transcodeWindow() {
    static const WindowDesign design{
        .role = "TranscodeWindow",
        .title = "转码设置",
        .size = {523, 394},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "标签2", .geometry = {32, 32, 64, 24}, .caption = "开始时间："},
                {.name = "编辑框1", .geometry = {112, 32, 120, 24}},
                {.name = "标签3", .geometry = {288, 32, 64, 24}, .caption = "结束时间："},
                {.name = "编辑框2", .geometry = {368, 32, 120, 24}},
                {.name = "标签6", .geometry = {32, 78, 64, 24}, .caption = "视频名称："},
                {.name = "编辑框3", .geometry = {112, 78, 376, 24}},
                {.name = "按钮1", .geometry = {384, 120, 104, 32}, .caption = "开始转换"},
                {.name = "标签4",
                 .geometry = {32, 128, 328, 24},
                 .caption = "转码成功会出现英文信息，转码失败没有任何反应。"},
                // The label is narrower than its text: the line breaks inside the figure 5000.
                {.name = "标签1",
                 .geometry = {32, 168, 456, 184},
                 .caption = "    1.在“视频列表”里面导入视频。\n"
                            "\n"
                            "    2.在“开始时间”里面输入“1000”，在“结束时间”里面输入“50\n"
                            "\n"
                            "00”，单位毫秒。这里可以不填。\n"
                            "\n"
                            "    3.在“视频名称”里面输入“任意字符”即可。\n"
                            "\n"
                            "    4.鼠标单击“开始转换”按钮，在“视频列表”选择一个视频，就可\n"
                            "\n"
                            "以转换视频了。",
                 .wordWrap = true},
            },
    };
    return design;
}

const WindowDesign& aboutWindow() {
    // The caption shows the program's one version; the design holds views, so the text lives
    // as long as the design.
    static const std::string version = std::string("版本号：") + kVersion;
    static const WindowDesign design{
        .role = "AboutWindow",
        .title = "关于我们",
        .size = {432, 276},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "分组框1", .geometry = {24, 24, 376, 200}},
                {.name = "标签1",
                 .geometry = {56, 56, 176, 32},
                 .caption = version,
                 .parent = "分组框1"},
                {.name = "标签2",
                 .geometry = {56, 104, 256, 40},
                 .caption = "青岚播放器：播放本地视频、音频与网络视频。",
                 .parent = "分组框1",
                 .wordWrap = true},
            },
    };
    return design;
}

// Positions of the volume radios and labels are not part of the design; they are chosen to sit
// in their group boxes around the designed slider.
const WindowDesign& volumeWindow() {
    static const WindowDesign design{
        .role = "VolumeWindow",
        .title = "音量设置",
        .size = {405, 373},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "分组框1", .geometry = {24, 24, 352, 160}, .caption = " 音量设置 "},
                {.name = "标签2",
                 .geometry = {24, 40, 72, 24},
                 .caption = "音量设置：",
                 .parent = "分组框1"},
                {.name = "单选框7",
                 .geometry = {104, 40, 72, 24},
                 .caption = " 播放",
                 .parent = "分组框1"},
                {.name = "单选框8",
                 .geometry = {192, 40, 72, 24},
                 .caption = " 静音",
                 .parent = "分组框1"},
                {.name = "标签1",
                 .geometry = {24, 114, 40, 24},
                 .caption = "音量",
                 .parent = "分组框1"},
                {.name = "滑块条1",
                 .geometry = {64, 114, 264, 24},
                 .parent = "分组框1",
                 .range =
                     {.minimum = 1, .maximum = 1000, .value = 100, .pageStep = 5, .singleStep = 1}},
                {.name = "分组框2", .geometry = {24, 200, 352, 120}, .caption = " 纵横比 "},
                {.name = "单选框1",
                 .geometry = {24, 32, 96, 24},
                 .caption = " 默认",
                 .parent = "分组框2",
                 .checked = true},
                {.name = "单选框2",
                 .geometry = {128, 32, 96, 24},
                 .caption = " 4:3",
                 .parent = "分组框2"},
                {.name = "单选框3",
                 .geometry = {232, 32, 96, 24},
                 .caption = " 9:16",
                 .parent = "分组框2"},
                {.name = "单选框4",
                 .geometry = {24, 72, 96, 24},
                 .caption = " 2.35:1",
                 .parent = "分组框2"},
                {.name = "单选框5",
                 .geometry = {128, 72, 96, 24},
                 .caption = " 5:4",
                 .parent = "分组框2"},
                {.name = "单选框6",
                 .geometry = {232, 72, 96, 24},
                 .caption = " 16:10",
                 .parent = "分组框2"},
            },
    };
    return design;
}

// As with the volume window, only the two edit boxes carry designed positions.
const WindowDesign& skipIntroWindow() {
    static const WindowDesign design{
        .role = "SkipIntroWindow",
        .title = "跳过片头片尾",
        .size = {448, 236},
        .frame = Frame::Dialog,
        .controls =
            {
                {.name = "分组框1", .geometry = {24, 24, 395, 160}, .caption = " 跳过片头片尾 "},
                {.name = "标签3",
                 .geometry = {24, 40, 96, 24},
                 .caption = "片头片尾设置：",
                 .parent = "分组框1"},
                {.name = "单选框1",
                 .geometry = {128, 40, 72, 24},
                 .caption = " 开启",
                 .parent = "分组框1"},
                {.name = "单选框2",
                 .geometry = {216, 40, 72, 24},
                 .caption = " 关闭",
                 .parent = "分组框1"},
                {.name = "标签1",
                 .geometry = {24, 112, 64, 24},
                 .caption = "跳过片头",
                 .parent = "分组框1"},
                {.name = "编辑框1", .geometry = {96, 112, 64, 24}, .parent = "分组框1"},
                {.name = "标签2",
                 .geometry = {216, 112, 64, 24},
                 .caption = "跳过片尾",
                 .parent = "分组框1"},
                {.name = "编辑框2", .geometry = {288, 112, 64, 24}, .parent = "分组框1"},
            },
    };
    return design;
}

} // namespace qinglan::ui::catalogue
