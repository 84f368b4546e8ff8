// The factory builds every designed window with controls of the right widget type, found by
// name, in their designed initial state.
#include "ui/Controls.h"
#include "ui/Find.h"
#include "ui/WindowFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace qinglan::ui;

namespace {

bool hasWidgetOfKind(QObject* o, Kind kind) {
    switch (kind) {
    case Kind::Button:
        return qobject_cast<QPushButton*>(o) && !qobject_cast<ColourPicker*>(o);
    case Kind::Label:
        return qobject_cast<ClickableLabel*>(o);
    case Kind::Edit:
        return qobject_cast<EditBox*>(o);
    case Kind::Radio:
        return qobject_cast<QRadioButton*>(o);
    case Kind::Check:
        return qobject_cast<QCheckBox*>(o);
    case Kind::Combo:
        return qobject_cast<QComboBox*>(o);
    case Kind::Slider:
        return qobject_cast<Trackbar*>(o);
    case Kind::Group:
        return qobject_cast<GroupBox*>(o);
    case Kind::Picture:
        return qobject_cast<PictureBox*>(o);
    case Kind::Clock:
        return qobject_cast<QTimer*>(o);
    case Kind::ListView:
        return qobject_cast<QTreeWidget*>(o);
    case Kind::Shape:
        return qobject_cast<ShapeFrame*>(o);
    case Kind::VScroll:
        return qobject_cast<ScrollBar*>(o) &&
               qobject_cast<ScrollBar*>(o)->orientation() == Qt::Vertical;
    case Kind::HScroll:
        return qobject_cast<ScrollBar*>(o) &&
               qobject_cast<ScrollBar*>(o)->orientation() == Qt::Horizontal;
    case Kind::Link:
        return qobject_cast<LinkLabel*>(o);
    case Kind::Colour:
        return qobject_cast<ColourPicker*>(o);
    case Kind::FileDialog:
        return qobject_cast<FileDialogBox*>(o);
    case Kind::DropTarget:
        return qobject_cast<DropTarget*>(o);
    case Kind::Balloon:
        return qobject_cast<BalloonTip*>(o);
    }
    return false;
}

} // namespace

TEST(UiFactory, BuildsEveryControlAsItsKindInsideItsContainer) {
    for (const WindowDesign* design : windowDesigns()) {
        SCOPED_TRACE(std::string(design->role));
        std::unique_ptr<CatalogueWindow> w(buildWindow(design->role));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->role(), toQString(design->role));
        for (const ControlDesign& c : design->controls) {
            SCOPED_TRACE(std::string(c.name));
            const QString name = toQString(c.name);
            QObject* o = findObject(w.get(), name);
            ASSERT_NE(o, nullptr);
            EXPECT_TRUE(hasWidgetOfKind(o, *kindOfName(c.name)));
            // Exactly one object answers to the name in this window.
            int sameName = 0;
            for (QObject* any : w->findChildren<QObject*>(name))
                sameName += any->objectName() == name;
            EXPECT_EQ(sameName, 1);
            const QObject* expectedParent = c.parent.empty()
                                                ? static_cast<QObject*>(w.get())
                                                : findObject(w.get(), toQString(c.parent));
            EXPECT_EQ(o->parent(), expectedParent);
            if (auto* widget = qobject_cast<QWidget*>(o)) {
                EXPECT_EQ(widget->isHidden(), c.hidden);
                EXPECT_EQ(widget->isEnabled(), !c.disabled);
            }
        }
    }
}

TEST(UiFactory, UnknownRoleBuildsNothing) {
    EXPECT_EQ(buildWindow("NoSuchWindow"), nullptr);
}

TEST(UiFactory, WindowFramesFollowTheirDesign) {
    std::unique_ptr<CatalogueWindow> panel(buildWindow("SidePanel"));
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(panel->size(), QSize(89, 390)) << "frameless windows are all client area";

    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    EXPECT_FALSE(main->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main->size(), QSize(720, 522));
    EXPECT_NE(main->minimumSize(), main->maximumSize()) << "the main window can be resized";

    std::unique_ptr<CatalogueWindow> volume(buildWindow("VolumeWindow"));
    EXPECT_EQ(volume->minimumSize(), volume->maximumSize());
    EXPECT_TRUE(volume->testAttribute(Qt::WA_DeleteOnClose));
}

TEST(UiFactory, PerUseSizesAreDesignedOuterSizes) {
    std::unique_ptr<CatalogueWindow> prompt(buildWindow("PromptWindow"));
    setDesignedSize(prompt.get(), {335, 160}); // the delete prompt's width
    EXPECT_EQ(prompt->size(), QSize(330, 132));
    EXPECT_EQ(prompt->minimumSize(), prompt->maximumSize());
    std::unique_ptr<CatalogueWindow> bar(buildWindow("FloatingControlBar"));
    setDesignedSize(bar.get(), {723, 30});
    EXPECT_EQ(bar->size(), QSize(723, 30));
}

