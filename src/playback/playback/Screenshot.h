#pragma once
#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

namespace qinglan::aplayer {
class Engine;
}

namespace qinglan::playback {

// The screenshot action of the menu item "截图" and the screenshot hotkey: the current frame
// is written by the engine into the screenshot folder under the first free number of this run
// (1.jpg, 2.jpg, ...; a file that exists is never overwritten), and the on-screen text says
// whether it was written. Runs on the window thread; the text is hidden by a timer.
class Screenshot : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Settings text of a field of the loaded settings (154 to 164 are read here).
        std::function<std::string(int field)> setting;
        // The main window's side panel check, run before every attempt.
        std::function<void()> sidePanelCheck;
        std::function<void(const std::string& text)> showOnScreenText;
        std::function<void()> hideOnScreenText;
    };

    enum class Outcome {
        NoMedia,       // the engine holds no media: nothing happens
        SwitchedOff,   // screenshots are off: nothing happens
        UnknownFormat, // the stored format is none of bmp, jpg, png, gif: nothing happens
        Written,
        Failed, // the engine wrote nothing; the on-screen text says why
    };

    Screenshot(aplayer::Engine& engine, Hooks hooks, QObject* parent = nullptr);

    Outcome take();

    // Raised before every attempt; the first name tried in a run is 1.
    int shotCounter() const { return shotCounter_; }
    // The file name of the last attempt that reached the engine.
    const std::string& lastFile() const { return lastFile_; }
    bool messageShown() const { return hide_.isActive(); }

    static constexpr int kMessageMs = 1000;

private:
    void showFor(const std::string& text);

    aplayer::Engine& engine_;
    Hooks hooks_;
    QTimer hide_;
    int shotCounter_ = 0;
    std::string lastFile_;
};

// The engine format number of a stored format text ("jpg" -> "2"), or "" for any other text.
std::string screenshotFormatNumber(const std::string& format);
// Why nothing was written into folder, as the on-screen text gives it after "截图失败：".
std::string screenshotFailureReason(const std::string& folder);

inline constexpr const char* kScreenshotWritten = "截图成功，图片已保存到默认目录下。";
inline constexpr const char* kScreenshotFailed = "截图失败：";

} // namespace qinglan::playback
