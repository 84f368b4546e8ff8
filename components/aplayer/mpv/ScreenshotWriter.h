#pragma once
// Writes a captured frame as a picture file: bmp, jpg and png through Qt's image writers, gif
// through libavcodec's GIF encoder (Qt has no GIF writer, and mpv itself writes a JPEG whatever
// the name says).
#include "aplayer/MpvTranslate.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace qinglan::aplayer {

// A complete single-frame GIF file, or nullopt when the encoder failed.
std::optional<QByteArray> encodeGif(const QImage& image);

// Writes image to path (folders are created as needed). quality 1..100 for JPEG.
// Returns true only when the whole file was written.
bool writeScreenshot(const QImage& image, const QString& path, ImageFormat format, int quality);

} // namespace qinglan::aplayer
