#include "Screenshots.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "PlaybackSession.h"
#include "ScreenshotWriter.h"
#include "aplayer/ConfigTable.h"

#include <QImage>

#include <mpv/client.h>

#include <cstring>

namespace qinglan::aplayer {

bool Screenshots::take(const std::string& path) {
    if (!core_.running() || !session_.loaded() || path.empty()) return false;
    auto format = imageFormat(config_[cfg::ShotFormat]);
    if (!format) format = ImageFormat::Jpg;
    const char* args[] = {"screenshot-raw", "subtitles", nullptr};
    mpv_node result{};
    if (mpv_command_ret(core_.handle(), args, &result) < 0) return false;
    int64_t w = 0, h = 0, stride = 0;
    const mpv_byte_array* data = nullptr;
    std::string pixelFormat;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            const char* key = result.u.list->keys[i];
            const mpv_node& v = result.u.list->values[i];
            if (!std::strcmp(key, "w") && v.format == MPV_FORMAT_INT64)
                w = v.u.int64;
            else if (!std::strcmp(key, "h") && v.format == MPV_FORMAT_INT64)
                h = v.u.int64;
            else if (!std::strcmp(key, "stride") && v.format == MPV_FORMAT_INT64)
                stride = v.u.int64;
            else if (!std::strcmp(key, "format") && v.format == MPV_FORMAT_STRING)
                pixelFormat = v.u.string;
            else if (!std::strcmp(key, "data") && v.format == MPV_FORMAT_BYTE_ARRAY)
                data = v.u.ba;
        }
    }
    QImage frame;
    // "bgr0": B, G, R, padding per pixel, which is QImage's RGB32 in memory on little endian.
    if (data && w > 0 && h > 0 && stride >= w * 4 && pixelFormat == "bgr0" &&
        static_cast<int64_t>(data->size) >= stride * h)
        frame = QImage(static_cast<const uchar*>(data->data), static_cast<int>(w),
                       static_cast<int>(h), static_cast<qsizetype>(stride), QImage::Format_RGB32)
                    .copy();
    mpv_free_node_contents(&result);
    if (frame.isNull()) return false;

    Size size =
        screenshotSize({frame.width(), frame.height()},
                       {static_cast<int>(parseInteger(config_[cfg::ShotWidth]).value_or(0)),
                        static_cast<int>(parseInteger(config_[cfg::ShotHeight]).value_or(0))},
                       config_[cfg::ShotKeepAspect] != "0");
    if (size.width != frame.width() || size.height != frame.height())
        frame =
            frame.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int quality = static_cast<int>(parseInteger(config_[cfg::ShotQuality]).value_or(75));
    return writeScreenshot(frame, QString::fromStdString(path), *format, quality);
}

} // namespace qinglan::aplayer
