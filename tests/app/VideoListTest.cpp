// The video list window inside the main window, offscreen with the fake engine and a
// temporary data folder: its rows from means.edb, the play order through the player's own
// hooks, folder adds, delete, clear, the add-files poll and the window's rules.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/VideoListController.h"
#include "app/Wiring.h"
#include "support/TempDataDir.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/FakeEngine.h>
#include <medialist/ListStore.h>
#include <settings/SettingsFields.h>
#include <ui/Find.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>

using namespace qinglan;
using app::processState;
namespace fs = std::filesystem;
namespace field = settings::field;

namespace {

void touch(const fs::path& p) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

struct VideoListFixture : ::testing::Test {
    test::TempDataDir data;
    std::optional<app::ProcessStateScope> process{std::in_place};
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;

    void TearDown() override { window.reset(); }
    // The player started again is a new process, with a state of its own.
    void newProcess() {
        process.reset();
        process.emplace();
    }
    // A means.edb with these paths before the player starts.
    void prepareList(const std::vector<std::string>& paths) {
        medialist::ListStore store(data.playerDataDir());
        ASSERT_TRUE(store.append(paths).ok());
    }
    std::vector<std::string> records() {
        medialist::ListStore store(data.playerDataDir());
        auto p = store.paths();
        return p.ok() ? p.value() : std::vector<std::string>{};
    }
    void start() {
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(list(), nullptr);
    }
    // Shuts the player down and starts it again on the same files.
    void restart() {
        window->shutdown();
        window.reset();
        newProcess();
        start();
    }
    app::VideoListController* list() const {
        return window ? app::VideoListController::of(*window) : nullptr;
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (int i = 0; i < list()->model().count(); ++i)
            out.emplace_back(list()->model().path(i));
        return out;
    }
    void run(const char* handler, ui::CatalogueWindow* on = nullptr) {
        ui::UiEvent e;
        e.window = on ? on : window->videoList();
        (*window->handlers().find(handler))(e);
    }
    void waitForScan() {
        QElapsedTimer t;
        t.start();
        while (list()->scanning() && t.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
    }
    void addFolder(const fs::path& folder) {
        list()->chooseFolder = [folder] { return folder.string(); };
        run("AddFolder");
        waitForScan();
    }
    void endOfMedia() {
        engine->setConfigAnswer(aplayer::cfg::PlayResult, "0");
        window->playback().progressTick();
        engine->setConfigAnswer(aplayer::cfg::PlayResult, std::nullopt);
    }
};

} // namespace

TEST_F(VideoListFixture, CreatedHiddenWithABlankTitleAtTheStoredGeometryAndTheStoredRow) {
    prepareList({"/v/one.mp4", "/v/two.mp4", "/w/one.mp4", "/v/three.mp4"});
    start();
    auto* w = window->videoList();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->windowTitle().trimmed().isEmpty());
    EXPECT_NE(w->windowTitle(), QStringLiteral("青岚播放器"));
    EXPECT_EQ(w->geometry(), QRect(50, 50, 218, 355)); // fields 165, 166, 174, 175 of a first run
    EXPECT_NEAR(w->windowOpacity(), 70 / 255.0, 0.01); // field 196
    // The rows: one per name, in file order, both columns filled.
    EXPECT_EQ(rows(), (std::vector<std::string>{"/v/one.mp4", "/v/two.mp4", "/v/three.mp4"}));
    auto* view = ui::find<QTreeView>(w, u"超级列表框1");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("视频列表"));
    EXPECT_EQ(view->model()->data(view->model()->index(2, 1)).toString(),
              QStringLiteral("/v/three.mp4"));
    EXPECT_EQ(list()->selectedRow(), -1); // field 172 of a first run
    EXPECT_EQ(list()->order().loopMode(), medialist::LoopMode::Sequential);
    auto* sequential = ui::findMenuItem(w->menu("右键菜单"), {"循环模式", "顺序播放    "});
    ASSERT_NE(sequential, nullptr);
    EXPECT_TRUE(sequential->isChecked());

    // The selected row is saved at shutdown and selected again at the next start.
    list()->select(2);
    restart();
    EXPECT_EQ(processState().store->read(field::ListRow).value().toInt(), 2);
    EXPECT_EQ(list()->selectedRow(), 2);
    list()->select(-1);
    restart();
    EXPECT_EQ(list()->selectedRow(), -1);
}

