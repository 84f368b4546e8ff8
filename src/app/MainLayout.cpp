#include "app/MainLayout.h"

#include <algorithm>

namespace qinglan::app {
namespace {
int trunc(double v) {
    return static_cast<int>(v);
} // toward zero, as the layout asks
} // namespace

bool sidePanelAllowed(int width, int height) {
    return width > 620 && height > 450;
}

int videoHeightFor(int mainHeight, bool shareMode) {
    return mainHeight - (shareMode ? 32 : 62);
}

Box videoBoxFor(int clientWidth, int clientHeight, bool shareMode, bool fullScreen) {
    if (fullScreen) return {0, 0, clientWidth, clientHeight + (shareMode ? 40 : 0)};
    return {0, 0, clientWidth, videoHeightFor(clientHeight, shareMode)};
}

MainLayout computeMainLayout(const Box& main, bool shareMode, int barHeight, int panelHeight) {
    MainLayout l;
    const double left = main.left, top = main.top, width = main.width, height = main.height;
    l.sidePanelEnabled = sidePanelAllowed(main.width, main.height);
    if (!shareMode) {
        l.barPlaced = true;
        l.bar = {trunc(left + 1), trunc(top + height - 31), trunc(width - 2), barHeight};
    }
    l.video = {0, 0, trunc(width), videoHeightFor(main.height, shareMode)};
    l.panelLeft = trunc(left + width - 89);
    l.panelTop = trunc(top + height / 2 - panelHeight / 2.0);
    l.maximizeButton = {trunc(left + width - 90), trunc(top + 1), 43, 20};
    l.minimizeButton = {trunc(left + width - 135), trunc(top + 1), 44, 20};
    if (main.width <= 300 || main.height <= 300)
        l.logo = {0, 0, trunc(width), trunc(height - 64)};
    else
        l.logo = {trunc(width / 2 - 128), trunc(height / 2 - 158), 256, 256};
    return l;
}

FadeStep Fade::tick() {
    FadeStep step;
    if (mode_ == FadeMode::In) {
        opacity_ += 2;
        step.applyOpacity = std::clamp(opacity_, 0, 255);
        if (opacity_ >= 256) {
            step.finished = true;
            mode_ = FadeMode::None;
        }
    } else if (mode_ == FadeMode::Out) {
        step.applyOpacity = std::clamp(opacity_, 0, 255);
        if (opacity_ > 0) {
            opacity_ -= 20;
        } else {
            step.finished = true;
            mode_ = FadeMode::None;
        }
    }
    return step;
}

CloseAction closeActionFor(bool exitOnClose, bool minimizeToTray) {
    if (exitOnClose) return CloseAction::FadeOutAndExit;
    if (minimizeToTray) return CloseAction::HideToTray;
    return CloseAction::CloseNow;
}

} // namespace qinglan::app
