// Rows copied by hand from the window design, checked against both the catalogue data and the
// widgets the factory builds from it. A few rows per window; the structure tests cover the rest.
#include "ui/Find.h"
#include "ui/WindowFactory.h"

#include <settings/SettingsPages.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

using namespace qinglan::ui;

namespace {

struct DesignedWindow {
    const char* role;
    const char* title;
    int width;
    int height;
};

const DesignedWindow kWindows[] = {
    {"MainWindow", "青岚播放器", 725, 550},
    {"SettingsWindow", "系统设置", 573, 555},
    {"SubtitlePage", "", 417, 1110},
    {"PicturePage", "", 417, 1791},
    {"GeneralPage", "", 417, 527},
    {"SoundPage", "", 417, 1016},
    {"VrPage", "", 417, 1040},
    {"NetworkOpenDialog", "打开", 432, 204},
    {"HotkeyPage", "", 417, 551},
    {"TranscodePage", "", 417, 1040},
    {"AssociationPage", "", 417, 528},
    {"ScreenshotPage", "", 417, 728},
    {"MaximizeButton", "", 48, 41},
    {"SidePanel", "", 89, 390},
    {"VideoListWindow", "", 218, 355},
    {"PromptWindow", "", 216, 160},
    {"TranscodeWindow", "转码设置", 523, 394},
    {"AboutWindow", "关于我们", 432, 276},
    {"FloatingControlBar", "", 380, 30},
    {"VolumeWindow", "音量设置", 405, 373},
    {"MinimizeButton", "", 48, 41},
    {"SkipIntroWindow", "跳过片头片尾", 448, 236},
};

struct DesignedControl {
    const char* window;
    const char* control;
    Rect geometry;
    const char* caption; // nullptr: not checked
};

const DesignedControl kControls[] = {
    {"MainWindow", "通用对话框1", {232, 312, 24, 24}, nullptr},
    {"MainWindow", "拖放对象1", {96, 320, 32, 32}, nullptr},
    {"MainWindow", "图片框1", {136, 112, 72, 72}, nullptr},
    {"MainWindow", "时钟4", {296, 208, 32, 32}, nullptr},
    {"MainWindow", "标签1", {375, 370, 41, 22}, ""},
    {"SettingsWindow", "分组框5", {0, -8, 152, 537}, nullptr},
    {"SettingsWindow", "标签1", {0, 24, 151, 40}, "歌  词"},
    {"SettingsWindow", "标签26", {0, 176, 151, 40}, "声  音"},
    {"SettingsWindow", "标签32", {0, 464, 151, 40}, "虚拟现实"},
    {"SettingsWindow", "外形框1", {152, 0, 400, 1576}, nullptr},
    {"SettingsWindow", "纵向滚动条1", {552, 0, 16, 527}, nullptr},
    {"SubtitlePage", "外形框1", {0, 0, 400, 1112}, nullptr},
    {"SubtitlePage", "纵向滚动条1", {400, 0, 16, 527}, nullptr},
    {"PicturePage", "外形框1", {0, 0, 400, 1792}, nullptr},
    {"GeneralPage", "超级链接框1", {24, 32, 104, 24}, "恢复本页默认值"},
    {"AssociationPage", "分组框7", {24, 320, 352, 80}, " 默认值 "},
    {"AssociationPage", "分组框1", {24, 24, 352, 272}, " 文件关联 "},
    {"AssociationPage", "选择框1", {24, 32, 88, 24}, " .avi"},
    {"AssociationPage", "选择框18", {232, 232, 88, 24}, " .flac"},
    {"NetworkOpenDialog", "标签1", {24, 24, 64, 32}, "网络地址："},
    {"NetworkOpenDialog", "编辑框1", {104, 24, 296, 32}, nullptr},
    {"NetworkOpenDialog", "单选框1", {24, 80, 88, 16}, " 普通模式"},
    {"NetworkOpenDialog", "单选框2", {136, 80, 88, 16}, " 分享模式"},
    {"NetworkOpenDialog", "按钮2", {304, 120, 96, 32}, "取消"},
    {"SidePanel", "图片框5", {16, 288, 56, 50}, nullptr},
    {"SidePanel", "标签2", {31, 80, 32, 24}, "播放"},
    {"SidePanel", "标签4", {23, 256, 48, 24}, "上一集"},
    {"PromptWindow", "选择框1", {16, 93, 104, 24}, " 删除包含文件"},
    {"PromptWindow", "按钮1", {16, 88, 88, 32}, "确认"},
    {"TranscodeWindow", "编辑框3", {112, 78, 376, 24}, nullptr},
    {"TranscodeWindow", "按钮1", {384, 120, 104, 32}, "开始转换"},
    {"TranscodeWindow",
     "标签4",
     {32, 128, 328, 24},
     "转码成功会出现英文信息，转码失败没有任何反应。"},
    {"TranscodeWindow", "标签1", {32, 168, 456, 184}, nullptr},
    {"AboutWindow", "分组框1", {24, 24, 376, 200}, nullptr},
    {"AboutWindow", "标签1", {56, 56, 176, 32}, "版本号：1.0.0.6"},
    {"FloatingControlBar", "标签1", {152, 8, 41, 22}, nullptr},
    {"FloatingControlBar", "横向滚动条1", {200, 9, 72, 12}, nullptr},
    {"VolumeWindow", "分组框1", {24, 24, 352, 160}, " 音量设置 "},
    {"VolumeWindow", "分组框2", {24, 200, 352, 120}, " 纵横比 "},
    {"VolumeWindow", "滑块条1", {64, 114, 264, 24}, nullptr},
    {"SkipIntroWindow", "分组框1", {24, 24, 395, 160}, " 跳过片头片尾 "},
    {"SkipIntroWindow", "编辑框1", {96, 112, 64, 24}, nullptr},
    {"SkipIntroWindow", "编辑框2", {288, 112, 64, 24}, nullptr},
    {"MaximizeButton", "气球提示框1", {8, 8, 24, 24}, "最大化"},
    {"MinimizeButton", "气球提示框1", {8, 8, 24, 24}, "最小化"},
    {"VideoListWindow", "超级列表框1", {48, 120, 112, 128}, nullptr},
    {"VideoListWindow", "时钟1", {160, 256, 32, 24}, nullptr},
    {"VideoListWindow", "通用对话框1", {240, 40, 24, 24}, nullptr},
};

// Captions that carry only a designed text, by the kind of widget showing them.
QString shownCaption(QObject* o) {
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
    return o->property("text").toString();
}

} // namespace