TEST_F(VideoListFixture, AWindowDraggedWideIsCutTo520AndTheListFillsItLess15) {
    start();
    auto* w = window->videoList();
    w->show();
    w->resize(700, 400);
    QApplication::processEvents();
    EXPECT_EQ(w->width(), 520);
    EXPECT_EQ(list()->view()->geometry(), QRect(0, 0, 520, w->height() - 15));
    w->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(list()->view()->geometry(), QRect(0, 0, 300, 185));
    // Closing only hides it; the rows stay.
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(window->videoList(), w);
}

TEST_F(VideoListFixture, AFolderAddShowsTheListedTypesAndStoresThemAgainWhenAddedTwice) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "a.avi");
    touch(folder / "b.MKV");
    touch(folder / "c.txt");
    touch(folder / "sub" / "d.mp3");
    start();
    addFolder(folder);
    const std::vector<std::string> expected{(folder / "a.avi").string(),
                                            (folder / "sub" / "d.mp3").string()};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(records(), expected);
    EXPECT_TRUE(processState().fileConfigChanged);

    addFolder(folder);
    EXPECT_EQ(rows(), expected); // no new rows
    EXPECT_EQ(records().size(), 4u);
    restart();
    EXPECT_EQ(rows(), expected); // the names are shown once
}

TEST_F(VideoListFixture, ACancelledFolderChoiceChangesNothing) {
    start();
    list()->chooseFolder = [] { return std::string(); };
    run("AddFolder");
    EXPECT_FALSE(list()->scanning());
    EXPECT_FALSE(processState().fileConfigChanged);
    EXPECT_TRUE(records().empty());
}

TEST_F(VideoListFixture, TheEndOfEachItemAdvancesByTheLoopMode) {
    prepareList({"/v/0.mp4", "/v/1.mp4", "/v/2.mp4"});
    start();
    list()->select(1);
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/2.mp4");
    EXPECT_EQ(processState().currentMedia, "/v/2.mp4");
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/0.mp4");
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/1.mp4");

    run("setLoopRepeatOne");
    auto* menu = window->videoList()->menu("右键菜单");
    EXPECT_TRUE(ui::findMenuItem(menu, {"循环模式", "单曲循环"})->isChecked());
    EXPECT_FALSE(ui::findMenuItem(menu, {"循环模式", "顺序播放    "})->isChecked());
    list()->select(2);
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/2.mp4");
    list()->select(0);
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/0.mp4");
    // The side panel's next moves on even in single loop; previous from row 0 is the last row.
    window->playback().next();
    EXPECT_EQ(engine->lastOpened(), "/v/1.mp4");
    window->playback().previous();
    window->playback().previous();
    EXPECT_EQ(engine->lastOpened(), "/v/2.mp4");

    run("setLoopRandom");
    list()->order() = medialist::PlayOrder([](int) { return 1; });
    list()->order().setLoopMode(medialist::LoopMode::Random);
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/1.mp4");
}

TEST_F(VideoListFixture, WithNoRowSelectedTheEndPlaysTheFirstRowAndAnEmptyListNothing) {
    start();
    engine->clearCalls();
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "");
    window.reset();
    newProcess();
    prepareList({"/v/0.mp4", "/v/1.mp4"});
    start();
    endOfMedia();
    EXPECT_EQ(engine->lastOpened(), "/v/0.mp4");
    EXPECT_EQ(list()->selectedRow(), 0);
}

