#pragma once
// The 207 fields of the settings file mote.edb, stated once: number, type, page, meaning and
// default. The first-run writer, restorePageDefaults and the set of fields SettingsRecord holds
// are all derived from this table. The file types' check boxes are rows of the file-type table
// (platform/FileTypes.h), which this one takes in.

#include <array>
#include <span>

namespace qinglan::settings {

enum class FieldType { Text, Integer };

// The settings-window page whose controls write a field; None for the window state that the
// program keeps by itself (geometry, list index, skip window, first settings page).
enum class Page {
    Lyrics,
    Subtitle,
    Picture,
    Sound,
    General,
    Screenshot,
    Hotkey,
    Transcode,
    Association,
    VirtualReality,
    None
};

enum class DefaultKind {
    Value,         // `value` is the page default (and the first-run value)
    SpecialFolder, // the default save folder (see defaultSaveFolder())
    FirstRunOnly,  // no page default; `value` is written only when a fresh file is made
    MainWindow,    // no page default; first run: the main window centred on the work area
};

struct FieldInfo {
    int number;
    FieldType type;
    Page page;
    const char* meaning;
    DefaultKind kind;
    const char* value; // text, or decimal text for integer fields
};

constexpr int kFieldCount = 207;

// All fields, index i holds field i + 1.
const std::array<FieldInfo, kFieldCount>& settingsFields();
// The row of field `number` (1..207); fields outside that range are not allowed.
const FieldInfo& fieldInfo(int number);
bool isSettingsField(int number);
bool isIntegerField(int number);

// The fields restorePageDefaults writes for `page`, in the order it writes them: ascending,
// except the association page (in the file-type table's order: 197 to 203, then 87 to 97).
std::span<const int> pageDefaultOrder(Page page);

// The fields SettingsRecord holds, ascending: 1 to 164, 167 to 205, 207.
std::span<const int> recordFields();
bool isRecordField(int number);

// Names of the fields the program itself reads and writes outside the settings pages.
namespace field {
constexpr int StartWithSession = 132;
constexpr int CloseToTray = 133;
constexpr int CloseExits = 134;
constexpr int ListLeft = 165; // not held by SettingsRecord
constexpr int ListTop = 166;  // not held by SettingsRecord
constexpr int SettingsOnSubtitlePage = 167;
constexpr int MainLeft = 168;
constexpr int MainTop = 169;
constexpr int MainWidth = 170;
constexpr int MainHeight = 171;
constexpr int ListRow = 172;
constexpr int SkipOn = 173;
constexpr int ListWidth = 174;
constexpr int ListHeight = 175;
constexpr int ListOpacity = 196;
constexpr int SkipOff = 204;
constexpr int IntroSeconds = 205;
constexpr int OutroSeconds = 206; // not held by SettingsRecord
constexpr int OutroStartMs = 207;
// The screenshot page's fields, read by the screenshot action.
constexpr int ShotOn = 154;
constexpr int ShotSourceSize = 156;
constexpr int ShotCustomSize = 157;
constexpr int ShotWidth = 158;
constexpr int ShotHeight = 159;
constexpr int ShotKeepAspect = 160;
constexpr int ShotFreeAspect = 161;
constexpr int ShotQuality = 162;
constexpr int ShotFormat = 163;
constexpr int ShotFolder = 164;
// The VR page's fields, read when the stored page is applied.
constexpr int VrOn = 116;
constexpr int VrDrawMode = 118;
constexpr int VrHorizontal = 119;
constexpr int VrVertical = 120;
constexpr int VrDistance = 121;
constexpr int VrNoDevice = 122;
constexpr int VrOculus = 123;
constexpr int VrFrameInterval = 124;
constexpr int VrMonitorBoth = 125;
constexpr int VrMonitorOne = 126;
constexpr int VrMonitorNone = 127;
constexpr int VrCapColour = 128;
constexpr int VrCapTop = 129;
constexpr int VrCapBottom = 130;
constexpr int VrQuality = 131;
// The transcode page's fields, read by the conversion's sends.
constexpr int TranscodeOn = 135;
constexpr int TranscodeSourceSize = 137;
constexpr int TranscodeCustomSize = 138;
constexpr int TranscodeWidth = 139;
constexpr int TranscodeHeight = 140;
constexpr int TranscodeModePlay = 141;
constexpr int TranscodeModeConvert = 142;
constexpr int TranscodeModeTranscode = 143;
constexpr int TranscodeFormat = 144;
constexpr int TranscodeFolder = 145;
constexpr int TranscodeKeepAspect = 146;
constexpr int TranscodeFreeAspect = 147;
constexpr int TranscodeAudioTrack = 148;
constexpr int TranscodeSubtitle = 149;
constexpr int TranscodeBorderTop = 150;
constexpr int TranscodeBorderBottom = 151;
constexpr int TranscodeBorderLeft = 152;
constexpr int TranscodeBorderRight = 153;
} // namespace field

// Main and video list window sizes on first run.
constexpr int kMainWindowWidth = 725;
constexpr int kMainWindowHeight = 550;

} // namespace qinglan::settings
