// Small drawing helpers shared by the artwork files.
#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QSize>

namespace qinglan::artwork::detail {

// A closed polygon whose corners are rounded with the given radius (clamped to half of the
// shorter adjoining edge), so glyph tips look soft instead of needle-sharp.
QPainterPath roundedPolygon(const QPolygonF& corners, qreal radius);

// Sets up `painter` so that a design drawn in a `design`-sized box fills `target` centred,
// keeping the aspect ratio; turns on antialiasing.
void fitDesign(QPainter& painter, QSize target, QSizeF design);

// A transparent ARGB image of the given size, ready to paint on.
QImage transparentImage(QSize size);

} // namespace qinglan::artwork::detail
