#include "aplayer/FakeEngine.h"

#include "aplayer/ConfigTable.h"

#include <QImage>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>

namespace qinglan::aplayer {
namespace {

bool convertingMode(const std::string& mode) {
    return mode == "2" || mode == "3";
}

// Why a conversion must not write `wanted`; the real engine refuses the same names.
std::string outputProblem(const std::string& wanted) {
    if (wanted.empty()) return "未设置输出文件";
    if (wanted.find('/') == std::string::npos) return "未设置保存目录";
    if (wanted.front() != '/') return "保存目录不是绝对路径";
    return {};
}

} // namespace

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

void FakeEngine::resetMedia() {
    ++run_;
    if (converting_) {
        converting_ = false;
        showText("转码已取消");
    }
    opening_.clear();
    failureReason_.clear();
    playResult_.clear();
    pendingSeek_.reset();
    pauseAsked_ = false;
    state_ = StateReady;
    position_ = 0;
    duration_ = 0;
}

bool FakeEngine::APlayer_OpenA(const std::string& pathOrAddress) {
    record("APlayer_OpenA", 0, pathOrAddress);
    lastOpened_ = pathOrAddress;
    if (!created_ || !openResult_ || pathOrAddress.empty()) return false;
    const bool wasConverting = converting_;
    converting_ = false; // a new open replaces a running conversion without a word
    resetMedia();
    if (wasConverting) config_[cfg::OsdShow] = "0";
    opening_ = pathOrAddress;
    if (convertingMode(stored(cfg::ProcessingMode))) {
        startConversion(pathOrAddress);
        return true;
    }
    state_ = StateOpening;
    playResult_ = "1";
    QMetaObject::invokeMethod(
        &queue_, [this, run = run_] { settle(run); }, Qt::QueuedConnection);
    return true;
}

void FakeEngine::startConversion(const std::string& path) {
    if (const std::string problem = outputProblem(stored(cfg::OutputFile)); !problem.empty()) {
        opening_.clear();
        showText("转码失败：" + problem);
        return;
    }
    converting_ = true;
    state_ = StatePlaying;
    playResult_ = "1";
    position_ = 0;
    if (auto it = media_.find(path); it != media_.end()) duration_ = it->second.durationMs;
    showText("转码中：0%");
    QMetaObject::invokeMethod(
        &queue_, [this, run = run_] { settle(run); }, Qt::QueuedConnection);
}

void FakeEngine::endConversion(const std::string& text) {
    converting_ = false;
    state_ = StateReady;
    playResult_.clear();
    opening_.clear();
    position_ = duration_ = 0;
    showText(text);
}

void FakeEngine::showText(const std::string& text) {
    config_[cfg::OsdShow] = "1";
    config_[cfg::OsdText] = text;
}

void FakeEngine::settle(unsigned run) {
    if (run != run_) return;
    if (converting_) {
        endConversion("Conversion finished: " + stored(cfg::OutputFile));
        return;
    }
    if (state_ != StateOpening) return; // a test scripted another state meanwhile
    const auto it = media_.find(opening_);
    if (it != media_.end() && !it->second.failure.empty()) {
        failOpen(it->second.failure);
        return;
    }
    if (it != media_.end()) duration_ = it->second.durationMs;
    state_ = pauseAsked_ ? StatePaused : StatePlaying;
    const int seek = pendingSeek_.value_or(0);
    pendingSeek_.reset();
    position_ = duration_ > 0 ? std::min(seek, duration_) : seek;
}

void FakeEngine::runPending() {
    settle(run_);
}

void FakeEngine::APlayer_Play() {
    record("APlayer_Play");
    pauseAsked_ = false;
    if (state_ == StatePaused) state_ = StatePlaying;
}

void FakeEngine::APlayer_Pause() {
    record("APlayer_Pause");
    if (converting_) return;
    pauseAsked_ = true;
    if (state_ == StatePlaying) state_ = StatePaused;
}

void FakeEngine::APlayer_Close() {
    record("APlayer_Close");
    resetMedia();
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
    if (converting_) return;
    const int target = std::max(ms, 0);
    if (state_ == StateOpening) {
        pendingSeek_ = target;
        return;
    }
    if (!mediaLoaded()) return;
    if (duration_ > 0 && target >= duration_) {
        // Sought to the end: the media ends there as if played through.
        position_ = duration_;
        state_ = StateReady;
        playResult_ = "0";
        opening_.clear();
        return;
    }
    position_ = target;
}

void FakeEngine::APlayer_SetVolume(int volume) {
    record("APlayer_SetVolume", volume);
    volume_ = std::clamp(volume, 0, 1000);
}

bool FakeEngine::APlayer_SetConfigA(int id, const std::string& value) {
    record("APlayer_SetConfigA", id, value);
    config_[id] = value;
    if (id == cfg::ProcessingMode && !convertingMode(value) && converting_) {
        ++run_;
        endConversion("转码已取消");
    }
    return configResult_;
}

std::string FakeEngine::APlayer_GetConfigA(int id) const {
    record("APlayer_GetConfigA", id);
    if (auto it = answers_.find(id); it != answers_.end()) return it->second;
    switch (id) {
    case cfg::MediaLoaded:
        return mediaLoaded() && !converting_ ? opening_ : std::string();
    case cfg::PlayResult:
        return playResult_;
    case cfg::FailureReason:
        return failureReason_;
    default:
        break;
    }
    return stored(id);
}

std::string FakeEngine::stored(int id) const {
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

void FakeEngine::scriptMedia(const std::string& path, int durationMs) {
    media_[path] = Media{durationMs, {}};
}

void FakeEngine::scriptFailure(const std::string& path, const std::string& reason) {
    media_[path] = Media{0, reason.empty() ? "播放出错" : reason};
}

void FakeEngine::failOpen(const std::string& reason) {
    ++run_; // the pending load will not come
    converting_ = false;
    opening_.clear();
    pendingSeek_.reset();
    failureReason_ = reason.empty() ? "播放出错" : reason;
    playResult_ = "2";
    state_ = StateReady;
    position_ = duration_ = 0;
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
