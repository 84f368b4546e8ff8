// The options re-sent after every open: their order and the steps that depend on a choice, checked
// on a real settings file so the fields are read the way the player reads them.
#include <settings/SettingsRecord.h>
#include <settings/SettingsStore.h>
#include <settingswindow/ApplyAllSettings.h>

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qinglan::settingswindow {
namespace {

class ApplyAll : public ::testing::Test {
protected:
    ApplyAll() : store_(data_.path()) { EXPECT_TRUE(store_.open().ok()); }

    void set(int field, const char* value) { ASSERT_TRUE(store_.write(field, value).ok()); }
    std::vector<ConfigValue> sends(OpenMedia media = {}) {
        settings::SettingsRecord record;
        EXPECT_TRUE(record.load(store_).ok());
        return applyAllSettings(record, media);
    }
    static std::vector<int> ids(const std::vector<ConfigValue>& v) {
        std::vector<int> out;
        for (const auto& c : v)
            out.push_back(c.id);
        return out;
    }
    static const ConfigValue* find(const std::vector<ConfigValue>& v, int id) {
        auto it =
            std::find_if(v.begin(), v.end(), [id](const ConfigValue& c) { return c.id == id; });
        return it == v.end() ? nullptr : &*it;
    }
    static int count(const std::vector<ConfigValue>& v, int id) {
        return static_cast<int>(
            std::count_if(v.begin(), v.end(), [id](const ConfigValue& c) { return c.id == id; }));
    }

    test::TempDataDir data_;
    settings::SettingsStore store_;
};

// A fresh file's defaults give the whole sequence in its order.
TEST_F(ApplyAll, DefaultsSendTheWholeSequenceInOrder) {
    const auto v = sends({.mediaStem = "/music/a.", .audio = true});
    const std::vector<int> expected{// lyrics
                                    1302, 1328, 1321, 1318, 1319, 1314, 1315, 1310, 1307, 1311,
                                    1312, 1313, 1320, 1303, 1316, 1305,
                                    // subtitles off
                                    504, 2104,
                                    // picture, 3D off between the flips and the rotation
                                    305, 306, 302, 303, 308, 304, 214, 215, 216, 217, 201, 314, 315,
                                    313, 209, 210,
                                    // sound: surround on, AC3-DTS off
                                    404, 405, 406, 403, 407, 408};
    EXPECT_EQ(ids(v), expected);
    EXPECT_EQ(find(v, 1328)->value, "0"); // centred
    EXPECT_EQ(find(v, 1319)->value, "2"); // progress bar
    EXPECT_EQ(find(v, 1311)->value, "黑体;20;25;1500;20");
    EXPECT_EQ(find(v, 1307)->value, "15527148");
    EXPECT_EQ(find(v, 1305)->value, "/music/a.lrc");
    EXPECT_EQ(find(v, 201)->value, "3"); // 增强型(EVR)
    EXPECT_EQ(find(v, 210)->value, "0"); // DXVA
    EXPECT_EQ(find(v, 308)->value, "0");
}

TEST_F(ApplyAll, LyricsHiddenSendOnly1302AndAVideoGetsNoLyricsFile) {
    set(1, "0");
    set(2, "1");
    auto v = sends({.mediaStem = "/music/a.", .audio = true});
    EXPECT_EQ(find(v, 1302)->value, "0");
    for (int id = 1303; id <= 1328; ++id)
        EXPECT_EQ(find(v, id), nullptr) << id;

    set(1, "1");
    set(2, "0");
    v = sends({.mediaStem = "/music/a.", .audio = false});
    ASSERT_NE(find(v, 1305), nullptr);
    EXPECT_EQ(find(v, 1305)->value, "");
}

TEST_F(ApplyAll, BorderOffAndPictureBackgroundPickTheirSteps) {
    set(14, "0");
    set(15, "1");
    set(21, "0");
    set(22, "1");
    set(24, "/pictures/bg.jpg");
    const auto v = sends();
    EXPECT_EQ(find(v, 1314)->value, "0");
    EXPECT_EQ(find(v, 1315), nullptr);
    EXPECT_EQ(find(v, 1307), nullptr);
    EXPECT_EQ(find(v, 1308)->value, "/pictures/bg.jpg");
}

TEST_F(ApplyAll, SubtitleOneAndTwoSendTheirStyleAndTheChosenFile) {
    set(32, "1");
    set(34, "0");
    set(42, "@黑体");
    set(43, "18");
    set(44, "16777215");
    set(45, "1");
    set(46, "0");
    auto v = sends({.subtitleFile = "/v/Movie.SRT"});
    std::vector<int> sub;
    for (const auto& c : v)
        if (c.id == 16 || (c.id >= 503 && c.id <= 509) || (c.id >= 2103 && c.id <= 2110))
            sub.push_back(c.id);
    EXPECT_EQ(sub, (std::vector<int>{504, 2107, 2108, 2110, 16, 506, 509, 503}));
    EXPECT_EQ(find(v, 2108)->value, "@黑体;18;16777215;1");
    EXPECT_EQ(find(v, 2107)->value, "1;50;90");
    EXPECT_EQ(find(v, 509)->value, "5000;1000;1000");
    EXPECT_EQ(find(v, 503)->value, "/v/Movie.SRT");

    set(32, "0");
    set(33, "1");
    v = sends({.subtitleFile = "/v/b.ass"});
    EXPECT_EQ(find(v, 2104)->value, "1");
    EXPECT_EQ(find(v, 2103)->value, "/v/b.ass");
    EXPECT_EQ(find(v, 503), nullptr);
}

TEST_F(ApplyAll, SubtitlesOffSendNoFile) {
    const auto v = sends({.subtitleFile = "/v/a.srt"});
    EXPECT_EQ(find(v, 504)->value, "0");
    EXPECT_EQ(find(v, 2104)->value, "0");
    EXPECT_EQ(find(v, 503), nullptr);
    EXPECT_EQ(find(v, 2103), nullptr);
}

TEST_F(ApplyAll, ThreeDOnSendsItsGroupAndOffOnly308) {
    set(73, "1");
    set(74, "0");
    set(77, "蓝黄");
    auto v = sends();
    EXPECT_EQ(find(v, 308)->value, "1");
    EXPECT_EQ(find(v, 310)->value, "1");
    EXPECT_EQ(find(v, 311)->value, "1");
    EXPECT_EQ(find(v, 312)->value, "4");
    // The 3D steps sit after the flips and before the rotation.
    const auto order = ids(v);
    auto at = [&](int id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
    EXPECT_LT(at(303), at(308));
    EXPECT_LT(at(312), at(304));

    set(77, "Arial");
    v = sends();
    EXPECT_EQ(find(v, 312), nullptr) << "a name not on the list sends no 312";

    set(73, "0");
    set(74, "1");
    v = sends();
    EXPECT_EQ(find(v, 308)->value, "0");
    EXPECT_EQ(find(v, 310), nullptr);
    EXPECT_EQ(find(v, 311), nullptr);
    EXPECT_EQ(find(v, 312), nullptr);
}

TEST_F(ApplyAll, SurroundOffAndAc3OffLeaveTheirValuesOut) {
    set(106, "0");
    set(107, "1");
    auto v = sends();
    EXPECT_EQ(find(v, 407)->value, "0");
    EXPECT_EQ(find(v, 408), nullptr);
    EXPECT_EQ(find(v, 1502), nullptr);
    EXPECT_EQ(find(v, 1503), nullptr);

    set(109, "1");
    set(110, "0");
    v = sends();
    EXPECT_EQ(find(v, 1502)->value, "2"); // 立体声输出 is the default
    EXPECT_EQ(find(v, 1503)->value, "20");
}

TEST_F(ApplyAll, RendererByNameAndChannelMapByFlag) {
    set(59, "未渲染(Renderless)");
    set(98, "0");
    set(99, "1");
    auto v = sends();
    EXPECT_EQ(find(v, 201)->value, "2");
    EXPECT_EQ(find(v, 404)->value, "1");
    set(59, "Direct3D");
    v = sends();
    EXPECT_EQ(count(v, 201), 0);
}

} // namespace
} // namespace qinglan::settingswindow
