// The processing modes inside the engine: while id 6 is "2" or "3" an open converts the media
// instead of playing it. The work runs on the processor's thread; its progress and its end come
// back to the Qt thread as queued calls and show as on-screen text.
#include "MpvEngine.h"

#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"
#include "processing/OutputFile.h"

#include <QMetaObject>
#include <QTimer>

#include <mpv/client.h>

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

bool MpvEngine::processingModeOn() const {
    const std::string mode = configValue(cfg::ProcessingMode);
    return mode == "2" || mode == "3";
}

void MpvEngine::onProcessingConfig(int id, const std::string& value) {
    switch (id) {
    case cfg::ProcessingMode:
        if (value != "2" && value != "3") cancelProcessing();
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

bool MpvEngine::startProcessing(const std::string& path) {
    if (mpv_) command({"stop"}); // the media played until now
    resetMedia();
    if (window_) window_->showVideo(false);

    // Refused before anything starts, so nothing is written where the player was started.
    if (const std::string problem = processing::outputFolderProblem(configValue(cfg::OutputFile));
        !problem.empty()) {
        showOutcomeText("转码失败：" + problem);
        return true;
    }

    processing::Job job;
    job.mode = configValue(cfg::ProcessingMode) == "2" ? processing::Mode::StreamCopy
                                                       : processing::Mode::Transcode;
    job.input = path;
    job.output = configValue(cfg::OutputFile);
    job.format = configValue(cfg::OutputFormat);
    if (job.format.empty()) job.format = extensionOf(job.output);
    job.startMs = configValue(cfg::StartMs);
    job.endMs = configValue(cfg::EndMs);
    const auto number = [this](int id, long long otherwise) {
        return parseInteger(configValue(id)).value_or(otherwise);
    };
    job.width = static_cast<int>(std::max(0LL, number(cfg::OutputWidth, 0)));
    job.height = static_cast<int>(std::max(0LL, number(cfg::OutputHeight, 0)));
    job.keepAspect = configValue(cfg::OutputKeepAspect) != "0";
    job.audioTrack = static_cast<int>(std::max(0LL, number(cfg::OutputAudioTrack, 0)));
    job.subtitleIndex = static_cast<int>(number(cfg::OutputSubtitle, -1));
    job.borders = borders_;

    const unsigned run = ++processingRun_;
    processingProgress_ = {};
    processingOn_ = true;
    showProcessingText("转码中：0%");
    processor_ = std::make_unique<processing::Processor>(
        std::move(job),
        [this, run](const processing::Progress& p) {
            QMetaObject::invokeMethod(
                &dispatcher_, [this, run, p] { onProcessingProgress(run, p); },
                Qt::QueuedConnection);
        },
        [this, run](const processing::Outcome& o) {
            QMetaObject::invokeMethod(
                &dispatcher_, [this, run, o] { onProcessingDone(run, o); }, Qt::QueuedConnection);
        });
    return true;
}

void MpvEngine::cancelProcessing() {
    if (!processor_) return;
    stopProcessing();
    // Its partial output is gone: the user must not wait for a file that never comes.
    showOutcomeText("转码已取消");
}

void MpvEngine::stopProcessing() {
    if (!processor_) return;
    ++processingRun_;   // whatever the old job still reports is dropped
    processor_.reset(); // cancels, waits for its thread; the partial output is removed
    processingOn_ = false;
    hideProcessingText();
}

void MpvEngine::onProcessingProgress(unsigned run, const processing::Progress& p) {
    if (run != processingRun_ || !processingOn_) return;
    const bool changed = p.percent != processingProgress_.percent;
    processingProgress_ = p;
    if (changed) showProcessingText("转码中：" + std::to_string(p.percent) + "%");
}

void MpvEngine::onProcessingDone(unsigned run, const processing::Outcome& o) {
    if (run != processingRun_) return;
    processor_.reset(); // its thread has ended
    processingOn_ = false;
    processingProgress_ = {};
    if (o.cancelled) {
        hideProcessingText();
        return;
    }
    showOutcomeText(o.ok ? "Conversion finished: " + o.writtenFile : "转码失败：" + o.reason);
}

// Shown for a while, then hidden unless another text or conversion came meanwhile.
void MpvEngine::showOutcomeText(const std::string& text) {
    showProcessingText(text);
    QTimer::singleShot(kOutcomeMessageMs, &dispatcher_, [this, text] {
        if (!processingOn_ && configValue(cfg::OsdText) == text) hideProcessingText();
    });
}

// The on-screen text of the player's own ids, so its look stays the player's.
void MpvEngine::showProcessingText(const std::string& text) {
    config_[cfg::OsdShow] = "1";
    config_[cfg::OsdText] = text;
    applyOnScreenText();
}

void MpvEngine::hideProcessingText() {
    const std::string text = configValue(cfg::OsdText);
    if (text.rfind("转码", 0) != 0 && text.rfind("Conversion", 0) != 0) return; // not ours
    config_[cfg::OsdShow] = "0";
    applyOnScreenText();
}

} // namespace qinglan::aplayer
