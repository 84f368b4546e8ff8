// The player's mark: a dark disc with a teal ring holding a rounded play triangle, and inside
// the triangle blue-green mountain ridges veiled in haze (the "青岚" of the name). Designed on a
// 100 x 100 box.
#include "artwork/Artwork.h"
#include "artwork/Painting.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>

namespace qinglan::artwork {
namespace {

using detail::roundedPolygon;

constexpr QSizeF kDesign{100, 100};
constexpr QPointF kCentre{50, 50};

QColor rgba(QRgb rgb, int alpha = 255) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

// Small icons get a larger triangle: at 16 px the play sign is what has to be recognised.
QPainterPath playTriangle(bool small) {
    if (small)
        return roundedPolygon(QPolygonF{{QPointF(31, 18), QPointF(86, 50), QPointF(31, 82)}}, 8);
    return roundedPolygon(QPolygonF{{QPointF(33, 21), QPointF(84, 50), QPointF(33, 79)}}, 8);
}

// A ridge line from left to right, closed along the bottom of the box.
QPainterPath ridge(std::initializer_list<QPointF> peaks) {
    QPolygonF outline(peaks);
    outline << QPointF(100, 100) << QPointF(0, 100);
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

void paintDisc(QPainter& p, bool small) {
    QRadialGradient disc(QPointF(50, 38), 58);
    disc.setColorAt(0, QColor(0x34, 0x3a, 0x44));
    disc.setColorAt(1, rgba(palette::panelBackground));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(kCentre, 48, 48);

    // Small icons need a thicker ring to show at all.
    const qreal width = small ? 6 : 3;
    QLinearGradient ring(0, 2, 0, 98);
    ring.setColorAt(0, rgba(palette::accentLight));
    ring.setColorAt(1, rgba(palette::accentDeep));
    p.setPen(QPen(QBrush(ring), width));
    p.setBrush(Qt::NoBrush);
    const qreal r = 48 - width / 2;
    p.drawEllipse(kCentre, r, r);
    p.setPen(Qt::NoPen);
}

void paintLandscape(QPainter& p, bool small) {
    const QPainterPath triangle = playTriangle(small);

    // Sky: light teal at the top, fading into the accent.
    QLinearGradient sky(0, 21, 0, 79);
    sky.setColorAt(0, QColor(0xc8, 0xf3, 0xf2));
    sky.setColorAt(0.55, rgba(palette::accent));
    sky.setColorAt(1, rgba(palette::accentDeep));
    p.setBrush(sky);
    p.drawPath(triangle);

    p.save();
    p.setClipPath(triangle);
    if (!small) {
        // Far ridge, pale and blue, behind the haze.
        QLinearGradient far(0, 36, 0, 79);
        far.setColorAt(0, QColor(0x3f, 0xa9, 0xc4));
        far.setColorAt(1, QColor(0x25, 0x7f, 0xa6));
        p.setBrush(far);
        p.drawPath(ridge(
            {QPointF(28, 56), QPointF(44, 37), QPointF(52, 47), QPointF(60, 40), QPointF(86, 62)}));

        // A band of haze lying across the valley.
        QLinearGradient haze(0, 47, 0, 61);
        haze.setColorAt(0, QColor(255, 255, 255, 0));
        haze.setColorAt(0.5, QColor(235, 252, 252, 150));
        haze.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(haze);
        p.drawRect(QRectF(0, 47, 100, 14));
    }

    // Near ridge, deep blue-green.
    QLinearGradient near(0, 50, 0, 80);
    near.setColorAt(0, QColor(0x17, 0x6f, 0x8e));
    near.setColorAt(1, QColor(0x0e, 0x3f, 0x5c));
    p.setBrush(near);
    if (small)
        p.drawPath(ridge({QPointF(28, 70), QPointF(46, 48), QPointF(57, 60), QPointF(88, 52)}));
    else
        p.drawPath(ridge({QPointF(28, 70), QPointF(39, 59), QPointF(47, 50), QPointF(54, 57),
                          QPointF(60, 53), QPointF(70, 61), QPointF(86, 57)}));

    if (!small) {
        // Low mist at the foot of the near ridge.
        QLinearGradient mist(0, 63, 0, 79);
        mist.setColorAt(0, QColor(255, 255, 255, 0));
        mist.setColorAt(1, QColor(220, 248, 250, 90));
        p.setBrush(mist);
        p.drawRect(QRectF(0, 63, 100, 16));
    }
    p.restore();

    // A faint light edge on the triangle lifts it off the disc.
    p.setPen(QPen(QColor(255, 255, 255, small ? 60 : 90), small ? 1.5 : 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
}

void paintMark(QPainter& p, int side) {
    const bool small = side <= 24;
    paintDisc(p, small);
    paintLandscape(p, small);
}

} // namespace

QImage markImage(int side) {
    if (side <= 0) return {};
    const QSize size(side, side);
    QImage image = detail::transparentImage(size);
    QPainter p(&image);
    detail::fitDesign(p, size, kDesign);
    paintMark(p, side);
    return image;
}

QImage logoImage() {
    constexpr int kSide = 256;
    constexpr int kMarkSide = 184;
    QImage image = detail::transparentImage({kSide, kSide});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawImage(QPoint((kSide - kMarkSide) / 2, 12), markImage(kMarkSide));

    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(28);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(font);
    // Letter spacing also follows the last character; shift by half of it to look centred.
    const QRectF textBox(1.5, 12 + kMarkSide + 8, kSide, kSide - (12 + kMarkSide + 8));
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(textBox.translated(0, 1.5), Qt::AlignHCenter | Qt::AlignTop, "青岚播放器");
    p.setPen(rgba(palette::caption));
    p.drawText(textBox, Qt::AlignHCenter | Qt::AlignTop, "青岚播放器");
    return image;
}

QByteArray markPng(int side) {
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    if (!markImage(side).save(&out, "PNG")) return {};
    return png;
}

QIcon trayIcon() {
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(markImage(side)));
    return icon;
}

} // namespace qinglan::artwork
