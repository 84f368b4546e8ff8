// Writes the artwork as PNG files into the folder given as the only argument, for a look by eye.
#include "artwork/Artwork.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <utility>

using namespace qinglan::artwork;

namespace {

// Shows an image enlarged on the dark panel colour, as it will be seen.
QImage onPanel(const QImage& image, int zoom) {
    QImage out(image.size() * zoom, QImage::Format_ARGB32);
    out.fill(QColor::fromRgb(palette::panelBackground));
    QPainter p(&out);
    p.drawImage(out.rect(), image);
    return out;
}

// The side panel as it will look (89 x 390, picture boxes at x 16, captions under them), once
// with every button normal and once pressed, next to each other.
QImage panelMock(bool pressed) {
    QImage out(89, 390, QImage::Format_ARGB32);
    out.fill(QColor(0x1e, 0x22, 0x27, 230));
    QPainter p(&out);
    const std::pair<PanelIcon, const char*> rows[] = {{PanelIcon::Pause, "暂停"},
                                                      {PanelIcon::Stop, "停止"},
                                                      {PanelIcon::Previous, "上一集"},
                                                      {PanelIcon::Next, "下一集"}};
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(12);
    p.setFont(font);
    int y = 24;
    for (const auto& [icon, caption] : rows) {
        p.drawPixmap(16, y, panelIcon(icon, pressed));
        p.setPen(pressed ? QColor(128, 128, 128) : QColor::fromRgb(palette::caption));
        p.drawText(QRect(0, y + 56, 89, 24), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromUtf8(caption));
        y += 88;
    }
    return out;
}

// Everything on one dark sheet: the two panel mocks at 2x, the logo, the tray sizes at 1x and 4x.
QImage contactSheet() {
    QImage sheet(900, 800, QImage::Format_ARGB32);
    sheet.fill(QColor(0x10, 0x12, 0x15));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(10, 10, 178, 780), panelMock(false));
    p.drawImage(QRect(200, 10, 178, 780), panelMock(true));
    p.drawImage(QPoint(400, 10), logoImage());
    p.drawImage(QRect(400, 280, 256, 256),
                logoImage().scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    int x = 400;
    for (int side : {16, 22, 24, 32, 48, 64}) {
        const QImage mark = markImage(side);
        p.drawImage(QPoint(x, 560), mark);
        p.drawImage(QRect(x, 640, side * 2, side * 2), mark);
        x += side * 2 + 12;
    }
    const QImage play = panelIcon(PanelIcon::Play, false, {112, 100}).toImage();
    p.drawImage(QPoint(680, 10), play);
    p.drawImage(QPoint(680, 120), panelIcon(PanelIcon::Play, true, {112, 100}).toImage());
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork_preview <folder>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) return 1;

    const std::pair<PanelIcon, const char*> icons[] = {{PanelIcon::Pause, "pause"},
                                                       {PanelIcon::Play, "play"},
                                                       {PanelIcon::Stop, "stop"},
                                                       {PanelIcon::Previous, "previous"},
                                                       {PanelIcon::Next, "next"}};
    bool ok = true;
    for (const auto& [icon, name] : icons) {
        for (bool pressed : {false, true}) {
            const QImage image = panelIcon(icon, pressed).toImage();
            const QString base = QString("%1%2").arg(name, pressed ? "-pressed" : "");
            ok &= image.save(dir.filePath(base + ".png"));
            ok &= onPanel(image, 4).save(dir.filePath(base + "-x4.png"));
        }
    }
    ok &= logoImage().save(dir.filePath("logo.png"));
    ok &= onPanel(logoImage(), 2).save(dir.filePath("logo-x2.png"));
    for (int side : {16, 22, 24, 32, 48, 64}) {
        const QImage mark = markImage(side);
        ok &= mark.save(dir.filePath(QString("tray-%1.png").arg(side)));
        ok &= onPanel(mark, 8).save(dir.filePath(QString("tray-%1-x8.png").arg(side)));
    }
    ok &= contactSheet().save(dir.filePath("sheet.png"));
    return ok ? 0 : 1;
}
