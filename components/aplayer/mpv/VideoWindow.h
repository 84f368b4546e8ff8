#pragma once
// The engine's video window: black with the custom logo while no video is drawn, and a native
// child surface that mpv draws into (by X11 window id) while a video plays. Mouse buttons on
// either are turned into the Windows messages the player expects.
#include "aplayer/Engine.h"

#include <QImage>
#include <QWidget>

#include <optional>

#include <functional>

namespace qinglan::aplayer {

class VideoWindow : public QWidget {
public:
    VideoWindow(QWidget* parent, bool withSurface);
    ~VideoWindow() override;

    // Called at the start of the destructor, while the native surface still exists: the engine
    // stops mpv there, so mpv never draws into a destroyed window.
    void setAboutToBeDestroyed(std::function<void()> fn) { aboutToBeDestroyed_ = std::move(fn); }
    void setMessageCallback(MessageCallback fn) { message_ = std::move(fn); }
    void setLogo(const QImage& logo);
    // On-screen text while no video is drawn (mpv draws it over the video otherwise);
    // empty hides it. Opacity 0..255.
    void setIdleText(const QString& text, int opacity);

    // X11 window id for mpv's wid, 0 without a surface.
    quintptr surfaceId() const;
    // The surface covers the logo while a video is drawn.
    void showVideo(bool on);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    void send(uint32_t message, QMouseEvent* event);
    void leftDown(QMouseEvent* event);

    QWidget* surface_ = nullptr;
    QImage logo_;
    QString idleText_;
    int idleTextOpacity_ = 255;
    std::function<void()> aboutToBeDestroyed_;
    MessageCallback message_;
    // Empty until the first press: the clock may well read 0 at that press, so 0 cannot mean
    // "none" (it made the first double click after start count as two single clicks).
    std::optional<quint64> lastLeftDownTime_;
    quint64 lastLeftDownStamp_ = 0;
    QPoint lastLeftDownPos_;
    bool lastWasDouble_ = false;
};

} // namespace qinglan::aplayer
