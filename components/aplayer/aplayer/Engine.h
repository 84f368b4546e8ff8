#pragma once
// The playback engine: one object that decodes and draws a media into a child window of the
// player and is steered by a handful of operations plus numbered configuration values in text
// form (see ConfigTable.h for every id).
//
// Promises:
// - Threading: every operation is called on the Qt (window) thread, and every callback is called
//   there too. Nothing blocks for long: opening returns at once and the media loads behind it.
// - Texts are UTF-8 (paths with Chinese characters play).
// - Before APlayer_Create every operation is harmless: getters answer "nothing open", configuration
//   values are stored and applied once the engine exists.
// - Unknown configuration ids are stored and read back; they are never an error.
// - The engine never opens a window of its own: video is drawn only into APlayer_GetWindow().
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QImage;
class QWidget;

namespace qinglan::aplayer {

// Values of APlayer_GetState.
enum EngineState : int {
    StateReady = 0, // nothing open: before any open, after APlayer_Close, after the end or an error
    StateOpening = 1, // APlayer_OpenA called, the media is still loading
    StatePaused = 3,
    StatePlaying = 5, // also while the network cache refills (see the buffering callback)
};

// Mouse messages of the video window, with their Windows numbers. wParam carries the Windows
// key-state bits (MK_LBUTTON 0x1, MK_RBUTTON 0x2, MK_SHIFT 0x4, MK_CONTROL 0x8, MK_MBUTTON 0x10),
// lParam the position in the video window as (y << 16) | x.
enum MouseMessage : uint32_t {
    MessageLeftButtonDown = 0x201,
    MessageLeftButtonUp = 0x202,
    MessageLeftButtonDoubleClick = 0x203,
    MessageRightButtonDown = 0x204,
    MessageRightButtonUp = 0x205,
};

using MessageCallback = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;
// Percent of the cache filled while playback waits for the network; 100 once it resumes.
using BufferingCallback = std::function<void(int percent)>;
// Called once per open and track when no decoder exists for a codec, with the codec's name
// as the decoders know it (for instance "avs2").
using CodecMissingCallback = std::function<void(const std::string& codecName)>;

class Engine {
public:
    virtual ~Engine() = default;

    // Creates the video window as a child of parent at (x, y, width, height) and starts the
    // engine. Returns false when the engine could not start (then every call stays harmless).
    virtual bool APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                                MessageCallback message, BufferingCallback buffering,
                                CodecMissingCallback codecMissing) = 0;
    // The picture shown in the video window while no video is drawn (idle, audio-only media).
    virtual void APlayer_SetCustomLogo(const QImage& logo) = 0;
    // Opens a path or network address and starts playing it; the previous media is closed.
    // Returns false only when the request could not be made (empty text, no engine); a media
    // that fails to load shows up later as state Ready, id 7 = "2" and id 8 (cfg::FailureReason)
    // = why, a short Chinese text for the user: "文件不存在", "文件无法读取", "网络错误",
    // "格式不支持", "没有可播放的音视频", "缺少解码器", "无法输出画面", "无法输出声音" or
    // "播放出错". Id 8 is "" at every other time: the next open and APlayer_Close clear it.
    // While id 6 is "2" or "3" the media is converted into the file of id 804 instead, on a
    // thread of the engine's own: meanwhile the state is Playing, position and duration are the
    // span written and the span to write, id 7 is "1"; afterwards the state is Ready and id 7
    // is "". Progress and outcome show as the on-screen text (ids 602, 612). An id 804 without
    // an absolute folder is refused at once with "转码失败：" and the reason; nothing is written.
    // APlayer_Close and any other id 6 value cancel it, remove what it wrote and show
    // "转码已取消".
    virtual bool APlayer_OpenA(const std::string& pathOrAddress) = 0;
    virtual void APlayer_Play() = 0;
    virtual void APlayer_Pause() = 0;
    // Stops and releases the media; the logo comes back.
    virtual void APlayer_Close() = 0;
    virtual int APlayer_GetState() const = 0;
    // Milliseconds; 0 when nothing is open. At the natural end the position equals the duration.
    virtual int APlayer_GetPosition() const = 0;
    virtual int APlayer_GetDuration() const = 0;
    // Seeks to ms; positions below 0 go to the start, beyond the end to the end, where the media
    // then ends as played to it (id 7 "0"). While the media loads the seek waits for it; with
    // nothing open it does nothing (the next media does not start there).
    virtual void APlayer_SetPosition(int ms) = 0;
    // 0..1000, 100 = the media's own loudness; values outside are clamped.
    virtual void APlayer_SetVolume(int volume) = 0;
    // Applies a configuration value. Returns false when the value could not be applied (for
    // id 702: the screenshot file was not written); the value is stored either way.
    virtual bool APlayer_SetConfigA(int id, const std::string& value) = 0;
    virtual std::string APlayer_GetConfigA(int id) const = 0;
    // The video child window (nullptr before APlayer_Create). The player moves and resizes it.
    virtual QWidget* APlayer_GetWindow() const = 0;
};

// How the real engine draws and sounds. Empty strings leave the choice to the engine: the
// renderer id 201 picks the video output on X11, and without a native window system (for
// instance Qt's offscreen platform) no video is drawn at all. Tests pass "null".
struct MpvEngineOptions {
    std::string videoOutput;
    std::string audioOutput;
};

// The engine on libmpv.
std::unique_ptr<Engine> createMpvEngine(const MpvEngineOptions& options = {});

} // namespace qinglan::aplayer
