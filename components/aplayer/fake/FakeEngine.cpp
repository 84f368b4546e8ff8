#include "aplayer/FakeEngine.h"

#include "aplayer/ConfigTable.h"

#include <QImage>
#include <QWidget>

namespace qinglan::aplayer {

FakeEngine::FakeEngine() = default;

FakeEngine::~FakeEngine() {
    delete window_.data();
}

void FakeEngine::record(const char* operation, int id, std::string value) const {
    calls_.push_back(EngineCall{operation, id, std::move(value)});
}

bool FakeEngine::APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                                MessageCallback message, BufferingCallback buffering,
                                CodecMissingCallback codecMissing) {
    record("APlayer_Create", x,
           std::to_string(y) + "," + std::to_string(width) + "," + std::to_string(height));
    message_ = std::move(message);
    buffering_ = std::move(buffering);
    codecMissing_ = std::move(codecMissing);
    if (!window_) {
        window_ = new QWidget(parent);
        window_->setGeometry(x, y, width, height);
    }
    created_ = true;
    return true;
}

void FakeEngine::APlayer_SetCustomLogo(const QImage& logo) {
    record("APlayer_SetCustomLogo", 0,
           std::to_string(logo.width()) + "x" + std::to_string(logo.height()));
}

bool FakeEngine::APlayer_OpenA(const std::string& pathOrAddress) {
    record("APlayer_OpenA", 0, pathOrAddress);
    lastOpened_ = pathOrAddress;
    failureReason_.clear();
    if (followCalls_ && openResult_) state_ = StatePlaying;
    return openResult_;
}

void FakeEngine::APlayer_Play() {
    record("APlayer_Play");
    if (followCalls_ && state_ == StatePaused) state_ = StatePlaying;
}

void FakeEngine::APlayer_Pause() {
    record("APlayer_Pause");
    if (followCalls_ && state_ == StatePlaying) state_ = StatePaused;
}

void FakeEngine::APlayer_Close() {
    record("APlayer_Close");
    failureReason_.clear();
    if (followCalls_) state_ = StateReady;
}

int FakeEngine::APlayer_GetState() const {
    record("APlayer_GetState");
    return state_;
}

int FakeEngine::APlayer_GetPosition() const {
    record("APlayer_GetPosition");
    return position_;
}

int FakeEngine::APlayer_GetDuration() const {
    record("APlayer_GetDuration");
    return duration_;
}

void FakeEngine::APlayer_SetPosition(int ms) {
    record("APlayer_SetPosition", ms);
    if (followCalls_) position_ = ms;
}

void FakeEngine::APlayer_SetVolume(int volume) {
    record("APlayer_SetVolume", volume);
    volume_ = volume;
}

bool FakeEngine::APlayer_SetConfigA(int id, const std::string& value) {
    record("APlayer_SetConfigA", id, value);
    config_[id] = value;
    return configResult_;
}

std::string FakeEngine::APlayer_GetConfigA(int id) const {
    record("APlayer_GetConfigA", id);
    if (auto it = answers_.find(id); it != answers_.end()) return it->second;
    if (id == cfg::PlayResult && !failureReason_.empty()) return "2";
    if (id == cfg::FailureReason) return failureReason_;
    auto it = config_.find(id);
    return it == config_.end() ? std::string() : it->second;
}

QWidget* FakeEngine::APlayer_GetWindow() const {
    return window_.data();
}

std::vector<EngineCall> FakeEngine::callsOf(const std::string& operation) const {
    std::vector<EngineCall> out;
    for (const auto& c : calls_)
        if (c.operation == operation) out.push_back(c);
    return out;
}

std::vector<std::string> FakeEngine::configSent(int id) const {
    std::vector<std::string> out;
    for (const auto& c : calls_)
        if (c.operation == "APlayer_SetConfigA" && c.id == id) out.push_back(c.value);
    return out;
}

std::vector<std::pair<int, std::string>> FakeEngine::configSequence() const {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& c : calls_)
        if (c.operation == "APlayer_SetConfigA") out.emplace_back(c.id, c.value);
    return out;
}

void FakeEngine::failOpen(const std::string& reason) {
    failureReason_ = reason.empty() ? "播放出错" : reason;
    state_ = StateReady;
}

void FakeEngine::setConfigAnswer(int id, std::optional<std::string> answer) {
    if (answer)
        answers_[id] = *answer;
    else
        answers_.erase(id);
}

void FakeEngine::sendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message_) message_(message, wParam, lParam);
}

void FakeEngine::sendBuffering(int percent) {
    if (buffering_) buffering_(percent);
}

void FakeEngine::sendCodecMissing(const std::string& codecName) {
    if (codecMissing_) codecMissing_(codecName);
}

} // namespace qinglan::aplayer
