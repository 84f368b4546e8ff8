#pragma once
// The player's main window on the offscreen platform, created at once with the fake engine
// over a temporary data folder; the process-wide state starts fresh for every test.
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
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;

    void SetUp() override {
        auto& s = app::processState();
        s.currentMedia.clear();
        s.store.reset();
        s.record = {};
        s.fullScreen = s.geometryFrozen = s.shareMode = s.sidePanelEnabled = false;
        s.fileConfigChanged = false;
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(window->window(), nullptr);
    }
    void TearDown() override {
        window.reset();
        app::processState().store.reset();
    }
    // Writes the fields and reloads the in-memory settings, as closing a settings window does.
    void setFields(std::vector<std::pair<int, settings::SettingsValue>> fields) {
        auto& s = app::processState();
        ASSERT_TRUE(s.store->writeFields(fields).ok());
        ASSERT_TRUE(s.record.load(*s.store).ok());
    }
};

} // namespace qinglan::test
