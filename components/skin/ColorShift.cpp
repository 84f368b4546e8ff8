#include "skin/ColorShift.h"

#include <QRegularExpression>

#include <algorithm>

namespace qinglan::skin {
namespace {

float towards(float value, int percent) {
    const float amount = std::clamp(percent, -100, 100) / 100.0f;
    return amount >= 0 ? value + (1.0f - value) * amount : value * (1.0f + amount);
}

} // namespace

QColor shifted(const QColor& color, const ColorShift& shift) {
    if (shift.isNone() || !color.isValid()) return color;
    float h, s, l, a;
    color.toHsl().getHslF(&h, &s, &l, &a);
    if (h < 0) h = 0; // achromatic colours have no hue
    h += std::clamp(shift.hue, -180, 180) / 360.0f;
    h -= std::floor(h);
    return QColor::fromHslF(h, towards(s, shift.saturation), towards(l, shift.brightness), a)
        .toRgb();
}

QString shiftedStyleSheet(const QString& styleSheet, const ColorShift& shift) {
    if (shift.isNone()) return styleSheet;
    static const QRegularExpression colour(
        QStringLiteral("#(?:[0-9a-fA-F]{8}|[0-9a-fA-F]{6}|[0-9a-fA-F]{3})(?![0-9a-zA-Z_-])"));
    QString out;
    qsizetype last = 0;
    for (auto it = colour.globalMatch(styleSheet); it.hasNext();) {
        const auto match = it.next();
        out += QStringView(styleSheet).mid(last, match.capturedStart() - last);
        const QColor original = QColor::fromString(match.capturedView());
        const QColor turned = shifted(original, shift);
        out += match.capturedLength() == 9 ? turned.name(QColor::HexArgb) : turned.name();
        last = match.capturedEnd();
    }
    out += QStringView(styleSheet).mid(last);
    return out;
}

} // namespace qinglan::skin
