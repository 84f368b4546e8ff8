// The three popup menus, captions exact: several carry trailing blanks that pad the popup.
#include "ui/Catalogue.h"

namespace qinglan::ui {

const std::vector<MenuDesign>& menuDesigns() {
    static const std::vector<MenuDesign> menus{
        {.window = "MainWindow",
         .name = "右键菜单",
         .items =
             {
                 {.level = 1, .caption = "打开"},
                 {.level = 2, .caption = "本地视频        ", .handler = "LaunchAddFilesProgram"},
                 {.level = 2, .caption = "网络视频        ", .handler = "openNetworkOpenDialog"},
                 {.level = 1, .caption = "截取/转码", .handler = "openTranscodeWindow"},
                 {.level = 1, .caption = "-"},
                 {.level = 1, .caption = "全屏", .handler = "toggleFullScreen"},
                 {.level = 1, .caption = "播放"},
                 {.level = 2,
                  .caption = "跳出片头片尾",
                  .handler = "openSkipIntroWindow",
                  .disabled = true},
                 {.level = 1, .caption = "置顶", .handler = "toggleAlwaysOnTop"},
                 {.level = 1, .caption = "音量", .handler = "openVolumeWindow"},
                 {.level = 1, .caption = "虚拟现实", .handler = "ApplyVr"},
                 {.level = 1, .caption = "字幕"},
                 {.level = 2, .caption = "打开", .handler = "chooseSubtitleFile"},
                 {.level = 2, .caption = "字幕设置        ", .handler = "openSubtitleSettings"},
                 {.level = 1, .caption = "截图", .handler = "TakeScreenshot", .disabled = true},
                 {.level = 1, .caption = "视频列表", .handler = "showVideoList"},
                 {.level = 1, .caption = "-"},
                 {.level = 1, .caption = "系统设置        ", .handler = "openSettingsWindow"},
             }},
        {.window = "MainWindow",
         .name = "托盘菜单",
         .items =
             {
                 {.level = 1, .caption = "关于", .handler = "openAboutWindow"},
                 {.level = 1, .caption = "系统设置", .handler = "openSettingsWindow"},
                 {.level = 1, .caption = "显示主窗口  ", .handler = "showMainWindow"},
                 {.level = 1, .caption = "退出", .handler = "exitPlayer"},
             }},
        {.window = "VideoListWindow",
         .name = "右键菜单",
         .items =
             {
                 {.level = 1, .caption = "添加文件", .handler = "AddFiles"},
                 {.level = 1, .caption = "添加文件夹    ", .handler = "AddFolder"},
                 {.level = 1, .caption = "打开目录", .handler = "OpenContainingFolder"},
                 {.level = 1, .caption = "删除文件", .handler = "DeleteEntry"},
                 {.level = 1, .caption = "清空", .handler = "ClearList"},
                 {.level = 1, .caption = "循环模式"},
                 // The tick follows the loop mode; the list's creation puts it on the first.
                 {.level = 2,
                  .caption = "顺序播放    ",
                  .handler = "setLoopSequential",
                  .checkable = true},
                 {.level = 2, .caption = "随机播放", .handler = "setLoopRandom", .checkable = true},
                 {.level = 2,
                  .caption = "单曲循环",
                  .handler = "setLoopRepeatOne",
                  .checkable = true},
             }},
    };
    return menus;
}

const MenuDesign* findMenuDesign(std::string_view window, std::string_view name) {
    for (const auto& m : menuDesigns())
        if (m.window == window && m.name == name) return &m;
    return nullptr;
}

} // namespace qinglan::ui
