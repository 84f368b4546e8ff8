// The engine's one table of configuration ids against what the real engine does with them.
#include "EngineTestSupport.h"
#include "mpv/ConfigRows.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;

namespace {

// Every id the player sends or reads (the settings pages, applyAllSettings, playback, the
// screenshot, transcode, subtitle, lyric and VR code).
constexpr int kUsedByThePlayer[] = {
    4,    6,    7,    8,    12,   16,   102,  103,  201,  204,  209,  210,  214,  215,  216,  217,
    302,  303,  304,  305,  306,  308,  310,  311,  312,  313,  314,  315,  403,  404,  405,  406,
    407,  408,  503,  504,  506,  509,  602,  606,  607,  608,  612,  621,  702,  703,  704,  706,
    707,  708,  803,  804,  901,  902,  903,  905,  906,  907,  1302, 1303, 1305, 1307, 1308, 1310,
    1311, 1312, 1313, 1314, 1315, 1316, 1318, 1319, 1320, 1321, 1328, 1502, 1503, 2103, 2104, 2106,
    2107, 2108, 2109, 2110, 2402, 2403, 2404, 2405, 2407, 2408, 2410};

TEST(EngineConfigTable, EveryIdThePlayerUsesHasOneDescribedRowThatDoesWhatItsKindSays) {
    std::set<int> rows;
    int previous = -1;
    for (const ConfigRow& row : configRows()) {
        const ConfigId& c = row.about;
        SCOPED_TRACE(c.id);
        EXPECT_GT(c.id, previous); // sorted, each id once: the lookup relies on it
        previous = c.id;
        rows.insert(c.id);
        EXPECT_STRNE(c.meaning, "");
        EXPECT_STRNE(c.valueFormat, "");
        EXPECT_STRNE(c.mpvEffect, "");
        EXPECT_EQ(findConfigId(c.id), &c);
        EXPECT_EQ(row.apply != nullptr, c.kind == ConfigKind::Applied);
        EXPECT_EQ(row.read != nullptr, c.kind == ConfigKind::Read);
    }
    EXPECT_EQ(rows, std::set<int>(std::begin(kUsedByThePlayer), std::end(kUsedByThePlayer)));
    EXPECT_EQ(findConfigId(5), nullptr);
    EXPECT_EQ(findConfigRow(99999), nullptr);
}

// A value no row applies at once, whatever the id does with it later.
std::string harmlessValue(int id) {
    switch (id) {
    case cfg::ShotFile:
        return ""; // no file to write
    case cfg::ProcessingMode:
        return "1";
    default:
        return "7";
    }
}

TEST(EngineConfigTable, ReadIdsAnswerTheEngineAndEveryOtherIdReadsBackWhatWasSent) {
    EngineUnderTest e;
    auto sendAll = [&](const char* when) {
        SCOPED_TRACE(when);
        for (const ConfigRow& row : configRows()) {
            const int id = row.about.id;
            const std::string value = harmlessValue(id);
            e.engine->APlayer_SetConfigA(id, value);
            if (row.about.kind == ConfigKind::Read)
                EXPECT_EQ(e.engine->APlayer_GetConfigA(id), "") << id << ": nothing is open";
            else
                EXPECT_EQ(e.engine->APlayer_GetConfigA(id), value) << id;
        }
        for (int unknown : {-1, 0, 5, 1317, 99999}) {
            EXPECT_TRUE(e.engine->APlayer_SetConfigA(unknown, "any text 值")) << unknown;
            EXPECT_EQ(e.engine->APlayer_GetConfigA(unknown), "any text 值") << unknown;
        }
    };
    sendAll("before the engine runs");
    ASSERT_TRUE(e.create());
    sendAll("while it runs");
}

TEST(EngineConfigTable, ValuesSentBeforeTheStartApplyThenButTheScreenshotIsNotTakenLate) {
    EngineUnderTest e;
    QTemporaryDir dir;
    const std::string shot = dir.filePath("early.png").toStdString();
    EXPECT_TRUE(e.engine->APlayer_SetConfigA(cfg::Mute, "1"));
    EXPECT_TRUE(e.engine->APlayer_SetConfigA(cfg::ChannelDelay, "250"));
    EXPECT_FALSE(e.engine->APlayer_SetConfigA(cfg::ShotFile, shot)); // nothing to take
    ASSERT_TRUE(e.create());
    EXPECT_EQ(e.engine->mpvProperty("mute"), "yes");
    EXPECT_EQ(std::atof(e.engine->mpvProperty("audio-delay").c_str()), 0.25);
    ASSERT_TRUE(e.openAndWaitPlaying(qinglan::test::media("clip.mp4").string()));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(shot)));
}

TEST(EngineConfigTable, AValueThatCannotBeAppliedIsRefusedAndStillKept) {
    EngineUnderTest e;
    ASSERT_TRUE(e.create());
    EXPECT_FALSE(e.engine->APlayer_SetConfigA(cfg::Aspect, "wide"));
    EXPECT_EQ(e.engine->APlayer_GetConfigA(cfg::Aspect), "wide");
    EXPECT_FALSE(e.engine->APlayer_SetConfigA(cfg::ChannelDelay, "later"));
    EXPECT_EQ(e.engine->APlayer_GetConfigA(cfg::ChannelDelay), "later");
    EXPECT_TRUE(e.engine->APlayer_SetConfigA(cfg::LyricsWindowKind, "1")); // stored only
}

} // namespace
