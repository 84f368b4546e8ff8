// What the user's hands do on the pages beyond clicking an option: the wheel, leaving a page in
// the middle of a key capture, clicking a box that is already ticked, choosing an index, and
// reading a hint.
#include "SettingsWindowHarness.h"

#include <ui/Controls.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace qinglan::settingswindow::test {
namespace {

using Input = SettingsWindowTest;

// A wheel notice as the window system delivers it: to the widget under the pointer, passed on
// to its parents while nobody takes it. One notch away from the user is +120.
void turnWheel(QWidget* under, int angle) {
    const QPointF at = QRectF(under->rect()).center();
    QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // sendEvent() would mark it as the program's own, which Qt never passes on to parents.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(under, &wheel);
}

struct PageScroll {
    QScrollBar* bar;
    QWidget* shape;
};
PageScroll scrollOf(ui::CatalogueWindow* page) {
    return {ui::find<QScrollBar>(page, u"纵向滚动条1"), ui::find<QWidget>(page, u"外形框1")};
}

void choose(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

TEST_F(Input, TheWheelAnywhereOverAPageScrollsItAndChangesNoOption) {
    auto* page = showPage("PicturePage");
    auto [bar, shape] = scrollOf(page);
    auto* renderer = control<QComboBox>(page, "组合框1");
    auto* brightness = control<QSlider>(page, "滑块条1");
    const QString rendererText = renderer->currentText();
    const std::string stored59 = field(59), stored55 = field(55);

    turnWheel(renderer, -120);
    EXPECT_EQ(renderer->currentText().toStdString(), rendererText.toStdString());
    EXPECT_EQ(bar->value(), 10) << "over a list";
    EXPECT_EQ(shape->y(), -10);
    turnWheel(brightness, -120);
    EXPECT_EQ(brightness->value(), std::stoi(stored55));
    EXPECT_EQ(bar->value(), 20) << "over a slider";
    turnWheel(control<QLabel>(page, "标签5"), -120);
    EXPECT_EQ(bar->value(), 30) << "over a caption";
    turnWheel(control<QGroupBox>(page, "分组框1"), 120);
    EXPECT_EQ(bar->value(), 20) << "towards the user scrolls back";
    EXPECT_EQ(shape->y(), -20);
    EXPECT_EQ(field(59), stored59);
    EXPECT_EQ(field(55), stored55);
    EXPECT_TRUE(sent_.empty());
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置"));

    // The bar itself, whoever has the focus, and a slider the page has switched off.
    auto* sound = showPage("SoundPage");
    auto [soundBar, soundShape] = scrollOf(sound);
    control<QComboBox>(sound, "组合框1")->setFocus();
    turnWheel(soundBar, -120);
    EXPECT_EQ(soundBar->value(), 10);
    auto* ac3Volume = control<QSlider>(sound, "滑块条3");
    ASSERT_FALSE(ac3Volume->isEnabled());
    turnWheel(ac3Volume, -120);
    EXPECT_EQ(soundBar->value(), 20);
    EXPECT_EQ(soundShape->y(), -20);

    // The lyrics page belongs to the window itself.
    auto* lyrics = showPage("SettingsWindow");
    auto [lyricsBar, lyricsShape] = scrollOf(lyrics);
    const std::string width = field(10);
    turnWheel(control<QComboBox>(lyrics, "组合框2"), -120);
    EXPECT_EQ(field(10), width);
    EXPECT_EQ(lyricsBar->value(), 10);
    EXPECT_EQ(lyricsShape->y(), -10);
    EXPECT_TRUE(sent_.empty());
}

TEST_F(Input, AWheelOverAPageWhoseBarWasSwitchedOffWaitsForARefocus) {
    auto* page = showPage("SoundPage");
    auto [bar, shape] = scrollOf(page);
    emit static_cast<ui::ScrollBar*>(bar)->rightPressed();
    turnWheel(control<QLabel>(page, "标签1"), -120);
    EXPECT_EQ(bar->value(), 0);
    emit control<ui::GroupBox>(page, "分组框1")->leftPressed();
    turnWheel(control<QLabel>(page, "标签1"), -120);
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(shape->y(), -10);
}

TEST_F(Input, ALoneModifierIsClearedWhenItsPageGoes) {
    auto* page = showPage("HotkeyPage");
    auto* shot = control<ui::EditBox>(page, "编辑框4");
    bool consumed = false;
    emit shot->keyPressed(Qt::Key_Control, 0, &consumed);
    ASSERT_EQ(field(192), "Ctrl+");
    ASSERT_EQ(field(193), "1");
    showPage("SoundPage");
    EXPECT_EQ(field(192), "");
    EXPECT_EQ(field(193), "0");
    EXPECT_EQ(field(194), "0");
    EXPECT_EQ(field(195), "0");

    // A finished combination stays; a lone modifier goes when the whole window closes too.
    page = showPage("HotkeyPage");
    auto* up = control<ui::EditBox>(page, "编辑框5");
    auto* down = control<ui::EditBox>(page, "编辑框6");
    for (int key : {int(Qt::Key_Shift), int(Qt::Key_Up)})
        emit up->keyPressed(key, 0, &consumed);
    emit down->keyPressed(Qt::Key_Alt, 0, &consumed);
    ASSERT_EQ(field(188), "Alt+");
    window_->close();
    EXPECT_EQ(field(187), "Shift+↑");
    EXPECT_EQ(field(60), "2");
    EXPECT_EQ(field(62), "38");
    EXPECT_EQ(field(188), "");
    EXPECT_EQ(field(63), "0");
}

TEST_F(Input, TheThreeDShowHidePairKeepsOneBoxTicked) {
    auto* page = showPage("PicturePage");
    auto* show = control<QCheckBox>(page, "选择框5");
    auto* hide = control<QCheckBox>(page, "选择框6");
    ASSERT_TRUE(show->isChecked());
    show->click();
    EXPECT_TRUE(show->isChecked());
    EXPECT_FALSE(hide->isChecked());
    EXPECT_EQ(field(75), "1");
    EXPECT_EQ(field(76), "0");
    EXPECT_EQ(lastSent(310), "1");
    hide->click();
    hide->click();
    EXPECT_TRUE(hide->isChecked());
    EXPECT_FALSE(show->isChecked());
    EXPECT_EQ(field(75), "0");
    EXPECT_EQ(field(76), "1");
    EXPECT_EQ(lastSent(310), "0");
    page = showPage("SoundPage");
    page = showPage("PicturePage");
    EXPECT_TRUE(control<QCheckBox>(page, "选择框6")->isChecked());

    // The colour modes beside it still leave none chosen when the ticked one is clicked.
    auto* virtualMode = control<QCheckBox>(page, "选择框7");
    ASSERT_TRUE(virtualMode->isChecked());
    virtualMode->click();
    EXPECT_FALSE(virtualMode->isChecked());
    EXPECT_EQ(field(78), "0");
    EXPECT_EQ(field(79), "0");
    EXPECT_EQ(field(80), "0");
}

TEST_F(Input, IndexListsOfferZeroToFifteenAndAChoiceIsStoredAndSentAsItsPageSends) {
    auto indexes = [](QComboBox* c) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i)
            items << c->itemText(i);
        return items.join(u',');
    };
    const QString zeroToFifteen = QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");

