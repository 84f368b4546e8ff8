#pragma once
// An engine for tests: draws nothing, records every call in order and answers what the test
// scripted. Like the real engine it stores configuration values and reads them back, so only
// the answers a test cares about need scripting (state, position, duration, ids 4 and 7).
#include "aplayer/Engine.h"

#include <QPointer>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qinglan::aplayer {

struct EngineCall {
    std::string operation; // "APlayer_OpenA", "APlayer_SetConfigA", ...
    int id = 0;            // configuration id, position, volume or geometry x; else 0
    std::string value;     // configuration text or path; else empty
    bool operator==(const EngineCall&) const = default;
};

class FakeEngine final : public Engine {
public:
    FakeEngine();
    ~FakeEngine() override;

    bool APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                        MessageCallback message, BufferingCallback buffering,
                        CodecMissingCallback codecMissing) override;
    void APlayer_SetCustomLogo(const QImage& logo) override;
    bool APlayer_OpenA(const std::string& pathOrAddress) override;
    void APlayer_Play() override;
    void APlayer_Pause() override;
    void APlayer_Close() override;
    int APlayer_GetState() const override;
    int APlayer_GetPosition() const override;
    int APlayer_GetDuration() const override;
    void APlayer_SetPosition(int ms) override;
    void APlayer_SetVolume(int volume) override;
    bool APlayer_SetConfigA(int id, const std::string& value) override;
    std::string APlayer_GetConfigA(int id) const override;
    QWidget* APlayer_GetWindow() const override;

    // --- recording
    const std::vector<EngineCall>& calls() const { return calls_; }
    // Only the calls of one operation, in order.
    std::vector<EngineCall> callsOf(const std::string& operation) const;
    // Every value sent with APlayer_SetConfigA for id, in order.
    std::vector<std::string> configSent(int id) const;
    // The (id, value) pairs of every APlayer_SetConfigA, in order.
    std::vector<std::pair<int, std::string>> configSequence() const;
    void clearCalls() { calls_.clear(); }

    // --- scripting
    void setState(int state) { state_ = state; }
    void setPosition(int ms) { position_ = ms; }
    void setDuration(int ms) { duration_ = ms; }
    // The answer of APlayer_GetConfigA(id) until cleared with std::nullopt.
    void setConfigAnswer(int id, std::optional<std::string> answer);
    // The result of APlayer_SetConfigA (for instance false for a failed screenshot).
    void setConfigResult(bool ok) { configResult_ = ok; }
    void setOpenResult(bool ok) { openResult_ = ok; }
    // The media of the last open failed, as the real engine reports it: state Ready, id 7 "2"
    // and id 8 the reason, until the next open or APlayer_Close (scripted answers still win).
    void failOpen(const std::string& reason);
    // When on (the default), open/play/pause/close move the scripted state like an engine:
    // open -> playing, pause -> paused, play -> playing, close -> ready.
    void setFollowCalls(bool on) { followCalls_ = on; }

    // --- callbacks, as the engine would call them
    void sendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void sendBuffering(int percent);
    void sendCodecMissing(const std::string& codecName);

    const std::string& lastOpened() const { return lastOpened_; }
    int volume() const { return volume_; }
    bool created() const { return created_; }

private:
    void record(const char* operation, int id = 0, std::string value = {}) const;

    mutable std::vector<EngineCall> calls_;
    std::map<int, std::string> config_;
    std::map<int, std::string> answers_;
    QPointer<QWidget> window_;
    MessageCallback message_;
    BufferingCallback buffering_;
    CodecMissingCallback codecMissing_;
    std::string lastOpened_;
    std::string failureReason_; // non-empty while the last open counts as failed
    int state_ = StateReady;
    int position_ = 0;
    int duration_ = 0;
    int volume_ = 100;
    bool configResult_ = true;
    bool openResult_ = true;
    bool followCalls_ = true;
    bool created_ = false;
};

} // namespace qinglan::aplayer
