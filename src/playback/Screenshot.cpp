#include "playback/Screenshot.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>
#include <settings/SettingsFields.h>

#include <QFileInfo>
#include <QString>

#include <filesystem>

namespace qinglan::playback {

namespace field = settings::field;
namespace cfg = aplayer::cfg;

std::string screenshotFormatNumber(const std::string& format) {
    if (format == "bmp") return "1";
    if (format == "jpg") return "2";
    if (format == "png") return "3";
    if (format == "gif") return "4";
    return {};
}

std::string screenshotFailureReason(const std::string& folder) {
    if (folder.empty()) return "未设置保存目录";
    const QFileInfo info(QString::fromStdString(folder));
    if (!info.exists()) return "保存目录不存在";
    if (!info.isDir()) return "保存路径不是文件夹";
    if (!info.isWritable()) return "保存目录无法写入";
    return "未能取得画面";
}

Screenshot::Screenshot(aplayer::Engine& engine, Hooks hooks, QObject* parent)
    : QObject(parent), engine_(engine), hooks_(std::move(hooks)) {
    hide_.setSingleShot(true);
    connect(&hide_, &QTimer::timeout, this, [this] {
        if (hooks_.hideOnScreenText) hooks_.hideOnScreenText();
    });
}

Screenshot::Outcome Screenshot::take() {
    const auto setting = [this](int f) { return hooks_.setting ? hooks_.setting(f) : ""; };
    std::string file;
    // Each number tried is a whole attempt: the settings are sent again for every one.
    for (;;) {
        if (hooks_.sidePanelCheck) hooks_.sidePanelCheck();
        ++shotCounter_;
        if (engine_.APlayer_GetConfigA(cfg::MediaLoaded).empty()) return Outcome::NoMedia;
        if (setting(field::ShotOn) != "1") return Outcome::SwitchedOff;
        if (setting(field::ShotSourceSize) == "1") {
            engine_.APlayer_SetConfigA(cfg::ShotWidth, "0");
            engine_.APlayer_SetConfigA(cfg::ShotHeight, "0");
        } else if (setting(field::ShotCustomSize) == "1") {
            engine_.APlayer_SetConfigA(cfg::ShotWidth, setting(field::ShotWidth));
            engine_.APlayer_SetConfigA(cfg::ShotHeight, setting(field::ShotHeight));
        }
        if (setting(field::ShotKeepAspect) == "1")
            engine_.APlayer_SetConfigA(cfg::ShotKeepAspect, "1");
        else if (setting(field::ShotFreeAspect) == "1")
            engine_.APlayer_SetConfigA(cfg::ShotKeepAspect, "0");
        engine_.APlayer_SetConfigA(cfg::ShotQuality, setting(field::ShotQuality));
        const std::string format = setting(field::ShotFormat);
        const std::string number = screenshotFormatNumber(format);
        if (number.empty()) return Outcome::UnknownFormat;
        engine_.APlayer_SetConfigA(cfg::ShotFormat, number);
        const std::string folder = setting(field::ShotFolder);
        // An empty folder would put the picture at the top of the file system.
        if (folder.empty()) {
            showFor(kScreenshotFailed + screenshotFailureReason(folder));
            return Outcome::Failed;
        }
        // The folder is taken as stored: one that ends in "/" gives "//" before the number.
        file = folder + "/" + std::to_string(shotCounter_) + "." + format;
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::path(file), ec)) break;
    }
    lastFile_ = file;
    // The engine answers whether it wrote the file; the message says what happened.
    if (engine_.APlayer_SetConfigA(cfg::ShotFile, file)) {
        showFor(kScreenshotWritten);
        return Outcome::Written;
    }
    showFor(kScreenshotFailed + screenshotFailureReason(setting(field::ShotFolder)));
    return Outcome::Failed;
}

void Screenshot::showFor(const std::string& text) {
    if (hooks_.showOnScreenText) hooks_.showOnScreenText(text);
    hide_.start(kMessageMs);
}

} // namespace qinglan::playback