    auto* sound = showPage("SoundPage");
    auto* track = control<QComboBox>(sound, "组合框1");
    EXPECT_EQ(indexes(track), zeroToFifteen);
    choose(track, 3);
    EXPECT_EQ(field(105), "3");
    EXPECT_EQ(lastSent(403), "3");
    EXPECT_EQ(sendCount(403), 1);

    auto* transcode = showPage("TranscodePage");
    auto* audio = control<QComboBox>(transcode, "组合框2");
    auto* subtitle = control<QComboBox>(transcode, "组合框3");
    EXPECT_EQ(indexes(audio), zeroToFifteen);
    EXPECT_EQ(indexes(subtitle), zeroToFifteen);
    choose(audio, 5);
    choose(subtitle, 15);
    EXPECT_EQ(field(148), "5");
    EXPECT_EQ(field(149), "15");
    EXPECT_EQ(lastSent(905), "5");
    EXPECT_EQ(lastSent(906), "15");

    sent_.clear();
    auto* subtitles = showPage("SubtitlePage");
    auto* language = control<QComboBox>(subtitles, "组合框5");
    EXPECT_EQ(indexes(language), zeroToFifteen);
    choose(language, 2);
    EXPECT_EQ(field(47), "2");
    EXPECT_TRUE(sent_.empty()) << "the subtitle page only stores";

    // Shown again from the file.
    sound = showPage("SoundPage");
    EXPECT_EQ(control<QComboBox>(sound, "组合框1")->currentText(), "3");
}

// The label shows the whole hint in its own font: nothing falls off its right or bottom edge,
// and the label lies inside its group.
TEST_F(Input, TheRendererHintIsShownWhole) {
    auto* page = showPage("PicturePage");
    auto* renderer = control<QComboBox>(page, "组合框1");
    auto* hint = control<QLabel>(page, "标签6");
    auto* group = control<QWidget>(page, "分组框4");
    ASSERT_EQ(renderer->count(), 4);
    EXPECT_TRUE(group->rect().contains(hint->geometry()));
    for (int i = 0; i < renderer->count(); ++i) {
        choose(renderer, i);
        const QRect room = hint->contentsRect();
        const int flags = Qt::AlignLeft | Qt::AlignTop | (hint->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed =
            QFontMetrics(hint->font())
                .boundingRect(QRect(0, 0, room.width(), 100000), flags, hint->text());
        EXPECT_LE(needed.width(), room.width()) << hint->text().toStdString();
        EXPECT_LE(needed.height(), room.height()) << hint->text().toStdString();
    }
}

} // namespace
} // namespace qinglan::settingswindow::test
