#pragma once
// The Qt widgets behind the control kinds that need more than a stock widget: press events on
// labels, pictures, group boxes and shapes; user-only position changes on sliders and scroll
// bars; key and focus events on edit boxes; and the non-visual kinds (file dialog, drop target,
// balloon tip). Stock widgets are used as they are for buttons, radios, check boxes and combos.
//
// All signals are delivered on the window thread.

#include <QAbstractSlider>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStringList>

class QTimer;

namespace qinglan::ui {

// 标签: a static text that also serves as a clickable item and as the receiver of
// notifications posted with two integers.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);
    // Queues a notification; `feedback` is emitted later from the event loop, never from inside
    // the caller.
    void postFeedback(int first, int second);
signals:
    void leftPressed();
    void feedback(int first, int second);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// 图片框: shows a picture scaled to its size.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
signals:
    void leftPressed();
    void rightPressed(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// 分组框: a captioned group; its children are placed relative to it.
class GroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupBox(QWidget* parent = nullptr);
signals:
    void leftPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// 外形框: the plain surface a settings page scrolls.
class ShapeFrame : public QFrame {
    Q_OBJECT
public:
    explicit ShapeFrame(QWidget* parent = nullptr);
signals:
    void leftPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// 超级链接框: underlined text that reacts to a left press.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);
signals:
    void leftPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Tells a user's move of a slider or scroll bar (mouse, keys, wheel, auto-repeat) from the
// program's own setValue(), which must not run position handlers: filling a page from the
// store or the progress loop's updates would otherwise write and seek.
class UserMoveDetector : public QObject {
    Q_OBJECT
public:
    explicit UserMoveDetector(QAbstractSlider* slider);
    // To be called by the owning widget around its QWidget::event().
    void enterEvent() { ++depth_; }
    void leaveEvent();
signals:
    void positionChanged(int position);

private:
    int depth_ = 0;
    bool actionPending_ = false;
};

// 滑块条: horizontal trackbar.
class Trackbar : public QSlider {
    Q_OBJECT
public:
    explicit Trackbar(QWidget* parent = nullptr);
signals:
    // Only for moves made by the user.
    void positionChanged(int position);

protected:
    bool event(QEvent* event) override;

private:
    UserMoveDetector* detector_ = nullptr; // events arrive while it is being made
};

// 纵向滚动条 / 横向滚动条. The wheel does not move the bar by itself: it is reported with its
// angle and the handler decides the new position. A right press is reported instead of
// opening a context menu.
class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
signals:
    void positionChanged(int position); // user moves only
    void wheelTurned(int angleDelta);   // eighths of a degree, negative = towards the user
    void rightPressed();

protected:
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    UserMoveDetector* detector_ = nullptr; // events arrive while it is being made
};

// 编辑框: reports key presses before the box handles them, and the loss of focus.
class EditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);
signals:
    // Set *consumed to keep the key from the box (a key capture that writes the text itself).
    void keyPressed(int key, int modifiers, bool* consumed);
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// 颜色选择器: a button showing a colour; a click offers the colour dialog. Colours are Windows
// COLORREF values (0x00BBGGRR), the form the settings store keeps.
class ColourPicker : public QPushButton {
    Q_OBJECT
public:
    explicit ColourPicker(QWidget* parent = nullptr);
    unsigned colorRef() const { return colorRef_; }
    void setColorRef(unsigned colorRef);
signals:
    void colourChosen(unsigned colorRef);

private:
    void choose();
    unsigned colorRef_ = 0;
};

// 通用对话框: the open-file dialog with the designed filter text ("desc|patterns|desc|...").
class FileDialogBox : public QObject {
    Q_OBJECT
public:
    explicit FileDialogBox(QObject* parent = nullptr);
    QString filter() const { return filter_; }
    void setFilter(const QString& filter) { filter_ = filter; }
    // Asks for one existing file; empty when cancelled.
    QString chooseFile(QWidget* dialogParent, const QString& title = {}) const;

private:
    QString filter_;
};

// The designed filter text in the form Qt's file dialogs read. "*.*" means every file.
QString toQtFilter(const QString& designedFilter);

// 拖放对象: accepts files dropped on the widgets it is attached to.
class DropTarget : public QObject {
    Q_OBJECT
public:
    explicit DropTarget(QObject* parent = nullptr);
    void attachTo(QWidget* widget);
signals:
    void filesDropped(const QStringList& localPaths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// 气球提示框: a tooltip shown on demand.
class BalloonTip : public QObject {
    Q_OBJECT
public:
    explicit BalloonTip(QObject* parent = nullptr);
    QString text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    void showAt(const QPoint& globalPos, QWidget* over) const;

private:
    QString text_;
};

// 时钟: sets a timer's period the way the design treats it: 0 stops the timer.
void setClockPeriod(QTimer* clock, int milliseconds);

} // namespace qinglan::ui
