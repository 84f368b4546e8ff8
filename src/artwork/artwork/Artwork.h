// The player's own artwork, drawn in code: the side panel's button images, the idle logo of the
// video area and the application/tray icon. Everything is antialiased vector drawing, so the
// images are crisp at any size and the program carries no image files.
//
// The colours are chosen for a dark skin: greys #1e2227 (panel background) and #2b3038 (button
// face), and a teal-blue accent #2bb3c0 with a lighter #7fe0e6 and a deeper blue #1c6f9c for the
// "blue-green mountain haze" of the mark.
//
// All functions draw on the caller's thread and need a QGuiApplication (fonts, pixmaps); they
// are cheap enough to call when a window is built and keep the result.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

namespace qinglan::artwork {

namespace palette {
inline constexpr QRgb panelBackground = 0xff1e2227;
inline constexpr QRgb buttonFace = 0xff2b3038;
inline constexpr QRgb accent = 0xff2bb3c0;
inline constexpr QRgb accentLight = 0xff7fe0e6;
inline constexpr QRgb accentDeep = 0xff1c6f9c;
inline constexpr QRgb glyph = 0xffeaf6f7;
inline constexpr QRgb caption = 0xffc9d3da;
} // namespace palette

enum class PanelIcon { Pause, Play, Stop, Previous, Next };

// A round side-panel button with its glyph, centred in `size` on a transparent background.
// The pressed form sits 1 px lower and to the right, with a darker, sunk face and no drop shadow.
// Pause and Play are the panel's main button and get an accent-coloured face.
QPixmap panelIcon(PanelIcon icon, bool pressed, QSize size = {56, 50});

// The idle logo of the video area: 256 x 256, transparent outside the mark, with the name
// "青岚播放器" under it.
QImage logoImage();

// The mark alone (no text), square, transparent background; `side` in pixels. Small sides get
// a simplified drawing so the mark stays readable.
QImage markImage(int side);

// The sizes of the application icon an icon theme is given: what menus, file managers and
// "open with" lists look for.
inline constexpr int kAppIconSides[] = {16, 24, 32, 48, 64, 128, 256};

// The mark at `side` as a PNG file's content: the application icon, the same bytes wherever it
// is installed from. Empty when it cannot be encoded.
QByteArray markPng(int side);

// The application and tray icon: the mark at 16, 22, 24, 32, 48 and 64 px.
QIcon trayIcon();

} // namespace qinglan::artwork
