#include "settingswindow/ApplyAllSettings.h"

#include <ui/SettingsOptions.h>

#include <initializer_list>

namespace qinglan::settingswindow {

int listPlace(const std::vector<std::string_view>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i) + 1;
    return 0;
}

namespace {

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
        s.add(1302, "0");
        return;
    }
    s.add(1302, "1");
    s.choice(1328, {{3, "1"}, {4, "0"}, {5, "2"}});
    s.choice(1321, {{16, "1"}, {17, "0"}});
    s.choice(1318, {{25, "1"}, {26, "0"}});
    s.choice(1319, {{27, "0"}, {28, "1"}, {29, "2"}});
    if (s.on(14)) {
        s.add(1314, "1");
        s.field(1315, 13);
    }
    if (s.on(15)) s.add(1314, "0");
    s.choice(1310, {{18, "1"}, {19, "2"}, {20, "3"}});
    if (s.on(21)) s.field(1307, 23);
    if (s.on(22)) s.field(1308, 24);
    // font;width;height;weight;spacing
    s.add(1311, s.text(6) + ";" + s.text(10) + ";" + s.text(8) + ";" + s.text(7) + ";" + s.text(9));
    s.field(1312, 11);
    s.field(1313, 12);
    s.field(1320, 30);
    s.field(1303, 31);
    s.add(1316, "0");
    s.add(1305, media.audio ? media.mediaStem + "lrc" : std::string());
}

void subtitleStyle(Sends& s) {
    const std::string position = ";" + s.text(37) + ";" + s.text(38);
    if (s.on(35)) s.add(2107, "1" + position);
    if (s.on(36)) s.add(2107, "0" + position);
    const std::string font = s.text(42) + ";" + s.text(43) + ";" + s.text(44) + ";";
    if (s.on(45)) s.add(2108, font + "1");
    if (s.on(46)) s.add(2108, font + "0");
    s.choice(2110, {{48, "0"}, {49, "1"}, {50, "2"}});
    s.choice(16, {{40, "1"}, {41, "0"}});
}

void subtitleSteps(Sends& s, const OpenMedia& media) {
    const std::string delay = s.text(39) + ";1000;1000";
    if (s.on(32)) {
        s.add(504, "1");
        subtitleStyle(s);
        s.field(506, 47);
        s.add(509, delay);
        s.add(503, media.subtitleFile);
    }
    if (s.on(33)) {
        s.add(2104, "1");
        subtitleStyle(s);
        s.field(2106, 47);
        s.add(2109, delay);
        s.add(2103, media.subtitleFile);
    }
    if (s.on(34)) {
        s.add(504, "0");
        s.add(2104, "0");
    }
}

void threeDSteps(Sends& s) {
    if (s.on(73)) {
        s.add(308, "1");
        s.choice(310, {{75, "1"}, {76, "0"}});
        s.choice(311, {{78, "1"}, {79, "2"}, {80, "3"}});
        if (int place = listPlace(ui::colourPairNames(), s.text(77)))
            s.add(312, std::to_string(place));
    } else if (s.on(74)) {
        s.add(308, "0");
    }
}

void pictureSteps(Sends& s) {
    s.choice(305, {{51, "1"}, {52, "0"}});
    s.choice(306, {{53, "1"}, {54, "0"}});
    s.choice(302, {{68, "1"}, {69, "0"}});
    s.choice(303, {{70, "1"}, {71, "0"}});
    threeDSteps(s);
    s.field(304, 72);
    s.field(214, 55);
    s.field(215, 56);
    s.field(216, 57);
    s.field(217, 58);
    if (int place = listPlace(ui::rendererNames(), s.text(59))) s.add(201, std::to_string(place));
    s.choice(314, {{83, "1"}, {84, "0"}});
    s.choice(315, {{85, "1"}, {86, "0"}});
    s.choice(313, {{81, "1"}, {82, "0"}});
    s.choice(209, {{64, "1"}, {65, "0"}});
    s.choice(210, {{66, "0"}, {67, "1"}});
}

void soundSteps(Sends& s) {
    s.choice(404, {{98, "0"}, {99, "1"}, {100, "2"}, {101, "3"}});
    s.field(405, 102);
    s.choice(406, {{103, "1"}, {104, "0"}});
    s.field(403, 105);
    if (s.on(106)) {
        s.add(407, "1");
        s.field(408, 108);
    }
    if (s.on(107)) s.add(407, "0");
    if (s.on(109)) {
        s.choice(1502, {{111, "1"}, {112, "2"}, {113, "3"}, {114, "4"}});
        s.field(1503, 115);
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
