#pragma once
#include <QProxyStyle>

namespace qinglan::skin {

// The skin's own drawing of the small marks a style sheet cannot draw without image files
// (which the engine does not have: it lives in memory only): check and radio indicators and
// the arrows of combo boxes and menus. Everything else is the base style under the sheet.
// Colours come from the palette, so the hue/saturation/brightness shift reaches them too.
class SkinStyle final : public QProxyStyle {
public:
    explicit SkinStyle(QStyle* base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace qinglan::skin
