#include "VideoWindow.h"

#include <algorithm>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

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
    if (surface_) surface_->setVisible(on);
    // Qt does not know the area under the surface changed: without a paint the last frame mpv
    // drew stays where the logo belongs.
    if (!on) repaint();
}

void VideoWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!logo_.isNull()) {
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

void VideoWindow::send(uint32_t message, QMouseEvent* event) {
    if (!message_) return;
    uintptr_t keys = 0;
    Qt::MouseButtons b = event->buttons();
    if (b & Qt::LeftButton) keys |= 0x1;
    if (b & Qt::RightButton) keys |= 0x2;
    if (event->modifiers() & Qt::ShiftModifier) keys |= 0x4;
    if (event->modifiers() & Qt::ControlModifier) keys |= 0x8;
    if (b & Qt::MiddleButton) keys |= 0x10;
    QPoint pos = event->position().toPoint();
    intptr_t lParam = static_cast<intptr_t>(((pos.y() & 0xFFFF) << 16) | (pos.x() & 0xFFFF));
    // The callback may close or move this window: take a copy first.
    MessageCallback fn = message_;
    fn(message, keys, lParam);
}

// Windows sends down, up, double-click, up for a double click: the second press becomes the
// double-click message and no second "down" is sent. Qt's own sequence differs between
// versions (press + double-click, or double-click alone), so the decision is made here.
void VideoWindow::leftDown(QMouseEvent* event) {
    quint64 now = nowMs();
    QPoint pos = event->position().toPoint();
    int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    int distance = QGuiApplication::styleHints()->startDragDistance();
    bool isDouble = !lastWasDouble_ && lastLeftDownTime_ &&
                    now - *lastLeftDownTime_ <= static_cast<quint64>(interval) &&
                    (pos - lastLeftDownPos_).manhattanLength() <= distance;
    lastLeftDownTime_ = now;
    lastLeftDownPos_ = pos;
    lastLeftDownStamp_ = event->timestamp();
    lastWasDouble_ = isDouble;
    send(isDouble ? MessageLeftButtonDoubleClick : MessageLeftButtonDown, event);
}

void VideoWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftDown(event);
    else if (event->button() == Qt::RightButton)
        send(MessageRightButtonDown, event);
    event->accept();
}

void VideoWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only when Qt did not already deliver this click as a press.
    if (event->button() == Qt::LeftButton && event->timestamp() != lastLeftDownStamp_)
        leftDown(event);
    event->accept();
}

void VideoWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        send(MessageLeftButtonUp, event);
    else if (event->button() == Qt::RightButton)
        send(MessageRightButtonUp, event);
    event->accept();
}

} // namespace qinglan::aplayer