TEST(UiCatalogueMatchesDesign, EveryWindowHasItsRoleTitleAndSize) {
    ASSERT_EQ(windowDesigns().size(), std::size(kWindows));
    for (const auto& w : kWindows) {
        SCOPED_TRACE(w.role);
        const WindowDesign* design = findWindowDesign(w.role);
        ASSERT_NE(design, nullptr);
        EXPECT_EQ(design->title, w.title);
        EXPECT_EQ(design->size, (Size{w.width, w.height}));
        std::unique_ptr<CatalogueWindow> built(buildWindow(w.role));
        EXPECT_EQ(built->windowTitle(), QString::fromUtf8(w.title));
        const Size client = design->clientSize();
        EXPECT_EQ(built->size(), QSize(client.width, client.height));
    }
}

TEST(UiCatalogueMatchesDesign, SettingsWindowClientAreaIsTheDesignedOne) {
    // The one window whose outer and client sizes are both designed fixes the frame allowance.
    EXPECT_EQ(findWindowDesign("SettingsWindow")->clientSize(), (Size{568, 527}));
    std::unique_ptr<CatalogueWindow> w(buildWindow("SettingsWindow"));
    EXPECT_EQ(w->size(), QSize(568, 527));
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "dialogs keep their designed size";
}

TEST(UiCatalogueMatchesDesign, ControlsHaveTheirDesignedGeometryAndCaption) {
    for (const auto& c : kControls) {
        SCOPED_TRACE(std::string(c.window) + " " + c.control);
        const WindowDesign* design = findWindowDesign(c.window);
        ASSERT_NE(design, nullptr);
        const ControlDesign* data = design->control(c.control);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->geometry, c.geometry);
        if (c.caption) {
            EXPECT_EQ(data->caption, c.caption);
        }

        std::unique_ptr<CatalogueWindow> window(buildWindow(c.window));
        QObject* built = findObject(window.get(), QString::fromUtf8(c.control));
        ASSERT_NE(built, nullptr);
        const QRect designed(c.geometry.left, c.geometry.top, c.geometry.width, c.geometry.height);
        EXPECT_EQ(built->property("designGeometry").toRect(), designed);
        if (auto* widget = qobject_cast<QWidget*>(built)) {
            EXPECT_EQ(widget->geometry(), designed);
        }
        if (c.caption && !isNonVisual(*kindOfName(c.control))) {
            EXPECT_EQ(shownCaption(built), QString::fromUtf8(c.caption));
        }
    }
}

