#pragma once
// Helpers for tests of the real engine: waiting on the Qt event loop (the engine's events
// arrive there) and a created engine with mpv's null outputs.
#include "aplayer/ConfigTable.h"
#include "aplayer/Engine.h"
#include "mpv/MpvEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qinglan::aplayer::test {

// Runs the event loop until pred holds or timeoutMs passed; returns pred's last value.
inline bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 8000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline void spin(int ms) {
    waitUntil([] { return false; }, ms);
}

struct EngineUnderTest {
    std::unique_ptr<QWidget> parent = std::make_unique<QWidget>();
    std::unique_ptr<MpvEngine> engine;
    std::vector<uint32_t> messages;
    std::vector<int> buffering;
    std::vector<std::string> missingCodecs;

    explicit EngineUnderTest(MpvEngineOptions options = {"null", "null"}) {
        parent->resize(640, 360);
        engine = std::make_unique<MpvEngine>(options);
    }
    bool create() {
        return engine->APlayer_Create(
            parent.get(), 0, 0, 640, 360,
            [this](uint32_t m, uintptr_t, intptr_t) { messages.push_back(m); },
            [this](int p) { buffering.push_back(p); },
            [this](const std::string& c) { missingCodecs.push_back(c); });
    }
    bool openAndWaitPlaying(const std::string& path) {
        return engine->APlayer_OpenA(path) &&
               waitUntil([&] { return engine->APlayer_GetState() == StatePlaying; });
    }
    ~EngineUnderTest() {
        engine.reset(); // mpv goes before its window
    }
};

} // namespace qinglan::aplayer::test
