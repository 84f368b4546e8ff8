// The side panel's round buttons. Designed in a 56 x 50 box (the panel's picture boxes) and
// scaled to whatever size is asked for.
#include "artwork/Artwork.h"
#include "artwork/Painting.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace qinglan::artwork {
namespace {

using detail::roundedPolygon;

constexpr QSizeF kDesign{56, 50};
constexpr QPointF kCentre{28, 24.5};
constexpr qreal kRim = 21;  // outer edge of the bevel
constexpr qreal kFace = 19; // the face inside the bevel

QColor withAlpha(QRgb rgb, int alpha) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

QPainterPath glyphPath(PanelIcon icon) {
    QPainterPath path;
    switch (icon) {
    case PanelIcon::Play:
        // The triangle's centroid sits a little right of the middle, where the eye expects it.
        return roundedPolygon(QPolygonF{{QPointF(23, 15.5), QPointF(38, 24.5), QPointF(23, 33.5)}},
                              2.2);
    case PanelIcon::Pause:
        path.addRoundedRect(QRectF(20.5, 16, 5, 17), 1.6, 1.6);
        path.addRoundedRect(QRectF(30.5, 16, 5, 17), 1.6, 1.6);
        return path;
    case PanelIcon::Stop:
        path.addRoundedRect(QRectF(20.5, 17, 15, 15), 2.6, 2.6);
        return path;
    case PanelIcon::Previous:
        path.addRoundedRect(QRectF(19, 17, 3.4, 15), 1.2, 1.2);
        path.addPath(roundedPolygon(
            QPolygonF{{QPointF(37, 16.5), QPointF(37, 32.5), QPointF(23.5, 24.5)}}, 2));
        return path;
    case PanelIcon::Next:
        path.addRoundedRect(QRectF(33.6, 17, 3.4, 15), 1.2, 1.2);
        path.addPath(roundedPolygon(
            QPolygonF{{QPointF(19, 16.5), QPointF(32.5, 24.5), QPointF(19, 32.5)}}, 2));
        return path;
    }
    return path;
}

void paintShadow(QPainter& p) {
    QRadialGradient shadow(kCentre + QPointF(0, 2), kRim + 2.5);
    shadow.setColorAt(0.80, QColor(0, 0, 0, 120));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(kCentre + QPointF(0, 2), kRim + 2.5, kRim + 2.5);
}

void paintBevel(QPainter& p, bool pressed) {
    // Lit from above: the rim is bright at the top when raised, dark at the top when sunk.
    QLinearGradient rim(0, kCentre.y() - kRim, 0, kCentre.y() + kRim);
    const QColor light(0x56, 0x5f, 0x6b);
    const QColor dark(0x10, 0x12, 0x16);
    rim.setColorAt(0, pressed ? dark : light);
    rim.setColorAt(1, pressed ? QColor(0x3a, 0x41, 0x4b) : dark);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(kCentre, kRim, kRim);
}

void paintFace(QPainter& p, bool accentFace, bool pressed) {
    QLinearGradient face(0, kCentre.y() - kFace, 0, kCentre.y() + kFace);
    if (accentFace) {
        face.setColorAt(0, pressed ? QColor(0x14, 0x6c, 0x80) : QColor(0x4c, 0xcd, 0xd8));
        face.setColorAt(1, pressed ? QColor(0x1f, 0x93, 0xa4) : QColor(0x17, 0x84, 0xa0));
    } else {
        face.setColorAt(0, pressed ? QColor(0x1a, 0x1d, 0x22) : QColor(0x3d, 0x44, 0x4f));
        face.setColorAt(1, pressed ? QColor(0x2b, 0x30, 0x38) : QColor(0x24, 0x28, 0x2f));
    }
    p.setBrush(face);
    p.drawEllipse(kCentre, kFace, kFace);

    QPainterPath faceClip;
    faceClip.addEllipse(kCentre, kFace, kFace);
    p.save();
    p.setClipPath(faceClip);
    if (pressed) {
        // Inner shadow along the upper edge: the face looks pushed in.
        QRadialGradient inner(kCentre + QPointF(0, 3), kFace + 3);
        inner.setColorAt(0.70, QColor(0, 0, 0, 0));
        inner.setColorAt(1.0, QColor(0, 0, 0, 150));
        p.setBrush(inner);
        p.drawEllipse(kCentre, kFace, kFace);
    } else {
        // A soft gloss over the upper half.
        QLinearGradient gloss(0, kCentre.y() - kFace, 0, kCentre.y());
        gloss.setColorAt(0, QColor(255, 255, 255, accentFace ? 70 : 38));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(gloss);
        p.drawEllipse(QRectF(kCentre.x() - kFace * 0.82, kCentre.y() - kFace * 0.98, kFace * 1.64,
                             kFace * 1.15));
    }
    p.restore();

    // Thin accent ring between bevel and face ties the dark buttons to the accent colour.
    QPen ring(withAlpha(accentFace ? palette::accentLight : palette::accent, pressed      ? 90
                                                                             : accentFace ? 150
                                                                                          : 130),
              1.0);
    p.setPen(ring);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(kCentre, kFace + 0.5, kFace + 0.5);
    p.setPen(Qt::NoPen);
}

void paintGlyph(QPainter& p, PanelIcon icon, bool accentFace, bool pressed) {
    const QPainterPath glyph = glyphPath(icon);
    p.setPen(Qt::NoPen);
    // An engraved shadow under the glyph keeps it readable on both faces.
    p.setBrush(QColor(0, 0, 0, pressed ? 70 : 110));
    p.drawPath(glyph.translated(0, 1));
    QColor colour = QColor::fromRgb(accentFace ? palette::glyph : palette::accentLight);
    if (pressed) colour = colour.darker(accentFace ? 115 : 125);
    p.setBrush(colour);
    p.drawPath(glyph);
}

} // namespace

QPixmap panelIcon(PanelIcon icon, bool pressed, QSize size) {
    if (size.isEmpty()) return {};
    QImage image = detail::transparentImage(size);
    QPainter p(&image);
    detail::fitDesign(p, size, kDesign);
    const bool accentFace = icon == PanelIcon::Play || icon == PanelIcon::Pause;
    if (pressed)
        p.translate(1, 1);
    else
        paintShadow(p);
    paintBevel(p, pressed);
    paintFace(p, accentFace, pressed);
    paintGlyph(p, icon, accentFace, pressed);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace qinglan::artwork
