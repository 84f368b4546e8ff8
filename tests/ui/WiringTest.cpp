// Handlers are connected by name; unknown names are reported, and events reach the handler
// with the control and arguments that raised them.
#include "ui/Controls.h"
#include "ui/Find.h"
#include "ui/WindowFactory.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace qinglan::ui;

namespace {

// A table with every catalogue handler, each recording the events it receives.
struct Recorder {
    HandlerTable table;
    std::vector<std::pair<std::string, UiEvent>> calls;

    Recorder() {
        for (auto name : handlerNames())
            table.add(name,
                      [this, n = std::string(name)](UiEvent& e) { calls.emplace_back(n, e); });
    }
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& c : calls)
            n += c.first == name;
        return n;
    }
};

} // namespace

TEST(UiWiring, EveryWiredHandlerNameResolvesAgainstACompleteTable) {
    Recorder r;
    EXPECT_TRUE(missingHandlers(r.table).empty());
    EXPECT_TRUE(unusedHandlers(r.table).empty());
    for (const WindowDesign* design : windowDesigns()) {
        std::unique_ptr<CatalogueWindow> w(buildWindow(design->role));
        const WiringReport report = connectHandlers(w.get(), r.table);
        EXPECT_TRUE(report.missingHandlers.isEmpty())
            << design->role << ": " << report.missingHandlers.join(", ").toStdString();
        EXPECT_TRUE(report.missingControls.isEmpty())
            << design->role << ": " << report.missingControls.join(", ").toStdString();
    }
}

TEST(UiWiring, UnknownAndMisspeltHandlerNamesAreReported) {
    HandlerTable partial;
    partial.add("confirmNetworkOpen", [](UiEvent&) {});
    partial.add("confirmNetworkOpne", [](UiEvent&) {});
    std::unique_ptr<CatalogueWindow> w(buildWindow("NetworkOpenDialog"));
    const WiringReport report = connectHandlers(w.get(), partial);
    EXPECT_FALSE(report.ok());
    EXPECT_TRUE(report.missingHandlers.contains("cancelNetworkOpen"));
    EXPECT_TRUE(report.missingHandlers.contains("setUpNetworkOpenDialog"));
    EXPECT_FALSE(report.missingHandlers.contains("confirmNetworkOpen"));
    EXPECT_EQ(unusedHandlers(partial), std::vector<std::string>{"confirmNetworkOpne"});
    const auto missing = missingHandlers(partial);
    EXPECT_EQ(missing.size(), handlerNames().size() - 1);
    // A missing handler leaves its event without effect.
    find<QPushButton>(w.get(), u"按钮2")->click();
}

TEST(UiWiring, ControlEventsCarryTheirControlAndArguments) {
    Recorder r;
    std::unique_ptr<CatalogueWindow> dialog(buildWindow("NetworkOpenDialog"));
    connectHandlers(dialog.get(), r.table);
    find<QPushButton>(dialog.get(), u"按钮1")->click();
    ASSERT_EQ(r.count("confirmNetworkOpen"), 1);
    EXPECT_EQ(r.calls.back().second.control, "按钮1");
    EXPECT_EQ(r.calls.back().second.window, dialog.get());
    EXPECT_EQ(r.calls.back().second.kind, EventKind::Clicked);

    std::unique_ptr<CatalogueWindow> skip(buildWindow("SkipIntroWindow"));
    connectHandlers(skip.get(), r.table);
    find<QLineEdit>(skip.get(), u"编辑框2")->setText("60");
    ASSERT_EQ(r.count("storeOutro"), 1);
    EXPECT_EQ(r.calls.back().second.text, "60");

    std::unique_ptr<CatalogueWindow> panel(buildWindow("SidePanel"));
    connectHandlers(panel.get(), r.table);
    emit find<PictureBox>(panel.get(), u"图片框4")->leftPressed();
    emit find<ClickableLabel>(panel.get(), u"标签4")->leftPressed();
    EXPECT_EQ(r.count("pressPrevious"), 2);
}

