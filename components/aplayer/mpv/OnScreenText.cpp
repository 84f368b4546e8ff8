#include "OnScreenText.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/MpvTranslate.h"

#include <QString>

namespace qinglan::aplayer {
namespace {

constexpr int kOverlayId = 1;

} // namespace

bool OnScreenText::apply() {
    if (!core_.running()) return false;
    bool shown = isOn(config_[cfg::OsdShow]);
    OnScreenTextStyle style;
    style.sizePercent = static_cast<int>(parseInteger(config_[cfg::OsdSize]).value_or(100));
    style.margin = static_cast<int>(parseInteger(config_[cfg::OsdMargin]).value_or(70));
    style.opacity = static_cast<int>(parseInteger(config_[cfg::OsdOpacity]).value_or(255));
    style.outline = config_[cfg::OsdOutline] != "0";
    std::string data = shown ? onScreenTextAss(config_[cfg::OsdText], style) : std::string();
    // While idle the logo is painted by Qt and mpv draws nothing: the window shows the text.
    if (window_)
        window_->setIdleText(shown ? QString::fromStdString(config_[cfg::OsdText]) : QString(),
                             style.opacity);
    // Width 0: it follows the window's aspect.
    return core_.overlay(kOverlayId, shown, data, 0, 720);
}

} // namespace qinglan::aplayer