TEST_F(VideoListFixture, ADoubleClickPlaysTheRowAndLeavesShareMode) {
    prepareList({"/v/0.mp4", "/v/1.mp4"});
    start();
    processState().shareMode = true;
    window->controlBar()->hide();
    list()->select(1);
    run("PlayEntry");
    EXPECT_EQ(engine->lastOpened(), "/v/1.mp4");
    EXPECT_FALSE(processState().shareMode);
    EXPECT_TRUE(window->controlBar()->isVisible());
    QWidget* video = engine->APlayer_GetWindow();
    EXPECT_EQ(video->geometry(),
              QRect(0, 0, window->window()->width(), window->window()->height() - 62));
    // The last row double-clicked twice plays itself both times.
    list()->select(1);
    run("PlayEntry");
    list()->select(1);
    run("PlayEntry");
    EXPECT_EQ(engine->lastOpened(), "/v/1.mp4");
    // Nothing selected: nothing plays (not even the path that played last).
    engine->clearCalls();
    list()->select(-1);
    run("PlayEntry");
    EXPECT_TRUE(engine->callsOf("APlayer_OpenA").empty());
}

TEST_F(VideoListFixture, ARightPressClosesTheSidePanelAndOffersTheListMenu) {
    start();
    processState().sidePanelEnabled = true;
    ui::UiEvent e;
    e.window = window->videoList();
    e.globalPos = QPoint(100, 100);
    (*window->handlers().find("popUpListMenu"))(e);
    EXPECT_FALSE(processState().sidePanelEnabled);
    QMenu* menu = window->videoList()->menu("右键菜单");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"添加文件", "添加文件夹    ", "打开目录", "删除文件", "清空",
                                     "循环模式"}));
    menu->hide();
}

TEST_F(VideoListFixture, DeleteWithoutTheBoxLeavesTheFileAndTheEntryStaysGone) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "keep.mp4");
    touch(folder / "other.mp4");
    const std::string keep = (folder / "keep.mp4").string();
    prepareList({keep, (folder / "other.mp4").string(), keep});
    start();
    list()->select(0);
    run("DeleteEntry");
    auto* prompt = window->companion("PromptWindow");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->windowTitle(), QStringLiteral("删除文件"));
    EXPECT_EQ(ui::control<QLabel>(prompt, u"标签1").text(),
              QStringLiteral("是否删除文件，删除后无法恢复！"));
    EXPECT_EQ(ui::control<QLabel>(prompt, u"标签1").width(), 184);
    EXPECT_EQ(ui::control<QPushButton>(prompt, u"按钮1").x(), 136);
    EXPECT_EQ(ui::control<QPushButton>(prompt, u"按钮2").x(), 232);
    auto& box = ui::control<QCheckBox>(prompt, u"选择框1");
    EXPECT_FALSE(box.isHidden());
    EXPECT_EQ(box.text(), QStringLiteral(" 删除包含文件"));
    ui::control<QPushButton>(prompt, u"按钮1").click();
    EXPECT_TRUE(fs::exists(keep));
    EXPECT_EQ(rows(), (std::vector<std::string>{(folder / "other.mp4").string()}));
    EXPECT_EQ(records(), (std::vector<std::string>{(folder / "other.mp4").string()}));
    restart();
    EXPECT_EQ(rows(), (std::vector<std::string>{(folder / "other.mp4").string()}));
}

TEST_F(VideoListFixture, DeleteWithTheBoxRemovesOnlyTheRowsOwnFile) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "gone.mp4");
    touch(folder / "elsewhere" / "gone.mp4");
    prepareList({(folder / "gone.mp4").string(), (folder / "elsewhere" / "gone.mp4").string()});
    start();
    list()->select(0);
    run("DeleteEntry");
    auto* prompt = window->companion("PromptWindow");
    ui::control<QCheckBox>(prompt, u"选择框1").setChecked(true);
    ui::control<QPushButton>(prompt, u"按钮1").click();
    EXPECT_FALSE(fs::exists(folder / "gone.mp4"));
    EXPECT_TRUE(fs::exists(folder / "elsewhere" / "gone.mp4"));
    EXPECT_EQ(records(), (std::vector<std::string>{(folder / "elsewhere" / "gone.mp4").string()}));
}