TEST(UiCatalogueMatchesDesign, PageFramesMatchTheirHeights) {
    struct Row {
        const char* role;
        int shape;
        int defaultsTop;
    };
    const Row rows[] = {{"SettingsWindow", 1576, 1464}, {"SubtitlePage", 1112, 1000},
                        {"PicturePage", 1792, 1680},    {"SoundPage", 1016, 904},
                        {"GeneralPage", 528, 296},      {"ScreenshotPage", 728, 616},
                        {"HotkeyPage", 552, 440},       {"TranscodePage", 1040, 928},
                        {"AssociationPage", 528, 320},  {"VrPage", 1040, 928}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.role);
        const WindowDesign* design = findWindowDesign(r.role);
        const auto* frame = qinglan::settings::findPageByRole(r.role);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(design->control("外形框1")->geometry.height, r.shape);
        const ControlDesign* defaults = design->control(frame->defaultsGroup);
        ASSERT_NE(defaults, nullptr);
        EXPECT_EQ(defaults->geometry, (Rect{24, r.defaultsTop, 352, 80}));
        EXPECT_EQ(defaults->caption, " 默认值 ");
        EXPECT_EQ(defaults->parent, "外形框1");
        const ControlDesign* link = design->control("超级链接框1");
        EXPECT_EQ(link->parent, frame->defaultsGroup);
        EXPECT_EQ(link->caption, "恢复本页默认值");
        const ControlDesign* bar = design->control("纵向滚动条1");
        EXPECT_EQ(bar->range.maximum, r.shape - 527);
    }
}

TEST(UiCatalogueMatchesDesign, MenuCaptionsKeepTheirBlanks) {
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    QMenu* right = main->menu(QStringLiteral("右键菜单"));
    ASSERT_NE(right, nullptr);
    QStringList level1;
    for (QAction* a : right->actions())
        level1 << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(level1,
              (QStringList{"打开", "截取/转码", "-", "全屏", "播放", "置顶", "音量", "虚拟现实",
                           "字幕", "截图", "视频列表", "-", "系统设置        "}));
    EXPECT_NE(findMenuItem(right, {"打开", "本地视频        "}), nullptr);
    EXPECT_NE(findMenuItem(right, {"打开", "网络视频        "}), nullptr);
    EXPECT_NE(findMenuItem(right, {"字幕", "字幕设置        "}), nullptr);
    EXPECT_EQ(findMenuItem(right, {"打开", "本地视频"}), nullptr) << "blanks are part of it";
    EXPECT_FALSE(findMenuItem(right, {"播放", "跳出片头片尾"})->isEnabled());
    EXPECT_FALSE(findMenuItem(right, {"截图"})->isEnabled());
    EXPECT_FALSE(findMenuItem(right, {"置顶"})->isCheckable()) << "no check mark";

    QMenu* tray = main->menu(QStringLiteral("托盘菜单"));
    ASSERT_NE(tray, nullptr);
    QStringList trayItems;
    for (QAction* a : tray->actions())
        trayItems << a->text();
    EXPECT_EQ(trayItems, (QStringList{"关于", "系统设置", "显示主窗口  ", "退出"}));

    std::unique_ptr<CatalogueWindow> list(buildWindow("VideoListWindow"));
    QMenu* listMenu = list->menu(QStringLiteral("右键菜单"));
    ASSERT_NE(listMenu, nullptr);
    EXPECT_NE(findMenuItem(listMenu, {"添加文件夹    "}), nullptr);
    QAction* sequential = findMenuItem(listMenu, {"循环模式", "顺序播放    "});
    ASSERT_NE(sequential, nullptr);
    EXPECT_TRUE(sequential->isCheckable());
    EXPECT_TRUE(findMenuItem(listMenu, {"循环模式", "单曲循环"})->isCheckable());
}
