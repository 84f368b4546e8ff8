// The picture menu items on the main window with the fake engine: "字幕" › "打开" through a
// replaced file dialog, and "虚拟现实" sending the stored VR page.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"
#include "support/TempDataDir.h"

#include <aplayer/FakeEngine.h>
#include <ui/Find.h>

#include <gtest/gtest.h>

using namespace qinglan;
using app::processState;

namespace {

struct PictureWiring : ::testing::Test {
    test::TempDataDir data;
    app::ProcessStateScope process;
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;
    QString offered; // the filter the dialog was given
    QString answer;  // what the dialog answers ("" = cancelled)
    int dialogs = 0;

    void SetUp() override {
        app::setSubtitleFileChooser([this](QWidget*, const QString& filter) {
            ++dialogs;
            offered = filter;
            return answer;
        });
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(window->window(), nullptr);
    }
    void TearDown() override {
        window.reset();
        app::setSubtitleFileChooser({});
    }
    void run(const char* handler) {
        ui::UiEvent e;
        (*window->handlers().find(handler))(e);
    }
    void store(std::vector<std::pair<int, settings::SettingsValue>> fields) {
        auto& s = processState();
        ASSERT_TRUE(s.store->writeFields(fields).ok());
        ASSERT_TRUE(s.record.load(*s.store).ok());
    }
    // The ids sent since the last clear, in order.
    std::vector<std::pair<int, std::string>> sent() const {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& c : engine->callsOf("APlayer_SetConfigA"))
            out.emplace_back(c.id, c.value);
        return out;
    }
};

} // namespace

TEST_F(PictureWiring, AChosenSubtitleFileIsSentWithTheSettingsAndCancelChangesNothing) {
    // Subtitle one chosen on the page: the apply step sends the file as 503.
    store({{32, "1"}, {33, "0"}, {34, "0"}});
    answer = QStringLiteral("/影片/第一集.srt");
    engine->clearCalls();
    run("chooseSubtitleFile");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(offered.toStdString(),
              "字幕格式(*.sub;*.srt;*.pgs;*.smi;*.ass;*.ssa;*.lrc)|*.sub;*.srt;*.pgs;*.smi;*.ass;"
              "*.ssa;*.lrc|所有文件*.*|*.*");
    EXPECT_EQ(window->playback().subtitleFile(), "/影片/第一集.srt");
    auto values = sent();
    EXPECT_NE(std::find(values.begin(), values.end(),
                        std::pair<int, std::string>{503, "/影片/第一集.srt"}),
              values.end());

    answer.clear();
    engine->clearCalls();
    run("chooseSubtitleFile");
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(window->playback().subtitleFile(), "/影片/第一集.srt");
    EXPECT_TRUE(sent().empty());
}

TEST_F(PictureWiring, TheVrMenuItemSendsTheStoredPageOnlyWhileVrIsOn) {
    store({{118, "圆形半景内下外上"}});
    engine->clearCalls();
    run("ApplyVr"); // the page's default is " 关闭"
    EXPECT_TRUE(sent().empty());

    store({{116, "1"}, {117, "0"}, {119, "30"}, {120, "-10"}, {129, "30"}, {128, "255"}});
    engine->clearCalls();
    run("ApplyVr");
    std::vector<std::pair<int, std::string>> expected{
        {2402, "4"}, {2403, "30;-10;350.6"}, {2404, "0"}, {2405, "5"},
        {2407, "0"}, {2408, "30;20;255"},    {2410, "50"}};
    EXPECT_EQ(sent(), expected);
}
