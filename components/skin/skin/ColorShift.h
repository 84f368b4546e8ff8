#pragma once
#include <QColor>
#include <QString>

namespace qinglan::skin {

// Turn the hue by `hue` degrees and move saturation and lightness by a percentage towards
// full (positive) or none (negative). Values outside -180..180 and -100..100 are clamped.
struct ColorShift {
    int hue = 0;
    int saturation = 0;
    int brightness = 0;
    bool isNone() const { return hue == 0 && saturation == 0 && brightness == 0; }
};

QColor shifted(const QColor& color, const ColorShift& shift);
// Every "#rgb", "#rrggbb" and "#aarrggbb" colour of a style sheet, shifted.
QString shiftedStyleSheet(const QString& styleSheet, const ColorShift& shift);

} // namespace qinglan::skin
