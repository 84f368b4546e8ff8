#pragma once
// The engine's video window: black with the custom logo while no video is drawn, and a native
// child surface that mpv draws into (by X11 window id) while a video plays. Mouse buttons on
// either are turned into the Windows messages the player expects.
//
// Views drawn by the engine itself (the lyrics, the VR look-around) take the mouse through
// pointer handlers: a press moved further than the platform's drag distance before its release
// is a drag and goes to the first active handler; it sends no message to the player, so it
// neither toggles pause nor counts toward a double click. While no handler is active every
// press reaches the player at once, as before.
#include "aplayer/Engine.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

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

    struct PointerHandler {
        std::function<bool()> active;                        // takes drags/wheel only while true
        std::function<void(QPoint from, QPoint to)> dragged; // each move during a drag
        std::function<void(QPoint at)> released;             // end of a drag
        std::function<bool(int angleDelta)> wheel;           // true = consumed
    };
    // Handlers are asked in order of adding; the first active one gets the drag. Any member
    // may be empty (no active = never active).
    void addPointerHandler(PointerHandler handler);

    // A view painted in place of the logo while shown; the surface stays hidden meanwhile, so
    // it is drawn over the video window even when the media carries a picture.
    void setBackdrop(std::function<void(QPainter&, const QRect&)> paint);
    void showBackdrop(bool on);
    bool backdropShown() const { return backdropShown_; }

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
    void mouseMoveEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    struct Press {
        QPoint pos;
        quint64 timeMs = 0;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
    };
    static Press pressOf(QMouseEvent* event);
    void send(uint32_t message, const Press& press);
    void leftPress(QMouseEvent* event);
    void leftDown(const Press& press);
    int firstActiveHandler() const;
    void updateSurface();

    QWidget* surface_ = nullptr;
    bool videoWanted_ = false;
    std::function<void(QPainter&, const QRect&)> backdrop_;
    bool backdropShown_ = false;
    std::vector<PointerHandler> handlers_;
    // A left press held back while a handler could take it as a drag: sent at the release
    // unless it became one.
    std::optional<Press> heldPress_;
    int dragHandler_ = -1; // index into handlers_ while a drag runs
    QPoint dragLast_;
    QImage logo_;
    QString idleText_;
    int idleTextOpacity_ = 255;
    std::function<void()> aboutToBeDestroyed_;
    MessageCallback message_;
    // Empty until the first press: the clock may well read 0 at that press, so 0 cannot mean
    // "none" (it made the first double click after start count as two single clicks).
    std::optional<quint64> lastLeftDownTime_;
    quint64 lastLeftPressStamp_ = 0;
    QPoint lastLeftDownPos_;
    bool lastWasDouble_ = false;
};

} // namespace qinglan::aplayer
