#include "VideoWindow.h"

#include <algorithm>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWheelEvent>

namespace qinglan::aplayer {
namespace {

// A plain native child: Qt never paints it, mpv does.
class Surface : public QWidget {
public:
    explicit Surface(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setUpdatesEnabled(false);
        setMouseTracking(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

quint64 nowMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<quint64>(clock.elapsed());
}

} // namespace

VideoWindow::VideoWindow(QWidget* parent, bool withSurface) : QWidget(parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (withSurface) {
        surface_ = new Surface(this);
        surface_->setGeometry(rect());
        surface_->hide();
        (void)surface_->winId(); // the X window must exist before mpv gets its id
    }
}

VideoWindow::~VideoWindow() {
    if (aboutToBeDestroyed_) aboutToBeDestroyed_();
}

void VideoWindow::setLogo(const QImage& logo) {
    logo_ = logo;
    update();
}

void VideoWindow::setIdleText(const QString& text, int opacity) {
    if (text == idleText_ && opacity == idleTextOpacity_) return;
    idleText_ = text;
    idleTextOpacity_ = std::clamp(opacity, 0, 255);
    update();
}

quintptr VideoWindow::surfaceId() const {
    return surface_ ? surface_->winId() : 0;
}

void VideoWindow::showVideo(bool on) {
    videoWanted_ = on;
    updateSurface();
}

void VideoWindow::setBackdrop(std::function<void(QPainter&, const QRect&)> paint) {
    backdrop_ = std::move(paint);
    update();
}

void VideoWindow::showBackdrop(bool on) {
    if (on == backdropShown_) return;
    backdropShown_ = on;
    updateSurface();
    update();
}

void VideoWindow::updateSurface() {
    const bool on = videoWanted_ && !backdropShown_;
    if (surface_) surface_->setVisible(on);
    // Qt does not know the area under the surface changed: without a paint the last frame mpv
    // drew stays where the logo belongs.
    if (!on) repaint();
}

void VideoWindow::addPointerHandler(PointerHandler handler) {
    handlers_.push_back(std::move(handler));
}

int VideoWindow::firstActiveHandler() const {
    for (size_t i = 0; i < handlers_.size(); ++i)
        if (handlers_[i].active && handlers_[i].active()) return static_cast<int>(i);
    return -1;
}

void VideoWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (backdropShown_ && backdrop_) {
        p.save();
        backdrop_(p, rect());
        p.restore();
    } else if (!logo_.isNull()) {
        QSize size = logo_.size();
        if (size.width() > width() || size.height() > height())
            size.scale(this->size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, logo_);
    }
    if (idleText_.isEmpty()) return;
    // The same place as mpv's text over video: the top-left corner, white with a dark outline.
    QFont font = p.font();
    font.setPixelSize(std::max(12, height() / 24));
    font.setBold(true);
    p.setFont(font);
    const QRect box = rect().adjusted(height() / 20, height() / 20, -height() / 20, -height() / 20);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    p.setPen(QColor(0, 0, 0, idleTextOpacity_));
    for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1), QPoint(2, 2)})
        p.drawText(box.translated(d), flags, idleText_);
    p.setPen(QColor(255, 255, 255, idleTextOpacity_));
    p.drawText(box, flags, idleText_);
}

void VideoWindow::resizeEvent(QResizeEvent*) {
    if (surface_) surface_->setGeometry(rect());
}

VideoWindow::Press VideoWindow::pressOf(QMouseEvent* event) {
    return Press{event->position().toPoint(), nowMs(), event->buttons(), event->modifiers()};
}

