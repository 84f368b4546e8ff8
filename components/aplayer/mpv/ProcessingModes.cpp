#include "ProcessingModes.h"

#include "ConfigValues.h"
#include "OnScreenText.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/MpvTranslate.h"
#include "processing/OutputFile.h"

#include <QMetaObject>
#include <QTimer>

namespace qinglan::aplayer {
namespace {

// How long the message at the end of a conversion stays.
constexpr int kOutcomeMessageMs = 6000;

std::string extensionOf(const std::string& path) {
    const auto slash = path.rfind('/'), dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

} // namespace

ProcessingModes::~ProcessingModes() {
    processor_.reset(); // cancels and waits for its thread before the part goes
}

bool ProcessingModes::modeOn() const {
    const std::string mode = config_[cfg::ProcessingMode];
    return mode == "2" || mode == "3";
}

void ProcessingModes::record(int id, const std::string& value) {
    switch (id) {
    case cfg::ProcessingMode:
        if (value != "2" && value != "3") cancel();
        break;
    // The four border values follow the audio and subtitle indexes: top, bottom, left, right.
    // A value sent on its own takes the next edge in that order.
    case cfg::OutputAudioTrack:
    case cfg::OutputSubtitle:
        nextBorder_ = 0;
        break;
    case cfg::OutputBorder:
        borders_[nextBorder_ % borders_.size()] = static_cast<int>(parseInteger(value).value_or(0));
        nextBorder_ = (nextBorder_ + 1) % borders_.size();
        break;
    default:
        break;
    }
}

bool ProcessingModes::start(const std::string& path) {
    // Refused before anything starts, so nothing is written where the player was started.
    if (const std::string problem = processing::outputFolderProblem(config_[cfg::OutputFile]);
        !problem.empty()) {
        showOutcome("转码失败：" + problem);
        return true;
    }

    processing::Job job;
    job.mode = config_[cfg::ProcessingMode] == "2" ? processing::Mode::StreamCopy
                                                   : processing::Mode::Transcode;
    job.input = path;
    job.output = config_[cfg::OutputFile];
    job.format = config_[cfg::OutputFormat];
    if (job.format.empty()) job.format = extensionOf(job.output);
    job.startMs = config_[cfg::StartMs];
    job.endMs = config_[cfg::EndMs];
    const auto number = [this](int id, long long otherwise) {
        return parseInteger(config_[id]).value_or(otherwise);
    };
    job.width = static_cast<int>(std::max(0LL, number(cfg::OutputWidth, 0)));
    job.height = static_cast<int>(std::max(0LL, number(cfg::OutputHeight, 0)));
    job.keepAspect = config_[cfg::OutputKeepAspect] != "0";
    job.audioTrack = static_cast<int>(std::max(0LL, number(cfg::OutputAudioTrack, 0)));
    job.subtitleIndex = static_cast<int>(number(cfg::OutputSubtitle, -1));
    job.borders = borders_;

    const unsigned run = ++run_;
    progress_ = {};
    on_ = true;
    show("转码中：0%");
    processor_ = std::make_unique<processing::Processor>(
        std::move(job),
        [this, run](const processing::Progress& p) {
            QMetaObject::invokeMethod(
                &context_, [this, run, p] { progressed(run, p); }, Qt::QueuedConnection);
        },
        [this, run](const processing::Outcome& o) {
            QMetaObject::invokeMethod(
                &context_, [this, run, o] { done(run, o); }, Qt::QueuedConnection);
        });
    return true;
}

void ProcessingModes::cancel() {
    if (!processor_) return;
    stop();
    // Its partial output is gone: the user must not wait for a file that never comes.
    showOutcome("转码已取消");
}

void ProcessingModes::stop() {
    if (!processor_) return;
    ++run_;             // whatever the old job still reports is dropped
    processor_.reset(); // cancels, waits for its thread; the partial output is removed
    on_ = false;
    hide();
}

void ProcessingModes::progressed(unsigned run, const processing::Progress& p) {
    if (run != run_ || !on_) return;
    const bool changed = p.percent != progress_.percent;
    progress_ = p;
    if (changed) show("转码中：" + std::to_string(p.percent) + "%");
}

void ProcessingModes::done(unsigned run, const processing::Outcome& o) {
    if (run != run_) return;
    processor_.reset(); // its thread has ended
    on_ = false;
    progress_ = {};
    if (o.cancelled) {
        hide();
        return;
    }
    showOutcome(o.ok ? "Conversion finished: " + o.writtenFile : "转码失败：" + o.reason);
}

// Shown for a while, then hidden unless another text or conversion came meanwhile.
void ProcessingModes::showOutcome(const std::string& text) {
    show(text);
    QTimer::singleShot(kOutcomeMessageMs, &context_, [this, text] {
        if (!on_ && config_[cfg::OsdText] == text) hide();
    });
}

void ProcessingModes::show(const std::string& text) {
    config_.set(cfg::OsdShow, "1");
    config_.set(cfg::OsdText, text);
    text_.apply();
}

void ProcessingModes::hide() {
    const std::string text = config_[cfg::OsdText];
    if (text.rfind("转码", 0) != 0 && text.rfind("Conversion", 0) != 0) return; // not ours
    config_.set(cfg::OsdShow, "0");
    text_.apply();
}

} // namespace qinglan::aplayer
