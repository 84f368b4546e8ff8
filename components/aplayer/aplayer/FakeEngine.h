#pragma once
// An engine for tests: draws nothing, records every call in order and keeps the promises of
// Engine.h the way the real engine does, so code that leans on them meets the same behaviour:
// an open passes through StateOpening and its media loads on the next pass of the event loop
// (or at runPending()), a seek with nothing loaded does nothing, positions and the volume are
// clamped, ids 4, 7 and 8 answer the engine's own state, and while id 6 is "2" or "3" an open
// converts instead of playing. Like the real engine it stores configuration values and reads
// them back; a test scripts only the answers it cares about.
#include "aplayer/Engine.h"

#include <QObject>
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

    // --- the media the fake knows
    // An open of path loads a media of durationMs. Paths not scripted load too; their duration
    // is 0 until a test sets one with setDuration.
    void scriptMedia(const std::string& path, int durationMs);
    // An open of path fails once it would have loaded, with reason as id 8.
    void scriptFailure(const std::string& path, const std::string& reason);
    // Does at once what the fake would do on the next pass of the event loop: the media of the
    // last open loads (or fails), a running conversion finishes.
    void runPending();

    // --- scripting
    void setState(int state) { state_ = state; }
    void setPosition(int ms) { position_ = ms; }
    void setDuration(int ms) { duration_ = ms; }
    // The answer of APlayer_GetConfigA(id) until cleared with std::nullopt.
    void setConfigAnswer(int id, std::optional<std::string> answer);
    // The result of APlayer_SetConfigA (for instance false for a failed screenshot).
    void setConfigResult(bool ok) { configResult_ = ok; }
    // false: APlayer_OpenA refuses the request, as an engine that could not start does.
    void setOpenResult(bool ok) { openResult_ = ok; }
    // The media of the last open fails now, as the real engine reports it: state Ready, id 7 "2"
    // and id 8 the reason ("播放出错" when empty), until the next open or APlayer_Close (scripted
    // answers still win).
    void failOpen(const std::string& reason);

    // --- callbacks, as the engine would call them
    void sendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void sendBuffering(int percent);
    void sendCodecMissing(const std::string& codecName);

    const std::string& lastOpened() const { return lastOpened_; }
    // The volume in effect (0..1000).
    int volume() const { return volume_; }
    bool created() const { return created_; }

private:
    void record(const char* operation, int id = 0, std::string value = {}) const;
    std::string stored(int id) const;
    void settle(unsigned run);
    void startConversion(const std::string& path);
    void endConversion(const std::string& text);
    void showText(const std::string& text);
    void resetMedia();
    bool mediaLoaded() const { return state_ == StatePlaying || state_ == StatePaused; }

    struct Media {
        int durationMs = 0;
        std::string failure;
    };

    mutable std::vector<EngineCall> calls_;
    std::map<int, std::string> config_;
    std::map<int, std::string> answers_;
    std::map<std::string, Media> media_;
    QPointer<QWidget> window_;
    QObject queue_; // what is pending when the fake goes is dropped with it
    MessageCallback message_;
    BufferingCallback buffering_;
    CodecMissingCallback codecMissing_;
    std::string lastOpened_;
    std::string opening_;       // the path of the open in progress or loaded
    std::string failureReason_; // non-empty while the last open counts as failed
    std::string playResult_;    // id 7
    std::optional<int> pendingSeek_;
    unsigned run_ = 0; // each open and close starts a new one; older pending work is dropped
    int state_ = StateReady;
    int position_ = 0;
    int duration_ = 0;
    int volume_ = 100;
    bool pauseAsked_ = false;
    bool converting_ = false;
    bool configResult_ = true;
    bool openResult_ = true;
    bool created_ = false;
};

} // namespace qinglan::aplayer