TEST(UiFactory, OwnedWindowsAreTopLevelWindowsOfTheirOwner) {
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    QPointer<CatalogueWindow> skip = buildWindow("SkipIntroWindow", main.get());
    EXPECT_TRUE(skip->isWindow());
    EXPECT_EQ(skip->parentWidget(), main.get());
    main.reset();
    EXPECT_TRUE(skip.isNull()) << "destroyed with its owner";
}

TEST(UiFactory, InitialStatesAsDesigned) {
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    EXPECT_TRUE(find<QLabel>(main.get(), u"标签1")->isHidden());
    auto* timerA = find<QTimer>(main.get(), u"时钟1");
    ASSERT_NE(timerA, nullptr);
    EXPECT_TRUE(timerA->isActive());
    EXPECT_EQ(timerA->interval(), 1000);
    EXPECT_FALSE(find<QTimer>(main.get(), u"时钟3")->isActive());
    EXPECT_FALSE(find<QTimer>(main.get(), u"时钟4")->isActive());
    EXPECT_TRUE(main->acceptDrops());
    EXPECT_EQ(find<FileDialogBox>(main.get(), u"通用对话框1")->filter(),
              "字幕格式(*.sub;*.srt;*.pgs;*.smi;*.ass;*.ssa;*.lrc)|*.sub;*.srt;*.pgs;*.smi;*.ass;"
              "*.ssa;*.lrc|所有文件*.*|*.*");

    std::unique_ptr<CatalogueWindow> list(buildWindow("VideoListWindow"));
    auto* view = find<QTreeWidget>(list.get(), u"超级列表框1");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->headerItem()->text(0), "视频列表");
    EXPECT_EQ(view->headerItem()->text(1), "路径列表");
    EXPECT_FALSE(view->rootIsDecorated());
    EXPECT_FALSE(find<QTimer>(list.get(), u"时钟1")->isActive());

    std::unique_ptr<CatalogueWindow> volume(buildWindow("VolumeWindow"));
    auto* slider = find<Trackbar>(volume.get(), u"滑块条1");
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 1000);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(slider->pageStep(), 5);
    EXPECT_TRUE(find<QRadioButton>(volume.get(), u"单选框1")->isChecked());
    // Radio groups are per group box: choosing a volume radio keeps the aspect choice.
    find<QRadioButton>(volume.get(), u"单选框8")->click();
    EXPECT_TRUE(find<QRadioButton>(volume.get(), u"单选框1")->isChecked());
    find<QRadioButton>(volume.get(), u"单选框3")->click();
    EXPECT_FALSE(find<QRadioButton>(volume.get(), u"单选框1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(volume.get(), u"单选框8")->isChecked());

    std::unique_ptr<CatalogueWindow> tip(buildWindow("MinimizeButton"));
    EXPECT_EQ(find<BalloonTip>(tip.get(), u"气球提示框1")->text(), "最小化");
}

TEST(UiFactory, LookupFindsByNameAndTypeOnly) {
    std::unique_ptr<CatalogueWindow> w(buildWindow("NetworkOpenDialog"));
    EXPECT_NE(find<QPushButton>(w.get(), u"按钮1"), nullptr);
    EXPECT_EQ(find<QLineEdit>(w.get(), u"按钮1"), nullptr) << "wrong type";
    EXPECT_EQ(find<QPushButton>(w.get(), u"按钮3"), nullptr);
    EXPECT_EQ(&control<QLineEdit>(w.get(), u"编辑框1"), find<QLineEdit>(w.get(), u"编辑框1"));
    EXPECT_THROW(control<QPushButton>(w.get(), u"按钮9"), std::logic_error);
}

TEST(UiFactory, EmbeddedPageKeepsItsOwnNames) {
    std::unique_ptr<CatalogueWindow> settings(buildWindow("SettingsWindow"));
    CatalogueWindow* page = buildWindow("SoundPage");
    page->setParent(settings.get(), Qt::Widget);
    page->move(152, 0);
    auto* own = find<ShapeFrame>(settings.get(), u"外形框1");
    auto* pageShape = find<ShapeFrame>(page, u"外形框1");
    ASSERT_NE(own, nullptr);
    ASSERT_NE(pageShape, nullptr);
    EXPECT_NE(own, pageShape);
    EXPECT_EQ(own->height(), 1576);
    EXPECT_EQ(pageShape->height(), 1016);
    // The sound page's fourth check box has no namesake on the lyrics page.
    ASSERT_NE(find<QCheckBox>(page, u"选择框4"), nullptr);
    EXPECT_EQ(find<QCheckBox>(settings.get(), u"选择框4"), nullptr) << "page control not visible";
}

TEST(UiFactory, MenusBelongToTheirWindow) {
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    QMenu* right = main->menu("右键菜单");
    ASSERT_NE(right, nullptr);
    QAction* local = findMenuItem(right, {"打开", "本地视频        "});
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->property("handler").toString(), "LaunchAddFilesProgram");
    EXPECT_EQ(findMenuItem(right, {"打开", "网络视频        ", "x"}), nullptr);
    EXPECT_EQ(main->menu("nothing"), nullptr);
    std::unique_ptr<CatalogueWindow> about(buildWindow("AboutWindow"));
    EXPECT_EQ(about->menu("右键菜单"), nullptr);
}