TEST(UiWiring, FeedbackIsDeliveredLaterOnTheWindowThread) {
    Recorder r;
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    connectHandlers(main.get(), r.table);
    find<ClickableLabel>(main.get(), u"标签1")->postFeedback(7, 9);
    EXPECT_EQ(r.count("dispatchHotkey"), 0);
    QApplication::processEvents();
    ASSERT_EQ(r.count("dispatchHotkey"), 1);
    EXPECT_EQ(r.calls.back().second.first, 7);
    EXPECT_EQ(r.calls.back().second.second, 9);
}

TEST(UiWiring, ClockTicksReachTheirHandler) {
    Recorder r;
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    connectHandlers(main.get(), r.table);
    setClockPeriod(find<QTimer>(main.get(), u"时钟4"), 1);
    for (int i = 0; i < 200 && r.count("tickFade") == 0; ++i) {
        QApplication::processEvents();
        QThread::msleep(1);
    }
    EXPECT_GE(r.count("tickFade"), 1);
}

TEST(UiWiring, MenuItemsReachTheirHandlerWithTheirCaptionPath) {
    Recorder r;
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    connectHandlers(main.get(), r.table);
    QMenu* right = main->menu("右键菜单");
    findMenuItem(right, {"打开", "本地视频        "})->trigger();
    ASSERT_EQ(r.count("LaunchAddFilesProgram"), 1);
    EXPECT_EQ(r.calls.back().second.menuPath, (QStringList{"打开", "本地视频        "}));
    EXPECT_EQ(r.calls.back().second.kind, EventKind::Chosen);

    // Separators and submenu entries run nothing.
    const auto before = r.calls.size();
    for (QAction* a : right->actions())
        if (a->isSeparator() || a->menu()) a->trigger();
    EXPECT_EQ(r.calls.size(), before);

    findMenuItem(main->menu("托盘菜单"), {"系统设置"})->trigger();
    findMenuItem(right, {"系统设置        "})->trigger();
    EXPECT_EQ(r.count("openSettingsWindow"), 2);
}

TEST(UiWiring, CloseCanBeRefusedAndTheWindowStays) {
    HandlerTable handlers;
    handlers.add("hideVideoList", [](UiEvent& e) {
        e.refuse = true;
        e.window->hide();
    });
    QPointer<CatalogueWindow> list = buildWindow("VideoListWindow");
    connectHandlers(list, handlers);
    list->show();
    EXPECT_FALSE(list->close());
    QApplication::processEvents();
    ASSERT_FALSE(list.isNull());
    EXPECT_FALSE(list->isVisible());
    delete list.data();
}

TEST(UiWiring, AcceptedCloseDestroysTheWindowAfterItsDestroyHandler) {
    Recorder r;
    bool sawControls = false;
    r.table.add("returnEngineToPlayMode", [&](UiEvent& e) {
        sawControls = find<QPushButton>(e.window, u"按钮1") != nullptr;
    });
    QPointer<CatalogueWindow> w = buildWindow("TranscodeWindow");
    connectHandlers(w, r.table);
    w->show();
    EXPECT_TRUE(w->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_TRUE(sawControls);
}

TEST(UiWiring, CreateWindowAnnouncesCreationAfterWiring) {
    HandlerTable handlers;
    QString seenTitle;
    handlers.add("setUpAboutWindow", [&](UiEvent& e) {
        seenTitle = e.window->windowTitle();
        EXPECT_EQ(e.kind, EventKind::Created);
    });
    CreatedWindow created = createWindow("AboutWindow", handlers);
    std::unique_ptr<CatalogueWindow> owned(created.window);
    EXPECT_TRUE(created.report.ok());
    EXPECT_EQ(seenTitle, "关于我们");
}

TEST(UiWiring, TrayNotificationCarriesTheMouseAction) {
    Recorder r;
    std::unique_ptr<CatalogueWindow> main(buildWindow("MainWindow"));
    connectHandlers(main.get(), r.table);
    main->notifyTray(3);
    ASSERT_EQ(r.count("handleTrayEvent"), 1);
    EXPECT_EQ(r.calls.back().second.first, 3);
}
