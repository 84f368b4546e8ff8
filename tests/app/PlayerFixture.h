#pragma once
// The player's main window on the offscreen platform, created at once with the fake engine
// over a temporary data folder, with a process state of its own.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "support/TempDataDir.h"

#include <aplayer/FakeEngine.h>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace qinglan::test {

struct PlayerFixture : ::testing::Test {
    TempDataDir data; // outlives the window, which writes on its way out
    app::ProcessStateScope process;
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;

    void SetUp() override {
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(window->window(), nullptr);
    }
    void TearDown() override { window.reset(); }
    // Writes the fields and reloads the in-memory settings, as closing a settings window does.
    void setFields(std::vector<std::pair<int, settings::SettingsValue>> fields) {
        auto& s = app::processState();
        ASSERT_TRUE(s.store->writeFields(fields).ok());
        ASSERT_TRUE(s.record.load(*s.store).ok());
    }
};

} // namespace qinglan::test
