// The screenshot action against the fake engine: what is sent, in which order, under which name.
#include "playback/Screenshot.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/FakeEngine.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <map>

using namespace qinglan;
using aplayer::FakeEngine;
using playback::Screenshot;
namespace cfg = aplayer::cfg;

namespace {

struct ScreenshotFixture : ::testing::Test {
    FakeEngine engine;
    QTemporaryDir dir;
    std::map<int, std::string> settings{{154, "1"},   {155, "0"},   {156, "1"}, {157, "0"},
                                        {158, "640"}, {159, "480"}, {160, "1"}, {161, "0"},
                                        {162, "75"},  {163, "jpg"}};
    std::vector<std::string> shown;
    int hidden = 0, panelChecks = 0;
    std::unique_ptr<Screenshot> shot;

    void SetUp() override {
        settings[164] = dir.path().toStdString();
        engine.setConfigAnswer(cfg::MediaLoaded, "1");
        Screenshot::Hooks hooks;
        hooks.setting = [this](int f) { return settings[f]; };
        hooks.sidePanelCheck = [this] { ++panelChecks; };
        hooks.showOnScreenText = [this](const std::string& t) { shown.push_back(t); };
        hooks.hideOnScreenText = [this] { ++hidden; };
        shot = std::make_unique<Screenshot>(engine, hooks);
    }
    std::string folder() const { return dir.path().toStdString(); }
    void touch(const std::string& name) { std::ofstream(folder() + "/" + name) << "x"; }
};

TEST_F(ScreenshotFixture, ExistingNumbersAreSkippedAndTheSettingsSentForEachTry) {
    touch("1.jpg");
    touch("2.jpg");
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Written);
    EXPECT_EQ(shot->shotCounter(), 3);
    EXPECT_EQ(engine.configSent(cfg::ShotFile), std::vector<std::string>{folder() + "/3.jpg"});
    // Three attempts, each a whole run of the action.
    EXPECT_EQ(engine.configSent(cfg::ShotQuality).size(), 3u);
    EXPECT_EQ(engine.configSent(cfg::ShotFormat), (std::vector<std::string>{"2", "2", "2"}));
    EXPECT_EQ(panelChecks, 3);
    EXPECT_EQ(shown, std::vector<std::string>{"截图成功，图片已保存到默认目录下。"});
    EXPECT_TRUE(shot->messageShown());

    // The fake wrote nothing, so 4 is free; a format change keeps counting.
    settings[163] = "png";
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Written);
    EXPECT_EQ(shot->lastFile(), folder() + "/4.png");
}

TEST_F(ScreenshotFixture, SizeAspectQualityAndFormatPrecedeTheFile) {
    settings[156] = "0";
    settings[157] = "1";
    settings[158] = "800";
    settings[159] = "600";
    settings[160] = "0";
    settings[161] = "1";
    settings[162] = "90";
    settings[163] = "bmp";
    shot->take();
    const std::vector<std::pair<int, std::string>> expected{
        {703, "800"}, {704, "600"}, {706, "0"},
        {708, "90"},  {707, "1"},   {702, folder() + "/1.bmp"}};
    std::vector<std::pair<int, std::string>> sent;
    for (auto& p : engine.configSequence())
        if (p.first != cfg::OsdShow && p.first / 100 == 7) sent.push_back(p);
    EXPECT_EQ(sent, expected);
}

TEST_F(ScreenshotFixture, NoMediaOrSwitchedOffDoesNothingVisible) {
    engine.setConfigAnswer(cfg::MediaLoaded, "");
    EXPECT_EQ(shot->take(), Screenshot::Outcome::NoMedia);
    engine.setConfigAnswer(cfg::MediaLoaded, "1");
    settings[154] = "0";
    EXPECT_EQ(shot->take(), Screenshot::Outcome::SwitchedOff);
    settings[154] = "1";
    settings[163] = "tiff";
    EXPECT_EQ(shot->take(), Screenshot::Outcome::UnknownFormat);
    EXPECT_TRUE(engine.configSent(cfg::ShotFile).empty());
    EXPECT_TRUE(shown.empty());
    // Every attempt counted, the stopped ones too.
    EXPECT_EQ(shot->shotCounter(), 3);
}

TEST_F(ScreenshotFixture, AFolderEndingInASlashIsPassedAsFormed) {
    settings[164] = folder() + "/";
    shot->take();
    EXPECT_EQ(shot->lastFile(), folder() + "//1.jpg");
}

TEST_F(ScreenshotFixture, AFailureSaysSoAndWhy) {
    engine.setConfigResult(false);
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Failed);
    EXPECT_EQ(shown.back(), "截图失败：未能取得画面");

    touch("plain file");
    settings[164] = folder() + "/plain file";
    shot->take();
    EXPECT_EQ(shown.back(), "截图失败：保存路径不是文件夹");

    settings[164] = folder() + "/gone/deeper";
    shot->take();
    EXPECT_EQ(shown.back(), "截图失败：保存目录不存在");

    // No folder at all: nothing is written at the top of the file system.
    settings[164] = "";
    engine.clearCalls();
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Failed);
    EXPECT_TRUE(engine.configSent(cfg::ShotFile).empty());
    EXPECT_EQ(shown.back(), "截图失败：未设置保存目录");
}

} // namespace
