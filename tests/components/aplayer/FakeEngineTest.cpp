#include "aplayer/FakeEngine.h"
#include "aplayer/ConfigTable.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace qinglan::aplayer;

TEST(EngineFake, RecordsCallsInOrderAndAnswersScriptedValues) {
    QWidget parent;
    FakeEngine fake;
    std::vector<uint32_t> messages;
    std::vector<std::string> codecs;
    ASSERT_TRUE(fake.APlayer_Create(
        &parent, 0, 0, 320, 240, [&](uint32_t m, uintptr_t, intptr_t) { messages.push_back(m); },
        nullptr, [&](const std::string& c) { codecs.push_back(c); }));
    ASSERT_NE(fake.APlayer_GetWindow(), nullptr);
    EXPECT_EQ(fake.APlayer_GetWindow()->parentWidget(), &parent);

    fake.APlayer_SetConfigA(cfg::StartMs, "30000");
    fake.APlayer_SetConfigA(cfg::EndMs, "540000");
    fake.APlayer_OpenA("/v/a.mp4");
    EXPECT_EQ(fake.APlayer_GetState(), StateOpening);
    fake.runPending(); // the media loads without waiting for the event loop
    EXPECT_EQ(fake.APlayer_GetState(), StatePlaying);
    fake.APlayer_Pause();
    EXPECT_EQ(fake.APlayer_GetState(), StatePaused);

    std::vector<std::pair<int, std::string>> expected{{102, "30000"}, {103, "540000"}};
    EXPECT_EQ(fake.configSequence(), expected);
    auto opens = fake.callsOf("APlayer_OpenA");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].value, "/v/a.mp4");
    // The cut points were sent before the open.
    auto& calls = fake.calls();
    auto openAt = std::find_if(calls.begin(), calls.end(),
                               [](auto& c) { return c.operation == "APlayer_OpenA"; });
    EXPECT_EQ(std::count_if(calls.begin(), openAt,
                            [](auto& c) { return c.operation == "APlayer_SetConfigA"; }),
              2);

    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::PlayResult), "1");
    fake.setConfigAnswer(cfg::PlayResult, "0");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::PlayResult), "0");
    fake.setConfigAnswer(cfg::PlayResult, std::nullopt);
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::EndMs), "540000"); // stored values read back

    fake.setDuration(600000);
    fake.setPosition(5000);
    EXPECT_EQ(fake.APlayer_GetDuration(), 600000);
    EXPECT_EQ(fake.APlayer_GetPosition(), 5000);

    fake.sendMessage(MessageLeftButtonDown);
    fake.sendBuffering(50); // no buffering callback given: nothing happens
    fake.sendCodecMissing("avs2");
    EXPECT_EQ(messages, std::vector<uint32_t>{0x201});
    EXPECT_EQ(codecs, std::vector<std::string>{"avs2"});
}

// The real engine's promise for a failed open, as tests script it.
TEST(EngineFake, AFailedOpenReportsItsReasonUntilTheNextOpenOrClose) {
    QWidget parent;
    FakeEngine fake;
    ASSERT_TRUE(fake.APlayer_Create(&parent, 0, 0, 320, 240, {}, {}, {}));
    fake.APlayer_OpenA("/v/gone.mp4");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::FailureReason), "");
    fake.failOpen("文件不存在");
    fake.runPending(); // the load the failure replaced never comes
    EXPECT_EQ(fake.APlayer_GetState(), StateReady);
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::PlayResult), "2");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::FailureReason), "文件不存在");

    fake.APlayer_OpenA("/v/a.mp4");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::PlayResult), "1");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::FailureReason), "");

    fake.failOpen("");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::FailureReason), "播放出错"); // never "2" without one
    fake.APlayer_Close();
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::PlayResult), "");
    EXPECT_EQ(fake.APlayer_GetConfigA(cfg::FailureReason), "");
}
