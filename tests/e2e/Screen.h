#pragma once
#include <QColor>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <string>

namespace qinglan::test {

// A grab of the whole X screen of the test display.
QImage grabScreen();
// The client rectangle of an X window (without any frame), in screen coordinates.
QRect windowRect(const std::string& windowId);
// The frame a window manager put around a window, from _NET_FRAME_EXTENTS (none without one).
QMargins frameExtents(const std::string& windowId);
// True when the colour is within `tolerance` of the expected one on every channel.
bool near(QColor actual, QColor expected, int tolerance = 40);

} // namespace qinglan::test
