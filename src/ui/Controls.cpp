#include "ui/Controls.h"

#include <QColorDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

namespace qinglan::ui {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {}

void ClickableLabel::postFeedback(int first, int second) {
    QMetaObject::invokeMethod(
        this, [this, first, second] { emit feedback(first, second); }, Qt::QueuedConnection);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed();
    event->accept();
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit leftPressed();
    else if (event->button() == Qt::RightButton)
        emit rightPressed(event->globalPosition().toPoint());
    event->accept();
}

GroupBox::GroupBox(QWidget* parent) : QGroupBox(parent) {}

void GroupBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed();
    event->accept();
}

ShapeFrame::ShapeFrame(QWidget* parent) : QFrame(parent) {}

void ShapeFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed();
    event->accept();
}

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed();
    event->accept();
}

// QAbstractSlider runs every user action through triggerAction(), which emits actionTriggered()
// and then applies the value, all inside the event being handled. A value change that follows
// an action within the same event is the user's; setValue() from code is not.
UserMoveDetector::UserMoveDetector(QAbstractSlider* slider) : QObject(slider) {
    connect(slider, &QAbstractSlider::actionTriggered, this, [this] { actionPending_ = true; });
    connect(slider, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (!actionPending_) return;
        actionPending_ = false;
        emit positionChanged(value);
    });
}

void UserMoveDetector::leaveEvent() {
    if (--depth_ == 0) actionPending_ = false; // an action at a bound changes nothing
}

Trackbar::Trackbar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    detector_ = new UserMoveDetector(this);
    connect(detector_, &UserMoveDetector::positionChanged, this, &Trackbar::positionChanged);
}

bool Trackbar::event(QEvent* event) {
    if (!detector_) return QSlider::event(event);
    detector_->enterEvent();
    const bool handled = QSlider::event(event);
    detector_->leaveEvent();
    return handled;
}

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    detector_ = new UserMoveDetector(this);
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(detector_, &UserMoveDetector::positionChanged, this, &ScrollBar::positionChanged);
}

bool ScrollBar::event(QEvent* event) {
    // QScrollBar scrolls on the wheel inside event() itself, before wheelEvent() would run.
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (!detector_) return QScrollBar::event(event);
    detector_->enterEvent();
    const bool handled = QScrollBar::event(event);
    detector_->leaveEvent();
    return handled;
}

void ScrollBar::wheelEvent(QWheelEvent* event) {
    const QPoint d = event->angleDelta();
    emit wheelTurned(d.y() != 0 ? d.y() : d.x());
    event->accept();
}

void ScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightPressed();
        event->accept();
        return;
    }
    QScrollBar::mousePressEvent(event);
}

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

void EditBox::keyPressEvent(QKeyEvent* event) {
    bool consumed = false;
    emit keyPressed(event->key(), static_cast<int>(event->modifiers()), &consumed);
    if (consumed) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost();
}

namespace {
QColor fromColorRef(unsigned ref) {
    return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                  static_cast<int>((ref >> 16) & 0xFF));
}
unsigned toColorRef(const QColor& c) {
    return static_cast<unsigned>(c.red()) | (static_cast<unsigned>(c.green()) << 8) |
           (static_cast<unsigned>(c.blue()) << 16);
}
} // namespace

ColourPicker::ColourPicker(QWidget* parent) : QPushButton(parent) {
    setColorRef(0);
    connect(this, &QPushButton::clicked, this, &ColourPicker::choose);
}

void ColourPicker::setColorRef(unsigned colorRef) {
    colorRef_ = colorRef & 0xFFFFFF;
    setStyleSheet(QStringLiteral("background-color: %1;").arg(fromColorRef(colorRef_).name()));
}

void ColourPicker::choose() {
    const QColor chosen = QColorDialog::getColor(fromColorRef(colorRef_), window());
    if (!chosen.isValid()) return;
    setColorRef(toColorRef(chosen));
    emit colourChosen(colorRef_);
}

FileDialogBox::FileDialogBox(QObject* parent) : QObject(parent) {}

QString FileDialogBox::chooseFile(QWidget* dialogParent, const QString& title) const {
    return QFileDialog::getOpenFileName(dialogParent, title, {}, toQtFilter(filter_));
}

QString toQtFilter(const QString& designedFilter) {
    const QStringList parts = designedFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            patterns << (pattern == u"*.*" ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty()) continue;
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
    }
    return filters.join(QStringLiteral(";;"));
}

DropTarget::DropTarget(QObject* parent) : QObject(parent) {}

void DropTarget::attachTo(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls())
            if (url.isLocalFile()) paths << url.toLocalFile();
        drop->acceptProposedAction();
        if (!paths.isEmpty()) emit filesDropped(paths);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

BalloonTip::BalloonTip(QObject* parent) : QObject(parent) {}

void BalloonTip::showAt(const QPoint& globalPos, QWidget* over) const {
    QToolTip::showText(globalPos, text_, over);
}

void setClockPeriod(QTimer* clock, int milliseconds) {
    if (milliseconds <= 0) {
        clock->stop();
        return;
    }
    clock->start(milliseconds);
}

} // namespace qinglan::ui