void VideoWindow::send(uint32_t message, const Press& press) {
    if (!message_) return;
    uintptr_t keys = 0;
    const Qt::MouseButtons b = press.buttons;
    if (b & Qt::LeftButton) keys |= 0x1;
    if (b & Qt::RightButton) keys |= 0x2;
    if (press.modifiers & Qt::ShiftModifier) keys |= 0x4;
    if (press.modifiers & Qt::ControlModifier) keys |= 0x8;
    if (b & Qt::MiddleButton) keys |= 0x10;
    const QPoint pos = press.pos;
    intptr_t lParam = static_cast<intptr_t>(((pos.y() & 0xFFFF) << 16) | (pos.x() & 0xFFFF));
    // The callback may close or move this window: take a copy first.
    MessageCallback fn = message_;
    fn(message, keys, lParam);
}

// Windows sends down, up, double-click, up for a double click: the second press becomes the
// double-click message and no second "down" is sent. Qt's own sequence differs between
// versions (press + double-click, or double-click alone), so the decision is made here, from
// the time and place of the press (a held press is decided at its release).
void VideoWindow::leftDown(const Press& press) {
    int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    int distance = QGuiApplication::styleHints()->startDragDistance();
    bool isDouble = !lastWasDouble_ && lastLeftDownTime_ &&
                    press.timeMs - *lastLeftDownTime_ <= static_cast<quint64>(interval) &&
                    (press.pos - lastLeftDownPos_).manhattanLength() <= distance;
    lastLeftDownTime_ = press.timeMs;
    lastLeftDownPos_ = press.pos;
    lastWasDouble_ = isDouble;
    send(isDouble ? MessageLeftButtonDoubleClick : MessageLeftButtonDown, press);
}

// While a handler could take a drag, the press waits for the release: only then is it known
// whether it was a click (sent as down and up together) or a drag (sent to the handler only).
void VideoWindow::leftPress(QMouseEvent* event) {
    lastLeftPressStamp_ = event->timestamp();
    dragHandler_ = -1;
    heldPress_.reset();
    if (firstActiveHandler() >= 0)
        heldPress_ = pressOf(event);
    else
        leftDown(pressOf(event));
}

void VideoWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftPress(event);
    else if (event->button() == Qt::RightButton)
        send(MessageRightButtonDown, pressOf(event));
    event->accept();
}

void VideoWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only when Qt did not already deliver this click as a press.
    if (event->button() == Qt::LeftButton && event->timestamp() != lastLeftPressStamp_)
        leftPress(event);
    event->accept();
}

void VideoWindow::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint pos = event->position().toPoint();
    if (dragHandler_ < 0) {
        if (!heldPress_ || (pos - heldPress_->pos).manhattanLength() <=
                               QGuiApplication::styleHints()->startDragDistance())
            return;
        dragHandler_ = firstActiveHandler();
        if (dragHandler_ < 0) {
            // The view that could take it has gone meanwhile: an ordinary press after all.
            Press press = *heldPress_;
            heldPress_.reset();
            leftDown(press);
            return;
        }
        dragLast_ = heldPress_->pos;
        heldPress_.reset();
    }
    // A copy: the handler may add handlers.
    auto dragged = handlers_[static_cast<size_t>(dragHandler_)].dragged;
    const QPoint from = dragLast_;
    dragLast_ = pos;
    if (dragged) dragged(from, pos);
}

void VideoWindow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::RightButton) {
        send(MessageRightButtonUp, pressOf(event));
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (dragHandler_ >= 0) {
        auto released = handlers_[static_cast<size_t>(dragHandler_)].released;
        dragHandler_ = -1;
        // A drag ends any double click in the making: the next click is a first one.
        lastLeftDownTime_.reset();
        lastWasDouble_ = false;
        if (released) released(event->position().toPoint());
        return;
    }
    if (heldPress_) {
        Press press = *heldPress_;
        heldPress_.reset();
        leftDown(press);
    }
    send(MessageLeftButtonUp, pressOf(event));
}

void VideoWindow::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    for (const PointerHandler& h : std::vector<PointerHandler>(handlers_)) {
        if (h.active && h.active() && h.wheel && h.wheel(delta)) {
            event->accept();
            return;
        }
    }
    event->ignore();
}

} // namespace qinglan::aplayer