TEST_F(VideoListFixture, TheDeletePromptDeletesTheEntryItWasOpenedForWhateverIsSelectedLater) {
    const fs::path folder = data.path() / "videos";
    const std::string a = (folder / "a.mp4").string(), b = (folder / "b.mp4").string(),
                      c = (folder / "c.mp4").string();
    for (const auto& p : {a, b, c})
        touch(p);
    prepareList({a, b, c});
    start();
    const auto confirmWithTheBoxTicked = [&](const std::function<void()>& meanwhile) {
        run("DeleteEntry");
        auto* prompt = window->companion("PromptWindow");
        ASSERT_NE(prompt, nullptr);
        EXPECT_FALSE(prompt->isModal());
        ui::control<QCheckBox>(prompt, u"选择框1").setChecked(true);
        meanwhile();
        ui::control<QPushButton>(prompt, u"按钮1").click();
    };

    // The item playing ends while the prompt is open: the next row is selected and plays.
    list()->select(0);
    confirmWithTheBoxTicked([&] {
        endOfMedia();
        ASSERT_EQ(list()->selectedRow(), 1);
        ASSERT_EQ(engine->lastOpened(), b);
    });
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b)) << "the file that had just started playing was deleted";
    EXPECT_TRUE(fs::exists(c));
    EXPECT_EQ(rows(), (std::vector<std::string>{b, c}));
    EXPECT_EQ(records(), (std::vector<std::string>{b, c}));

    // The user clicks another row while the prompt is open.
    list()->select(0);
    confirmWithTheBoxTicked([&] { list()->select(1); });
    EXPECT_FALSE(fs::exists(b));
    EXPECT_TRUE(fs::exists(c));
    EXPECT_EQ(rows(), (std::vector<std::string>{c}));
    EXPECT_EQ(records(), (std::vector<std::string>{c}));
}

TEST_F(VideoListFixture, TheDeletePromptDoesNothingOnceItsEntryHasLeftTheList) {
    const fs::path folder = data.path() / "videos";
    const std::string a = (folder / "a.mp4").string();
    const std::string sameName = (folder / "elsewhere" / "a.mp4").string();
    touch(a);
    touch(sameName);
    prepareList({a});
    start();
    list()->select(0);
    run("DeleteEntry");
    auto* prompt = window->companion("PromptWindow");
    ASSERT_NE(prompt, nullptr);
    ui::control<QCheckBox>(prompt, u"选择框1").setChecked(true);
    // Meanwhile the list is cleared and a file of the same name is added and selected.
    run("ClearList");
    addFolder(folder / "elsewhere");
    list()->select(0);
    ui::control<QPushButton>(prompt, u"按钮1").click();
    EXPECT_TRUE(fs::exists(a));
    EXPECT_TRUE(fs::exists(sameName));
    EXPECT_EQ(rows(), (std::vector<std::string>{sameName}));
    EXPECT_EQ(records(), (std::vector<std::string>{sameName}));
}

TEST_F(VideoListFixture, AFolderAddWhoseRecordsCannotBeStoredShowsNoRowsAndSaysWhy) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "a.avi");
    touch(folder / "sub" / "d.mp3");
    prepareList({"/v/kept.mp4"});
    start();
    // Something else puts a file that is not ours in means.edb's place.
    const fs::path file = data.playerDataDir() / "means.edb";
    std::ofstream(data.playerDataDir() / "foreign", std::ios::binary) << std::string(5000, 'Z');
    fs::rename(data.playerDataDir() / "foreign", file);
    addFolder(folder);
    EXPECT_EQ(rows(), (std::vector<std::string>{"/v/kept.mp4"}));
    QMessageBox* notice = nullptr;
    for (auto* box : QApplication::topLevelWidgets())
        if (box->objectName() == "scanFailure" && box->isVisible())
            notice = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(notice, nullptr) << "the failure was not shown";
    EXPECT_TRUE(notice->text().contains(QStringLiteral("means.edb 无法保存")))
        << notice->text().toStdString();
    EXPECT_FALSE(notice->isModal());
    notice->close();
}

