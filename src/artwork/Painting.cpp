#include "artwork/Painting.h"

#include <QImage>
#include <QLineF>

#include <algorithm>
#include <cmath>

namespace qinglan::artwork::detail {

QPainterPath roundedPolygon(const QPolygonF& corners, qreal radius) {
    QPainterPath path;
    const qsizetype n = corners.size();
    if (n < 3) return path;
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF prev = corners[(i + n - 1) % n];
        const QPointF here = corners[i];
        const QPointF next = corners[(i + 1) % n];
        const qreal inLen = QLineF(here, prev).length();
        const qreal outLen = QLineF(here, next).length();
        const qreal r = std::min({radius, inLen / 2, outLen / 2});
        const QPointF from = here + (prev - here) * (r / inLen);
        const QPointF to = here + (next - here) * (r / outLen);
        if (i == 0)
            path.moveTo(from);
        else
            path.lineTo(from);
        path.quadTo(here, to);
    }
    path.closeSubpath();
    return path;
}

void fitDesign(QPainter& painter, QSize target, QSizeF design) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal scale =
        std::min(target.width() / design.width(), target.height() / design.height());
    painter.translate((target.width() - design.width() * scale) / 2,
                      (target.height() - design.height() * scale) / 2);
    painter.scale(scale, scale);
}

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace qinglan::artwork::detail
