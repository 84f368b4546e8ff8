#pragma once
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace qinglan::app {

// The primary screen, and its work area (the screen less panels and docks).
inline QRect screenGeometry() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1920, 1080);
}
inline QRect workAreaGeometry() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
}

} // namespace qinglan::app
