#include "settings/SettingsFields.h"

#include <platform/FileTypes.h>

#include <algorithm>
#include <vector>

namespace qinglan::settings {

namespace {

using enum FieldType;
using enum DefaultKind;
constexpr Page Lyr = Page::Lyrics, Sub = Page::Subtitle, Pic = Page::Picture, Snd = Page::Sound,
               Gen = Page::General, Shot = Page::Screenshot, Hot = Page::Hotkey,
               Trans = Page::Transcode, Assoc = Page::Association, Vr = Page::VirtualReality,
               Win = Page::None;

// Every field but the file types' check boxes, whose rows the file-type table gives.
// clang-format off
constexpr FieldInfo kOwnFields[] = {
    {1, Text, Lyr, "lyrics: show", Value, "1"},
    {2, Text, Lyr, "lyrics: hide", Value, "0"},
    {3, Text, Lyr, "lyrics alignment: left", Value, "0"},
    {4, Text, Lyr, "lyrics alignment: centre", Value, "1"},
    {5, Text, Lyr, "lyrics alignment: right", Value, "0"},
    {6, Text, Lyr, "lyrics font name", Value, "黑体"},
    {7, Text, Lyr, "lyrics font weight (100 to 3000)", Value, "1500"},
    {8, Text, Lyr, "lyrics font height (10 to 40)", Value, "25"},
    {9, Text, Lyr, "lyrics line spacing (10 to 40)", Value, "20"},
    {10, Text, Lyr, "lyrics font width (10 to 40)", Value, "20"},
    {11, Text, Lyr, "lyrics text colour", Value, "16746496"},
    {12, Text, Lyr, "lyrics highlight colour", Value, "65535"},
    {13, Text, Lyr, "lyrics border colour", Value, "0"},
    {14, Text, Lyr, "lyrics text border: on", Value, "1"},
    {15, Text, Lyr, "lyrics text border: off", Value, "0"},
    {16, Text, Lyr, "lyrics dragging: on", Value, "1"},
    {17, Text, Lyr, "lyrics dragging: off", Value, "0"},
    {18, Text, Lyr, "lyrics background picture: stretch", Value, "0"},
    {19, Text, Lyr, "lyrics background picture: keep aspect", Value, "0"},
    {20, Text, Lyr, "lyrics background picture: centre", Value, "1"},
    {21, Text, Lyr, "lyrics background is a colour", Value, "1"},
    {22, Text, Lyr, "lyrics background is a picture", Value, "0"},
    {23, Text, Lyr, "lyrics background colour", Value, "15527148"},
    {24, Text, Lyr, "lyrics background picture file", Value, ""},
    {25, Text, Lyr, "lyrics fade in/out: on", Value, "1"},
    {26, Text, Lyr, "lyrics fade in/out: off", Value, "0"},
    {27, Text, Lyr, "lyrics animation: none", Value, "0"},
    {28, Text, Lyr, "lyrics animation: gradient", Value, "0"},
    {29, Text, Lyr, "lyrics animation: progress bar", Value, "1"},
    {30, Text, Lyr, "lyrics time offset, ms (0 to 10000)", Value, "0"},
    {31, Text, Lyr, "lyrics update interval, ms (0 to 100)", Value, "0"},
    {32, Text, Sub, "subtitle: first", Value, "0"},
    {33, Text, Sub, "subtitle: second", Value, "0"},
    {34, Text, Sub, "subtitles: off", Value, "1"},
    {35, Text, Sub, "subtitle custom position: on", Value, "1"},
    {36, Text, Sub, "subtitle custom position: off", Value, "0"},
    {37, Text, Sub, "subtitle horizontal position (10 to 100)", Value, "50"},
    {38, Text, Sub, "subtitle vertical position (10 to 100)", Value, "90"},
    {39, Text, Sub, "subtitle delay, ms (0 to 10000)", Value, "5000"},
    {40, Text, Sub, "VsFilter: on", Value, "1"},
    {41, Text, Sub, "VsFilter: off", Value, "0"},
    {42, Text, Sub, "subtitle font name", Value, "宋体"},
    {43, Text, Sub, "subtitle font size (10 to 40)", Value, "18"},
    {44, Text, Sub, "subtitle font colour", Value, "16777215"},
    {45, Text, Sub, "subtitle font shadow: on", Value, "1"},
    {46, Text, Sub, "subtitle font shadow: off", Value, "0"},
    {47, Text, Sub, "subtitle language index", Value, "0"},
    {48, Text, Sub, "subtitle rendering: normal (2D)", Value, "1"},
    {49, Text, Sub, "subtitle rendering: side-by-side 3D", Value, "0"},
    {50, Text, Sub, "subtitle rendering: top-bottom 3D", Value, "0"},
    {51, Text, Pic, "picture enhancement: on", Value, "0"},
    {52, Text, Pic, "picture enhancement: off", Value, "1"},
    {53, Text, Pic, "quality comparison: on", Value, "0"},
    {54, Text, Pic, "quality comparison: off", Value, "1"},
    {55, Text, Pic, "brightness, percent", Value, "50"},
    {56, Text, Pic, "contrast, percent", Value, "50"},
    {57, Text, Pic, "saturation, percent", Value, "50"},
    {58, Text, Pic, "hue, percent", Value, "50"},
    {59, Text, Pic, "renderer name", Value, "增强型(EVR)"},
    {60, Integer, Hot, "volume up: modifier 1", Value, "0"},
    {61, Integer, Hot, "volume up: modifier 2", Value, "0"},
    {62, Integer, Hot, "volume up: key code", Value, "38"},
    {63, Integer, Hot, "volume down: modifier 1", Value, "0"},
    {64, Text, Pic, "hardware acceleration: on", Value, "0"},
    {65, Text, Pic, "hardware acceleration: off", Value, "1"},
    {66, Text, Pic, "hardware acceleration mode: DXVA", Value, "1"},
    {67, Text, Pic, "hardware acceleration mode: DXVA2", Value, "0"},
    {68, Text, Pic, "horizontal flip", Value, "0"},
    {69, Text, Pic, "no horizontal flip", Value, "1"},
    {70, Text, Pic, "vertical flip", Value, "0"},
    {71, Text, Pic, "no vertical flip", Value, "1"},
    {72, Text, Pic, "rotation, degrees (0 to 360)", Value, "0"},
    {73, Text, Pic, "3D playback: on", Value, "0"},
    {74, Text, Pic, "3D playback: off", Value, "1"},
    {75, Text, Pic, "3D effect: show", Value, "1"},
    {76, Text, Pic, "3D effect: hide", Value, "0"},
    {77, Text, Pic, "3D colour pair", Value, "红青"},
    {78, Text, Pic, "3D separation: virtual", Value, "1"},
    {79, Text, Pic, "3D separation: side by side", Value, "0"},
    {80, Text, Pic, "3D separation: top and bottom", Value, "0"},
    {81, Text, Pic, "OpenGL acceleration: on", Value, "1"},
    {82, Text, Pic, "OpenGL acceleration: off", Value, "0"},
    {83, Text, Pic, "AVX2 acceleration: on", Value, "1"},
    {84, Text, Pic, "AVX2 acceleration: off", Value, "0"},
    {85, Text, Pic, "SSE2 acceleration: on", Value, "1"},
    {86, Text, Pic, "SSE2 acceleration: off", Value, "0"},
    {98, Text, Snd, "channels: stereo", Value, "1"},
    {99, Text, Snd, "channels: left", Value, "0"},
    {100, Text, Snd, "channels: right", Value, "0"},
    {101, Text, Snd, "channels: mix", Value, "0"},
    {102, Text, Snd, "channel delay, ms (0 to 10000)", Value, "0"},
    {103, Text, Snd, "volume levelling: on", Value, "0"},
    {104, Text, Snd, "volume levelling: off", Value, "1"},
    {105, Text, Snd, "audio track index", Value, "0"},
    {106, Text, Snd, "virtual surround: on", Value, "1"},
    {107, Text, Snd, "virtual surround: off", Value, "0"},
    {108, Text, Snd, "virtual surround depth, percent (0 to 30)", Value, "10"},
    {109, Text, Snd, "AC3-DTS 5.1: on", Value, "0"},
    {110, Text, Snd, "AC3-DTS 5.1: off", Value, "1"},
    {111, Text, Snd, "AC3-DTS 5.1 output: mono", Value, "0"},
    {112, Text, Snd, "AC3-DTS 5.1 output: stereo", Value, "1"},
    {113, Text, Snd, "AC3-DTS 5.1 output: 5.1 channels", Value, "0"},
    {114, Text, Snd, "AC3-DTS 5.1 output: SPDIF", Value, "0"},
    {115, Text, Snd, "5.1 channel volume, percent", Value, "20"},
    {116, Text, Vr, "virtual reality: on", Value, "0"},
    {117, Text, Vr, "virtual reality: off", Value, "1"},
    {118, Text, Vr, "VR drawing mode", Value, "0"},
    {119, Text, Vr, "VR viewer horizontal", Value, "1.28"},
    {120, Text, Vr, "VR viewer vertical", Value, "1.02"},
    {121, Text, Vr, "VR viewer distance", Value, "350.6"},
    {122, Text, Vr, "VR device: none", Value, "1"},
    {123, Text, Vr, "VR device: Oculus DK2", Value, "0"},
    {124, Text, Vr, "VR frame interval, ms (0 to 100)", Value, "5"},
    {125, Text, Vr, "VR monitor: two-eye viewports", Value, "1"},
    {126, Text, Vr, "VR monitor: one-eye panorama", Value, "0"},
    {127, Text, Vr, "VR monitor: none", Value, "0"},
    {128, Text, Vr, "VR cover circle colour", Value, "16777215"},
    {129, Text, Vr, "VR cover circle top, percent (0 to 1000)", Value, "0"},
    {130, Text, Vr, "VR cover circle bottom, percent (0 to 1000)", Value, "20"},
    {131, Text, Vr, "VR render quality, percent", Value, "50"},
    {132, Text, Gen, "start with the system", Value, "0"},
    {133, Text, Gen, "on close: minimize to the tray", Value, "1"},
    {134, Text, Gen, "on close: quit", Value, "0"},
    {135, Text, Trans, "transcode: on", Value, "1"},
    {136, Text, Trans, "transcode: off", Value, "0"},
    {137, Text, Trans, "transcode size: original", Value, "1"},
    {138, Text, Trans, "transcode size: custom", Value, "0"},
    {139, Text, Trans, "transcode width", Value, "640"},
    {140, Text, Trans, "transcode height", Value, "480"},
    {141, Text, Trans, "transcode mode: play", Value, "0"},
    {142, Text, Trans, "transcode mode: format conversion", Value, "0"},
    {143, Text, Trans, "transcode mode: transcode", Value, "1"},
    {144, Text, Trans, "transcode format", Value, "mp4"},
    {145, Text, Trans, "transcode save folder", SpecialFolder, ""},
    {146, Text, Trans, "transcode keep aspect: on", Value, "1"},
    {147, Text, Trans, "transcode keep aspect: off", Value, "0"},
    {148, Text, Trans, "transcode audio track", Value, "0"},
    {149, Text, Trans, "transcode subtitle language", Value, "0"},
    {150, Text, Trans, "transcode black border: top", Value, "0"},
    {151, Text, Trans, "transcode black border: bottom", Value, "0"},
    {152, Text, Trans, "transcode black border: left", Value, "0"},
    {153, Text, Trans, "transcode black border: right", Value, "0"},
    {154, Text, Shot, "screenshot: on", Value, "1"},
    {155, Text, Shot, "screenshot: off", Value, "0"},
    {156, Text, Shot, "screenshot size: original", Value, "1"},
    {157, Text, Shot, "screenshot size: custom", Value, "0"},
    {158, Text, Shot, "screenshot width", Value, "640"},
    {159, Text, Shot, "screenshot height", Value, "480"},
    {160, Text, Shot, "screenshot keep aspect: on", Value, "1"},
    {161, Text, Shot, "screenshot keep aspect: off", Value, "0"},
    {162, Text, Shot, "screenshot quality (1 to 100)", Value, "75"},
    {163, Text, Shot, "screenshot format", Value, "jpg"},
    {164, Text, Shot, "screenshot save folder", SpecialFolder, ""},
    {165, Integer, Win, "video list window: left", FirstRunOnly, "50"},
    {166, Integer, Win, "video list window: top", FirstRunOnly, "50"},
    {167, Text, Win, "settings window opens on the subtitle page", FirstRunOnly, "0"},
    {168, Integer, Win, "main window: left", MainWindow, ""},
    {169, Integer, Win, "main window: top", MainWindow, ""},
    {170, Integer, Win, "main window: width", MainWindow, ""},
    {171, Integer, Win, "main window: height", MainWindow, ""},
    {172, Integer, Win, "video list: selected entry at the last close", FirstRunOnly, "-1"},
    {173, Text, Win, "skip intro/outro: on", FirstRunOnly, "0"},
    {174, Integer, Win, "video list window: width", FirstRunOnly, "218"},
    {175, Integer, Win, "video list window: height", FirstRunOnly, "355"},
    {176, Integer, Hot, "volume down: modifier 2", Value, "0"},
    {177, Integer, Hot, "volume down: key code", Value, "40"},
    {178, Integer, Hot, "previous: modifier 1", Value, "4"},
    {179, Integer, Hot, "previous: modifier 2", Value, "0"},
    {180, Integer, Hot, "previous: key code", Value, "37"},
    {181, Integer, Hot, "next: modifier 1", Value, "4"},
    {182, Integer, Hot, "next: modifier 2", Value, "0"},
    {183, Integer, Hot, "next: key code", Value, "39"},
    {184, Integer, Hot, "leave full screen: modifier 1", Value, "0"},
    {185, Integer, Hot, "leave full screen: modifier 2", Value, "0"},
    {186, Integer, Hot, "leave full screen: key code", Value, "27"},
    {187, Text, Hot, "volume up: key name", Value, "↑"},
    {188, Text, Hot, "volume down: key name", Value, "↓"},
    {189, Text, Hot, "previous: key name", Value, "Alt+←"},
    {190, Text, Hot, "next: key name", Value, "Alt+→"},
    {191, Text, Hot, "leave full screen: key name", Value, "Esc"},
    {192, Text, Hot, "screenshot: key name", Value, "Ctrl+Alt+Q"},
    {193, Integer, Hot, "screenshot: modifier 1", Value, "1"},
    {194, Integer, Hot, "screenshot: modifier 2", Value, "4"},
    {195, Integer, Hot, "screenshot: key code", Value, "81"},
    {196, Integer, Gen, "video list window transparency (1 to 255)", Value, "70"},
    {204, Text, Win, "skip intro/outro: off", FirstRunOnly, "1"},
    {205, Text, Win, "intro length, seconds", FirstRunOnly, "0"},
    {206, Text, Win, "outro length, seconds", FirstRunOnly, "0"},
    {207, Text, Win, "position where the outro starts, ms", FirstRunOnly, "0"},
};
// clang-format on

constexpr auto kTypes = platform::fileTypes();
static_assert(std::size(kOwnFields) + kTypes.size() == kFieldCount);

// "associate .avi" and so on, kept for the whole run as the other rows' texts are.
constexpr auto kAssociationMeanings = [] {
    std::array<std::array<char, 24>, kTypes.size()> texts{};
    constexpr std::string_view prefix = "associate .";
    for (std::size_t i = 0; i < kTypes.size(); ++i) {
        const auto extension = kTypes[i].extension;
        std::copy(prefix.begin(), prefix.end(), texts[i].begin());
        std::copy(extension.begin(), extension.end(), texts[i].begin() + prefix.size());
    }
    return texts;
}();

constexpr std::array<FieldInfo, kFieldCount> kFields = [] {
    std::array<FieldInfo, kFieldCount> all{};
    for (const auto& f : kOwnFields)
        all[static_cast<std::size_t>(f.number - 1)] = f;
    for (std::size_t i = 0; i < kTypes.size(); ++i) {
        const int number = kTypes[i].field;
        all[static_cast<std::size_t>(number - 1)] = {
            number, Text, Assoc, kAssociationMeanings[i].data(), Value, "0"};
    }
    return all;
}();

constexpr bool tableIsComplete() {
    for (int i = 0; i < kFieldCount; ++i)
        if (kFields[static_cast<std::size_t>(i)].number != i + 1) return false;
    return true;
}
static_assert(tableIsComplete(), "the settings table must list fields 1 to 207 in order");

struct Derived {
    std::array<std::vector<int>, 11> pageOrder;
    std::vector<int> record;
    Derived() {
        for (const auto& f : kFields) {
            if (f.kind != FirstRunOnly && f.kind != MainWindow)
                pageOrder[static_cast<std::size_t>(f.page)].push_back(f.number);
            if (f.number != 165 && f.number != 166 && f.number != 206) record.push_back(f.number);
        }
        // The association page writes its check boxes in the order the page shows them.
        auto& assoc = pageOrder[static_cast<std::size_t>(Page::Association)];
        assoc.clear();
        for (const auto& type : kTypes)
            assoc.push_back(type.field);
    }
};

const Derived& derived() {
    static const Derived d;
    return d;
}

} // namespace

const std::array<FieldInfo, kFieldCount>& settingsFields() {
    return kFields;
}

bool isSettingsField(int number) {
    return number >= 1 && number <= kFieldCount;
}

const FieldInfo& fieldInfo(int number) {
    return kFields[static_cast<std::size_t>(std::clamp(number, 1, kFieldCount) - 1)];
}

bool isIntegerField(int number) {
    return isSettingsField(number) && fieldInfo(number).type == Integer;
}

std::span<const int> pageDefaultOrder(Page page) {
    if (page == Page::None) return {};
    return derived().pageOrder[static_cast<std::size_t>(page)];
}

std::span<const int> recordFields() {
    return derived().record;
}

bool isRecordField(int number) {
    return isSettingsField(number) && number != field::ListLeft && number != field::ListTop &&
           number != field::OutroSeconds;
}

} // namespace qinglan::settings
