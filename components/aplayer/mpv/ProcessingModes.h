#pragma once
// The processing modes: while id 6 is "2" or "3" an open converts the media into the file of
// id 804 instead of playing it. The work runs on the processor's thread; its progress and its
// end come back to the Qt thread as queued calls and show as the on-screen text of the
// player's own ids (602, 612), so its look stays the player's.
#include "processing/Processing.h"

#include <QObject>

#include <array>
#include <memory>
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class OnScreenText;

class ProcessingModes {
public:
    ProcessingModes(ConfigValues& config, OnScreenText& text) : config_(config), text_(text) {}
    ~ProcessingModes();
    ProcessingModes(const ProcessingModes&) = delete;
    ProcessingModes& operator=(const ProcessingModes&) = delete;

    bool modeOn() const; // id 6 is "2" or "3"
    // Ids 6 and 905-907, at every value sent.
    void record(int id, const std::string& value);

    // Converts path with the ids sent so far (the media played until now is stopped first).
    bool start(const std::string& path);
    // Cancels a running conversion; its partial output is removed.
    void stop();
    // The same, asked for by the player, and says so on screen.
    void cancel();

    bool running() const { return on_; }
    const processing::Progress& progress() const { return progress_; }

private:
    void progressed(unsigned run, const processing::Progress& progress);
    void done(unsigned run, const processing::Outcome& outcome);
    void showOutcome(const std::string& text);
    void show(const std::string& text);
    void hide();

    ConfigValues& config_;
    OnScreenText& text_;
    QObject context_; // queued reports and timers end with this part
    std::unique_ptr<processing::Processor> processor_;
    bool on_ = false;
    unsigned run_ = 0;
    processing::Progress progress_;
    std::array<int, 4> borders_{}; // id 907: top, bottom, left, right
    std::size_t nextBorder_ = 0;
};

} // namespace qinglan::aplayer