TEST_F(VideoListFixture, WithNoRowSelectedDeleteAndOpenFolderChangeNothing) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "a.mp4");
    prepareList({(folder / "a.mp4").string()});
    start();
    std::vector<std::string> opened;
    list()->openFolder = [&](const std::string& f) { opened.push_back(f); };
    run("OpenContainingFolder");
    EXPECT_TRUE(opened.empty());
    run("DeleteEntry");
    auto* prompt = window->companion("PromptWindow");
    ui::control<QCheckBox>(prompt, u"选择框1").setChecked(true);
    ui::control<QPushButton>(prompt, u"按钮1").click();
    EXPECT_TRUE(fs::exists(folder / "a.mp4"));
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(records().size(), 1u);
    // With a row: its folder, slash kept.
    list()->select(0);
    run("OpenContainingFolder");
    EXPECT_EQ(opened, (std::vector<std::string>{folder.string() + "/"}));
}

TEST_F(VideoListFixture, AfterClearingTheSameNamesComeBackWithTheNextAdd) {
    const fs::path folder = data.path() / "videos";
    touch(folder / "a.mp4");
    start();
    addFolder(folder);
    run("ClearList");
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(records().empty());
    addFolder(folder);
    EXPECT_EQ(rows(), (std::vector<std::string>{(folder / "a.mp4").string()}));
}

TEST_F(VideoListFixture, TheAddFilesPollReloadsOnceTheHelperHasEnded) {
    prepareList({"/v/0.mp4"});
    start();
    int started = 0;
    bool helperRuns = true;
    list()->startAddFiles = [&] { ++started; };
    list()->addFilesRunning = [&] { return helperRuns; };
    run("AddFiles");
    EXPECT_EQ(started, 1);
    auto& timer = ui::control<QTimer>(window->videoList(), u"时钟1");
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 1000);
    // Meanwhile the helper appends.
    auto other = medialist::openListForAppending(data.playerDataDir() / "means.edb");
    ASSERT_TRUE(other.ok());
    ASSERT_TRUE(other.value().appendTexts(1, {"/v/1.mp4", "/v/0.mp4"}).ok());
    run("PollAddFiles");
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_FALSE(processState().fileConfigChanged);
    helperRuns = false;
    run("PollAddFiles");
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(rows(), (std::vector<std::string>{"/v/0.mp4", "/v/1.mp4"}));
    EXPECT_TRUE(processState().fileConfigChanged);
}

TEST_F(VideoListFixture, AMissingHelperStopsThePollAtTheFirstTickAndTheListStaysAsItWas) {
    prepareList({"/v/0.mp4"});
    start();
    // The real launch: no qinglan-addfiles beside this test program.
    run("LaunchAddFilesProgram", window->window());
    auto& timer = ui::control<QTimer>(window->videoList(), u"时钟1");
    EXPECT_TRUE(timer.isActive());
    run("PollAddFiles");
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(rows(), (std::vector<std::string>{"/v/0.mp4"}));
}

TEST_F(VideoListFixture, TheAboutWindowIsCentredOverTheMainWindowEvenWhenLarger) {
    start();
    window->window()->setGeometry(300, 300, 200, 150);
    run("openAboutWindow", window->window());
    auto* about = window->companion("AboutWindow");
    ASSERT_NE(about, nullptr);
    const QRect m = window->window()->frameGeometry(), a = about->frameGeometry();
    EXPECT_EQ(a.left(), m.left() + (m.width() - a.width()) / 2);
    EXPECT_EQ(a.top(), m.top() + (m.height() - a.height()) / 2);
    EXPECT_LT(a.left(), m.left()); // a negative offset
    EXPECT_EQ(ui::control<QLabel>(about, u"标签1").text(), QStringLiteral("版本号：1.0.0.6"));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("关于我们"));
}

TEST_F(VideoListFixture, TheAutostartEntryFollowsField132AtEachStart) {
    const fs::path entry = data.path() / "config" / "autostart" / "qinglan.desktop";
    start();
    EXPECT_FALSE(fs::exists(entry));
    ASSERT_TRUE(processState().store->write(field::StartWithSession, "1").ok());
    restart();
    EXPECT_TRUE(fs::exists(entry));
    ASSERT_TRUE(processState().store->write(field::StartWithSession, "0").ok());
    restart();
    EXPECT_FALSE(fs::exists(entry));
}
