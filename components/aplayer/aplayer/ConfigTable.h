#pragma once
// Every configuration id the player sends or reads: its name for the code (cfg::...) and, through
// findConfigId, its meaning, value format and what it does in mpv. The descriptions live in one
// table with the engine's behaviour for each id (mpv/ConfigTable.cpp), so they cannot drift
// apart.

namespace qinglan::aplayer {

enum class ConfigKind {
    Read,    // answered by the engine (setting it changes nothing)
    Applied, // has its effect at once
    Used,    // kept, and takes effect where it is used: the next open, screenshot, conversion
    Stored,  // kept and read back; the feature that uses it is not built yet
};

struct ConfigId {
    int id;
    const char* meaning;
    const char* valueFormat;
    const char* mpvEffect;
    ConfigKind kind;
};

// nullptr for an id outside the table (still stored and read back by the engines). Defined by
// the engine on libmpv.
const ConfigId* findConfigId(int id);

// Names for the ids the engine acts on.
namespace cfg {
inline constexpr int MediaLoaded = 4;
inline constexpr int ProcessingMode = 6;
inline constexpr int PlayResult = 7;
inline constexpr int FailureReason = 8;
inline constexpr int Mute = 12;
inline constexpr int SubtitleStyleOwn = 16;
inline constexpr int StartMs = 102;
inline constexpr int EndMs = 103;
inline constexpr int Renderer = 201;
inline constexpr int Aspect = 204;
inline constexpr int HardwareDecoding = 209;
inline constexpr int HardwareDecodingMode = 210;
inline constexpr int Brightness = 214;
inline constexpr int Contrast = 215;
inline constexpr int Saturation = 216;
inline constexpr int Hue = 217;
inline constexpr int FlipHorizontal = 302;
inline constexpr int FlipVertical = 303;
inline constexpr int RotateDegrees = 304;
inline constexpr int Enhancement = 305;
inline constexpr int Comparison = 306;
inline constexpr int Stereo3d = 308;
inline constexpr int Stereo3dEffect = 310;
inline constexpr int Stereo3dLayout = 311;
inline constexpr int Stereo3dPair = 312;
inline constexpr int OpenGl = 313;
inline constexpr int Avx2 = 314;
inline constexpr int Sse2 = 315;
inline constexpr int AudioTrack = 403;
inline constexpr int ChannelMap = 404;
inline constexpr int ChannelDelay = 405;
inline constexpr int VolumeLevelling = 406;
inline constexpr int Surround = 407;
inline constexpr int SurroundDepth = 408;
inline constexpr int SubtitleFile = 503;
inline constexpr int SubtitleShow = 504;
inline constexpr int SubtitleLanguage = 506;
inline constexpr int SubtitleDelay = 509;
inline constexpr int OsdShow = 602;
inline constexpr int OsdSize = 606;
inline constexpr int OsdMargin = 607;
inline constexpr int OsdOpacity = 608;
inline constexpr int OsdText = 612;
inline constexpr int OsdOutline = 621;
inline constexpr int ShotFile = 702;
inline constexpr int ShotWidth = 703;
inline constexpr int ShotHeight = 704;
inline constexpr int ShotKeepAspect = 706;
inline constexpr int ShotFormat = 707;
inline constexpr int ShotQuality = 708;
inline constexpr int OutputFormat = 803;
inline constexpr int OutputFile = 804;
inline constexpr int OutputWidth = 901;
inline constexpr int OutputHeight = 902;
inline constexpr int OutputKeepAspect = 903;
inline constexpr int OutputAudioTrack = 905;
inline constexpr int OutputSubtitle = 906;
inline constexpr int OutputBorder = 907;
inline constexpr int LyricsShow = 1302;
inline constexpr int LyricsInterval = 1303;
inline constexpr int LyricsFile = 1305;
inline constexpr int LyricsBackColour = 1307;
inline constexpr int LyricsBackPicture = 1308;
inline constexpr int LyricsBackFit = 1310;
inline constexpr int LyricsFont = 1311;
inline constexpr int LyricsTextColour = 1312;
inline constexpr int LyricsHighlight = 1313;
inline constexpr int LyricsBorder = 1314;
inline constexpr int LyricsBorderColour = 1315;
inline constexpr int LyricsWindowKind = 1316;
inline constexpr int LyricsFade = 1318;
inline constexpr int LyricsAnimation = 1319;
inline constexpr int LyricsOffset = 1320;
inline constexpr int LyricsDrag = 1321;
inline constexpr int LyricsAlign = 1328;
inline constexpr int MultichannelMode = 1502;
inline constexpr int MultichannelVolume = 1503;
inline constexpr int Subtitle2File = 2103;
inline constexpr int Subtitle2Show = 2104;
inline constexpr int Subtitle2Language = 2106;
inline constexpr int SubtitlePos = 2107;
inline constexpr int SubtitleFont = 2108;
inline constexpr int Subtitle2Delay = 2109;
inline constexpr int SubtitleRenderMode = 2110;
inline constexpr int VrMode = 2402;
inline constexpr int VrView = 2403;
inline constexpr int VrDevice = 2404;
inline constexpr int VrRedrawInterval = 2405;
inline constexpr int VrMonitor = 2407;
inline constexpr int VrCaps = 2408;
inline constexpr int VrQuality = 2410;
} // namespace cfg

} // namespace qinglan::aplayer
