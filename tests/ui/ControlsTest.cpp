// The control widgets' own promises: user moves versus the program's, wheel and right press on
// scroll bars, key capture on edit boxes, drops, filters, clocks.
#include "ui/Controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace qinglan::ui;

namespace {

void pressKey(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

void turnWheel(QWidget* w, int angle) {
    QWheelEvent wheel(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
}

void press(QWidget* w, Qt::MouseButton button) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), button, button,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST(UiControls, SliderReportsOnlyTheUsersMoves) {
    Trackbar slider;
    slider.setRange(0, 10);
    std::vector<int> seen;
    QObject::connect(&slider, &Trackbar::positionChanged, [&](int p) { seen.push_back(p); });
    slider.setValue(5);
    EXPECT_TRUE(seen.empty()) << "the program's own move";
    pressKey(&slider, Qt::Key_Right);
    EXPECT_EQ(seen, std::vector<int>{6});
    slider.setValue(10);
    pressKey(&slider, Qt::Key_Right); // at the bound: nothing changes
    slider.setValue(3);
    EXPECT_EQ(seen, std::vector<int>{6}) << "a move at the bound must not mark the next one";
    turnWheel(&slider, 120);
    EXPECT_EQ(seen.size(), 2u);
}

TEST(UiControls, ScrollBarLeavesTheWheelAndRightPressToItsHandler) {
    ScrollBar bar(Qt::Vertical);
    bar.resize(16, 527);
    bar.setRange(0, 1049);
    std::vector<int> moves, wheels;
    int rightPresses = 0;
    QObject::connect(&bar, &ScrollBar::positionChanged, [&](int p) { moves.push_back(p); });
    QObject::connect(&bar, &ScrollBar::wheelTurned, [&](int d) { wheels.push_back(d); });
    QObject::connect(&bar, &ScrollBar::rightPressed, [&] { ++rightPresses; });

    turnWheel(&bar, -120);
    EXPECT_EQ(wheels, std::vector<int>{-120});
    EXPECT_EQ(bar.value(), 0) << "the wheel alone does not scroll";
    press(&bar, Qt::RightButton);
    EXPECT_EQ(rightPresses, 1);
    EXPECT_EQ(bar.value(), 0);
    bar.setValue(100);
    EXPECT_TRUE(moves.empty());
    pressKey(&bar, Qt::Key_PageDown);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves.front(), bar.value());
}

TEST(UiControls, EditBoxKeyCanBeTakenByItsHandler) {
    EditBox box;
    bool take = true;
    int focusLost = 0;
    QObject::connect(&box, &EditBox::keyPressed, [&](int, int, bool* consumed) {
        *consumed = take;
        if (take) box.setText(box.text() + "Ctrl+");
    });
    QObject::connect(&box, &EditBox::focusLost, [&] { ++focusLost; });
    QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q");
    QApplication::sendEvent(&box, &q);
    EXPECT_EQ(box.text(), "Ctrl+");
    take = false;
    QApplication::sendEvent(&box, &q);
    EXPECT_EQ(box.text(), "Ctrl+q");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&box, &out);
    EXPECT_EQ(focusLost, 1);
}

TEST(UiControls, PressesOnLabelsPicturesGroupsAndShapes) {
    ClickableLabel label;
    PictureBox picture;
    GroupBox group;
    ShapeFrame shape;
    LinkLabel link;
    int left = 0, right = 0;
    QObject::connect(&label, &ClickableLabel::leftPressed, [&] { ++left; });
    QObject::connect(&picture, &PictureBox::leftPressed, [&] { ++left; });
    QObject::connect(&picture, &PictureBox::rightPressed, [&](QPoint) { ++right; });
    QObject::connect(&group, &GroupBox::leftPressed, [&] { ++left; });
    QObject::connect(&shape, &ShapeFrame::leftPressed, [&] { ++left; });
    QObject::connect(&link, &LinkLabel::leftPressed, [&] { ++left; });
    for (QWidget* w : std::initializer_list<QWidget*>{&label, &picture, &group, &shape, &link})
        press(w, Qt::LeftButton);
    press(&picture, Qt::RightButton);
    press(&label, Qt::RightButton);
    EXPECT_EQ(left, 5);
    EXPECT_EQ(right, 1);
}

TEST(UiControls, DesignedFiltersBecomeQtFilters) {
    EXPECT_EQ(toQtFilter("字幕格式(*.sub;*.srt;*.pgs;*.smi;*.ass;*.ssa;*.lrc)|*.sub;*.srt;*.pgs;"
                         "*.smi;*.ass;*.ssa;*.lrc|所有文件*.*|*.*"),
              "字幕格式(*.sub;*.srt;*.pgs;*.smi;*.ass;*.ssa;*.lrc) (*.sub *.srt *.pgs *.smi "
              "*.ass *.ssa *.lrc);;所有文件*.* (*)");
    EXPECT_EQ(toQtFilter(""), "");
    EXPECT_EQ(toQtFilter("只有描述"), "") << "a description without patterns is dropped";
}

TEST(UiControls, DropTargetDeliversLocalFilesOnly) {
    QWidget window;
    DropTarget target;
    target.attachTo(&window);
    EXPECT_TRUE(window.acceptDrops());
    QStringList dropped;
    QObject::connect(&target, &DropTarget::filesDropped,
                     [&](const QStringList& files) { dropped = files; });
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile("/tmp/中文 目录/青岚 测试.mp4"), QUrl("http://example.com/a.mp4")});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(dropped, QStringList{"/tmp/中文 目录/青岚 测试.mp4"});
}

TEST(UiControls, ClockPeriodZeroStops) {
    QTimer clock;
    setClockPeriod(&clock, 200);
    EXPECT_TRUE(clock.isActive());
    EXPECT_EQ(clock.interval(), 200);
    setClockPeriod(&clock, 0);
    EXPECT_FALSE(clock.isActive());
}

TEST(UiControls, ColourPickerKeepsWindowsColourValues) {
    ColourPicker picker;
    picker.setColorRef(0x1E5AC8); // blue 0x1E, green 0x5A, red 0xC8
    EXPECT_EQ(picker.colorRef(), 0x1E5AC8u);
    picker.setColorRef(0xFF123456);
    EXPECT_EQ(picker.colorRef(), 0x123456u) << "only the three colour bytes count";
}
