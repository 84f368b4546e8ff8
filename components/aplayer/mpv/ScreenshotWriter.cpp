#include "ScreenshotWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace qinglan::aplayer {
namespace {

struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

void appendLe16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

} // namespace

std::optional<QByteArray> encodeGif(const QImage& source) {
    if (source.isNull() || source.width() > 0xFFFF || source.height() > 0xFFFF) return std::nullopt;
    // Qt picks a palette of at most 256 colours and dithers into it.
    QImage indexed = source.convertToFormat(QImage::Format_RGB32)
                         .convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_GIF);
    if (!codec) return std::nullopt;
    std::unique_ptr<AVCodecContext, CodecContextDeleter> ctx(avcodec_alloc_context3(codec));
    if (!ctx) return std::nullopt;
    ctx->width = indexed.width();
    ctx->height = indexed.height();
    ctx->pix_fmt = AV_PIX_FMT_PAL8;
    ctx->time_base = AVRational{1, 25};
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return std::nullopt;

    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_PAL8;
    frame->width = indexed.width();
    frame->height = indexed.height();
    if (av_frame_get_buffer(frame.get(), 0) < 0) return std::nullopt;
    for (int y = 0; y < indexed.height(); ++y)
        std::memcpy(frame->data[0] + y * frame->linesize[0], indexed.constScanLine(y),
                    static_cast<size_t>(indexed.width()));
    // PAL8 palettes are 256 native-endian 0xAARRGGBB words, the layout of QRgb.
    auto* palette = reinterpret_cast<uint32_t*>(frame->data[1]);
    QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i)
        palette[i] = i < table.size() ? (table[i] | 0xFF000000u) : 0xFF000000u;
    frame->pts = 0;

    QByteArray image;
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    auto drain = [&] {
        while (avcodec_receive_packet(ctx.get(), packet.get()) == 0) {
            image.append(reinterpret_cast<const char*>(packet->data), packet->size);
            av_packet_unref(packet.get());
        }
    };
    if (avcodec_send_frame(ctx.get(), frame.get()) < 0) return std::nullopt;
    drain();
    avcodec_send_frame(ctx.get(), nullptr);
    drain();
    if (image.isEmpty()) return std::nullopt;
    if (image.startsWith("GIF8")) {
        if (!image.endsWith(';')) image.append(';');
        return image;
    }
    // The encoder gives the image block (descriptor, local palette, data); the container
    // parts are added here: header, logical screen without a global palette, trailer.
    QByteArray file("GIF89a");
    appendLe16(file, indexed.width());
    appendLe16(file, indexed.height());
    file.append('\0'); // no global colour table
    file.append('\0'); // background colour index
    file.append('\0'); // pixel aspect: square
    file.append(image);
    file.append(';');
    return file;
}

bool writeScreenshot(const QImage& image, const QString& path, ImageFormat format, int quality) {
    if (image.isNull() || path.isEmpty()) return false;
    QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) return false;
    QByteArray bytes;
    if (format == ImageFormat::Gif) {
        auto gif = encodeGif(image);
        if (!gif) return false;
        bytes = *gif;
    }
    // Written beside and renamed into place: a failed write never leaves half a picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool ok = false;
    switch (format) {
    case ImageFormat::Bmp:
        ok = image.convertToFormat(QImage::Format_RGB888).save(&file, "BMP");
        break;
    case ImageFormat::Jpg:
        ok = image.save(&file, "JPG", std::clamp(quality, 1, 100));
        break;
    case ImageFormat::Png:
        ok = image.save(&file, "PNG");
        break;
    case ImageFormat::Gif:
        ok = file.write(bytes) == bytes.size();
        break;
    }
    return ok && file.commit();
}

} // namespace qinglan::aplayer
