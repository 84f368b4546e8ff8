#include "settingswindow/ApplyAllSettings.h"

#include <aplayer/ConfigTable.h>
#include <ui/SettingsOptions.h>

#include <initializer_list>

namespace qinglan::settingswindow {

int listPlace(const std::vector<std::string_view>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i) + 1;
    return 0;
}

namespace {

namespace cfg = aplayer::cfg;

class Sends {
public:
    explicit Sends(const settings::SettingsRecord& r) : r_(r) {}

    void add(int id, std::string value) { out_.push_back({id, std::move(value)}); }
    void field(int id, int field) { add(id, r_.text(field)); }
    // One value per flag field: the first flag that is on picks its value; none sends nothing.
    void choice(int id, std::initializer_list<std::pair<int, const char*>> options) {
        for (const auto& [flag, value] : options)
            if (r_.isOn(flag)) {
                add(id, value);
                return;
            }
    }
    bool on(int field) const { return r_.isOn(field); }
    std::string text(int field) const { return r_.text(field); }
    std::vector<ConfigValue> take() { return std::move(out_); }

private:
    const settings::SettingsRecord& r_;
    std::vector<ConfigValue> out_;
};

void lyricSteps(Sends& s, const OpenMedia& media) {
    if (!s.on(1)) {
        s.add(cfg::LyricsShow, "0");
        return;
    }
    s.add(cfg::LyricsShow, "1");
    s.choice(cfg::LyricsAlign, {{3, "1"}, {4, "0"}, {5, "2"}});
    s.choice(cfg::LyricsDrag, {{16, "1"}, {17, "0"}});
    s.choice(cfg::LyricsFade, {{25, "1"}, {26, "0"}});
    s.choice(cfg::LyricsAnimation, {{27, "0"}, {28, "1"}, {29, "2"}});
    if (s.on(14)) {
        s.add(cfg::LyricsBorder, "1");
        s.field(cfg::LyricsBorderColour, 13);
    }
    if (s.on(15)) s.add(cfg::LyricsBorder, "0");
    s.choice(cfg::LyricsBackFit, {{18, "1"}, {19, "2"}, {20, "3"}});
    if (s.on(21)) s.field(cfg::LyricsBackColour, 23);
    if (s.on(22)) s.field(cfg::LyricsBackPicture, 24);
    // font;width;height;weight;spacing
    s.add(cfg::LyricsFont,
          s.text(6) + ";" + s.text(10) + ";" + s.text(8) + ";" + s.text(7) + ";" + s.text(9));
    s.field(cfg::LyricsTextColour, 11);
    s.field(cfg::LyricsHighlight, 12);
    s.field(cfg::LyricsOffset, 30);
    s.field(cfg::LyricsInterval, 31);
    s.add(cfg::LyricsWindowKind, "0");
    s.add(cfg::LyricsFile, media.audio ? media.mediaStem + "lrc" : std::string());
}

void subtitleStyle(Sends& s) {
    const std::string position = ";" + s.text(37) + ";" + s.text(38);
    if (s.on(35)) s.add(cfg::SubtitlePos, "1" + position);
    if (s.on(36)) s.add(cfg::SubtitlePos, "0" + position);
    const std::string font = s.text(42) + ";" + s.text(43) + ";" + s.text(44) + ";";
    if (s.on(45)) s.add(cfg::SubtitleFont, font + "1");
    if (s.on(46)) s.add(cfg::SubtitleFont, font + "0");
    s.choice(cfg::SubtitleRenderMode, {{48, "0"}, {49, "1"}, {50, "2"}});
    s.choice(cfg::SubtitleStyleOwn, {{40, "1"}, {41, "0"}});
}

void subtitleSteps(Sends& s, const OpenMedia& media) {
    const std::string delay = s.text(39) + ";1000;1000";
    if (s.on(32)) {
        s.add(cfg::SubtitleShow, "1");
        subtitleStyle(s);
        s.field(cfg::SubtitleLanguage, 47);
        s.add(cfg::SubtitleDelay, delay);
        s.add(cfg::SubtitleFile, media.subtitleFile);
    }
    if (s.on(33)) {
        s.add(cfg::Subtitle2Show, "1");
        subtitleStyle(s);
        s.field(cfg::Subtitle2Language, 47);
        s.add(cfg::Subtitle2Delay, delay);
        s.add(cfg::Subtitle2File, media.subtitleFile);
    }
    if (s.on(34)) {
        s.add(cfg::SubtitleShow, "0");
        s.add(cfg::Subtitle2Show, "0");
    }
}

void threeDSteps(Sends& s) {
    if (s.on(73)) {
        s.add(cfg::Stereo3d, "1");
        s.choice(cfg::Stereo3dEffect, {{75, "1"}, {76, "0"}});
        s.choice(cfg::Stereo3dLayout, {{78, "1"}, {79, "2"}, {80, "3"}});
        if (int place = listPlace(ui::colourPairNames(), s.text(77)))
            s.add(cfg::Stereo3dPair, std::to_string(place));
    } else if (s.on(74)) {
        s.add(cfg::Stereo3d, "0");
    }
}

void pictureSteps(Sends& s) {
    s.choice(cfg::Enhancement, {{51, "1"}, {52, "0"}});
    s.choice(cfg::Comparison, {{53, "1"}, {54, "0"}});
    s.choice(cfg::FlipHorizontal, {{68, "1"}, {69, "0"}});
    s.choice(cfg::FlipVertical, {{70, "1"}, {71, "0"}});
    threeDSteps(s);
    s.field(cfg::RotateDegrees, 72);
    s.field(cfg::Brightness, 55);
    s.field(cfg::Contrast, 56);
    s.field(cfg::Saturation, 57);
    s.field(cfg::Hue, 58);
    if (int place = listPlace(ui::rendererNames(), s.text(59)))
        s.add(cfg::Renderer, std::to_string(place));
    s.choice(cfg::Avx2, {{83, "1"}, {84, "0"}});
    s.choice(cfg::Sse2, {{85, "1"}, {86, "0"}});
    s.choice(cfg::OpenGl, {{81, "1"}, {82, "0"}});
    s.choice(cfg::HardwareDecoding, {{64, "1"}, {65, "0"}});
    s.choice(cfg::HardwareDecodingMode, {{66, "0"}, {67, "1"}});
}

void soundSteps(Sends& s) {
    s.choice(cfg::ChannelMap, {{98, "0"}, {99, "1"}, {100, "2"}, {101, "3"}});
    s.field(cfg::ChannelDelay, 102);
    s.choice(cfg::VolumeLevelling, {{103, "1"}, {104, "0"}});
    s.field(cfg::AudioTrack, 105);
    if (s.on(106)) {
        s.add(cfg::Surround, "1");
        s.field(cfg::SurroundDepth, 108);
    }
    if (s.on(107)) s.add(cfg::Surround, "0");
    if (s.on(109)) {
        s.choice(cfg::MultichannelMode, {{111, "1"}, {112, "2"}, {113, "3"}, {114, "4"}});
        s.field(cfg::MultichannelVolume, 115);
    }
}

} // namespace

std::vector<ConfigValue> applyAllSettings(const settings::SettingsRecord& record,
                                          const OpenMedia& media) {
    Sends s(record);
    lyricSteps(s, media);
    subtitleSteps(s, media);
    pictureSteps(s);
    soundSteps(s);
    return s.take();
}

} // namespace qinglan::settingswindow
