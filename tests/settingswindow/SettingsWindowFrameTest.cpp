// The settings window's frame and the rules some rows carry beyond storing and sending.
#include "SettingsWindowHarness.h"

#include <ui/Controls.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

namespace qinglan::settingswindow::test {
namespace {

using Frame = SettingsWindowTest;

void moveSlider(QSlider* s, int p) {
    s->setValue(p);
    emit static_cast<ui::Trackbar*>(s)->positionChanged(p);
}

void choose(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

int embeddedCount(QWidget* w) {
    return static_cast<int>(
        w->findChildren<ui::CatalogueWindow*>(Qt::FindDirectChildrenOnly).size());
}

TEST_F(Frame, BrightnessShowsInTheTitleUntilThePageIsClicked) {
    auto* page = showPage("PicturePage");
    moveSlider(control<QSlider>(page, "滑块条1"), 73);
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置 - 亮度：73%"));
    EXPECT_EQ(lastSent(214), "73");
    EXPECT_EQ(field(55), "73");
    emit control<ui::ShapeFrame>(page, "外形框1")->leftPressed();
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置"));
    auto* bar = control<QScrollBar>(page, "纵向滚动条1");
    EXPECT_TRUE(bar->isEnabled());
}

TEST_F(Frame, RendererChoiceSendsItsNumberStoresItsNameAndShowsItsHint) {
    auto* page = showPage("PicturePage");
    auto* hint = control<QLabel>(page, "标签6");
    EXPECT_EQ(hint->text(),
              QString::fromUtf8("Vista及以上系统使用，支持DXVA2加速。")); // EVR stored
    choose(control<QComboBox>(page, "组合框1"), 1);
    EXPECT_EQ(lastSent(201), "2");
    EXPECT_EQ(field(59), "未渲染(Renderless)");
    EXPECT_EQ(hint->text(),
              QString::fromUtf8("支持第三方屏幕截图、支持高清字幕，但Win7系统不建议使用。"));
}

TEST_F(Frame, ListTextsThatAreNoEntryOrNoNumberVanish) {
    auto* sound = showPage("SoundPage");
    auto* track = control<QComboBox>(sound, "组合框1");
    track->setEditText("ab");
    EXPECT_EQ(track->currentText(), "");
    track->setEditText("12");
    EXPECT_EQ(track->currentText(), "12");
    EXPECT_EQ(field(105), "0") << "typing stores nothing";
    EXPECT_EQ(sendCount(403), 0);

    auto* lyrics = showPage("SettingsWindow");
    auto* font = control<QComboBox>(lyrics, "组合框1");
    font->setEditText("Arial");
    EXPECT_EQ(font->currentText(), "");
    font->setEditText(QString::fromUtf8("@黑体"));
    EXPECT_EQ(font->currentText(), QString::fromUtf8("@黑体"));
}

TEST_F(Frame, DxvaBoxesActAsOneChoiceAndUntickingLeavesBothOff) {
    auto* page = showPage("PicturePage");
    auto* dxva = control<QCheckBox>(page, "选择框1");
    auto* dxva2 = control<QCheckBox>(page, "选择框2");
    EXPECT_TRUE(dxva->isChecked());
    dxva2->click();
    EXPECT_FALSE(dxva->isChecked());
    EXPECT_EQ(lastSent(210), "1");
    EXPECT_EQ(field(66), "0");
    EXPECT_EQ(field(67), "1");
    sent_.clear();
    dxva2->click();
    EXPECT_EQ(lastSent(210), "1");
    EXPECT_EQ(field(66), "0");
    EXPECT_EQ(field(67), "0");
}

TEST_F(Frame, APageShownAgainStartsFromTheFileAtTheTop) {
    auto* picture = showPage("PicturePage");
    auto* bar = control<QScrollBar>(picture, "纵向滚动条1");
    EXPECT_EQ(bar->maximum(), 1792 - 527);
    bar->setValue(300);
    emit static_cast<ui::ScrollBar*>(bar)->positionChanged(300);
    EXPECT_EQ(control<QWidget>(picture, "外形框1")->y(), -300);

    showPage("SoundPage");
    EXPECT_EQ(embeddedCount(window_), 1);
    setField(55, "12");
    picture = showPage("PicturePage");
    EXPECT_EQ(embeddedCount(window_), 1);
    EXPECT_EQ(control<QSlider>(picture, "滑块条1")->value(), 12);
    EXPECT_EQ(control<QScrollBar>(picture, "纵向滚动条1")->value(), 0);
    EXPECT_EQ(control<QWidget>(picture, "外形框1")->y(), 0);
    EXPECT_EQ(picture->pos(), QPoint(152, 0));
}

TEST_F(Frame, TabsMarkTheShownPageAndTheLyricsPageComesBack) {
    openWindow();
    auto styleOf = [this](const char* label) {
        return control<QWidget>(window_, label)->styleSheet();
    };
    EXPECT_TRUE(styleOf("标签1").contains("c0c0c0"));
    EXPECT_TRUE(styleOf("标签6").isEmpty());
    showPage("VrPage");
    EXPECT_TRUE(styleOf("标签32").contains("c0c0c0"));
    EXPECT_TRUE(styleOf("标签1").isEmpty());
    EXPECT_FALSE(control<QWidget>(window_, "外形框1")->isVisible());
    showPage("SettingsWindow");
    EXPECT_EQ(embeddedCount(window_), 0);
    EXPECT_TRUE(control<QWidget>(window_, "外形框1")->isVisible());
    EXPECT_TRUE(styleOf("标签1").contains("c0c0c0"));
}

TEST_F(Frame, StoredSubtitleChoiceOpensOnTheSubtitlePage) {
    setField(167, "1");
    openWindow();
    auto* page = embeddedPage(window_);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->role(), "SubtitlePage");
    EXPECT_TRUE(control<QWidget>(window_, "标签5")->styleSheet().contains("c0c0c0"));
}

TEST_F(Frame, WheelStepsTenAndStopsAtTheEnd) {
    auto* page = showPage("SoundPage");
    auto* bar = control<ui::ScrollBar>(page, "纵向滚动条1");
    auto* shape = control<QWidget>(page, "外形框1");
    emit bar->wheelTurned(-120);
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(shape->y(), -10);
    emit bar->wheelTurned(120);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum() - 5);
    shape->move(0, -(bar->maximum() - 5));
    emit bar->wheelTurned(-120);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(shape->y(), -(bar->maximum() - 5)) << "at the end the container stays";

    emit bar->rightPressed();
    EXPECT_FALSE(bar->isEnabled());
    emit control<ui::GroupBox>(page, "分组框1")->leftPressed();
    EXPECT_TRUE(bar->isEnabled());
}

TEST_F(Frame, TheTranscodePageKeepsTheTitleWhenClicked) {
    auto* page = showPage("TranscodePage");
    window_->setWindowTitle("keep");
    emit control<ui::ShapeFrame>(page, "外形框1")->leftPressed();
    EXPECT_EQ(window_->windowTitle(), "keep");
}

TEST_F(Frame, LyricsBackgroundChoiceSwitchesPickerPathAndButton) {
    auto* w = showPage("SettingsWindow");
    auto* picker = control<QWidget>(w, "颜色选择器4");
    auto* path = control<QLineEdit>(w, "编辑框1");
    auto* open = control<QPushButton>(w, "按钮1");
    // Stored: colour background.
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_FALSE(open->isEnabled());
    control<QCheckBox>(w, "选择框2")->click();
    EXPECT_FALSE(picker->isEnabled());
    EXPECT_FALSE(path->isReadOnly());
    EXPECT_TRUE(open->isEnabled());
    EXPECT_EQ(field(21), "0");
    EXPECT_EQ(field(22), "1");
    control<QCheckBox>(w, "选择框1")->click();
    EXPECT_TRUE(picker->isEnabled());
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_FALSE(open->isEnabled());
}

// The dialog's answer is stored only when the user confirms: cancelling keeps the picture.
TEST_F(Frame, ACancelledPictureChoiceKeepsTheStoredPicture) {
    setField(24, "/pictures/old.jpg");
    auto* w = showPage("SettingsWindow");
    control<QCheckBox>(w, "选择框2")->click();
    auto* open = control<QPushButton>(w, "按钮1");
    fileAnswer_.clear();
    open->click();
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_EQ(field(24), "/pictures/old.jpg");
    fileAnswer_ = "/pictures/new.png";
    open->click();
    EXPECT_EQ(field(24), "/pictures/new.png");
    EXPECT_EQ(control<QLineEdit>(w, "编辑框1")->text(), "/pictures/new.png");

    auto* shots = showPage("ScreenshotPage");
    folderAnswer_ = "/home/me/shots";
    control<QPushButton>(shots, "按钮1")->click();
    EXPECT_EQ(field(164), "/home/me/shots");
    EXPECT_EQ(control<QLineEdit>(shots, "编辑框3")->text(), "/home/me/shots");
}

TEST_F(Frame, Ac3RadiosSendNothingAndSwitchTheRowsBelow) {
    auto* page = showPage("SoundPage");
    auto* mono = control<QCheckBox>(page, "选择框1");
    auto* volume = control<QSlider>(page, "滑块条3");
    EXPECT_FALSE(mono->isEnabled()) << "AC3-DTS is off by default";
    control<QRadioButton>(page, "单选框9")->click();
    EXPECT_TRUE(sent_.empty());
    EXPECT_TRUE(mono->isEnabled());
    EXPECT_TRUE(volume->isEnabled());
    EXPECT_EQ(field(109), "1");
    control<QRadioButton>(page, "单选框10")->click();
    EXPECT_FALSE(volume->isEnabled());
}

TEST_F(Frame, SourceSizeLocksTheSizeBoxesAndSendsZero) {
    setField(158, "800");
    setField(159, "600");
    auto* page = showPage("ScreenshotPage");
    auto* width = control<QLineEdit>(page, "编辑框1");
    EXPECT_TRUE(width->isReadOnly());
    control<QCheckBox>(page, "选择框2")->click(); // custom
    EXPECT_FALSE(width->isReadOnly());
    EXPECT_EQ(width->text(), "800");
    EXPECT_EQ(sendCount(703), 0) << "filling the boxes is no edit";
    width->setText("1024");
    EXPECT_EQ(lastSent(703), "1024");
    EXPECT_EQ(field(158), "1024");
    control<QCheckBox>(page, "选择框1")->click(); // source size
    EXPECT_TRUE(width->isReadOnly());
    EXPECT_EQ(lastSent(703), "0");
    EXPECT_EQ(lastSent(704), "0");
    EXPECT_EQ(field(156), "1");
    EXPECT_EQ(field(157), "0");
}

TEST_F(Frame, RestoringDefaultsWritesTheFileButLeavesTheControls) {
    auto* page = showPage("SoundPage");
    control<QRadioButton>(page, "单选框2")->click(); // left channel
    EXPECT_EQ(field(99), "1");
    window_->setWindowTitle("x");
    emit control<ui::LinkLabel>(page, "超级链接框1")->leftPressed();
    EXPECT_EQ(field(98), "1");
    EXPECT_EQ(field(99), "0");
    EXPECT_EQ(field(115), "20");
    EXPECT_TRUE(control<QRadioButton>(page, "单选框2")->isChecked());
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置"));
}

TEST_F(Frame, TransparencySetsTheListAtOnceAndStoresAnInteger) {
    auto* page = showPage("GeneralPage");
    moveSlider(control<QSlider>(page, "滑块条1"), 200);
    EXPECT_EQ(listOpacity_, 200);
    auto v = store_.read(196);
    ASSERT_TRUE(v.ok());
    EXPECT_TRUE(v.value().isInteger());
    EXPECT_EQ(v.value().toInt(), 200);
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置 - 透明度：200%"));
}

// Stored colours are COLORREF (0x00BBGGRR); Qt's colours are the other way round.
TEST_F(Frame, ColoursCrossBetweenTheFileAndTheDialogInTheRightByteOrder) {
    setField(11, "255"); // red
    auto* w = showPage("SettingsWindow");
    auto* picker = control<ui::ColourPicker>(w, "颜色选择器1");
    EXPECT_TRUE(picker->styleSheet().contains("#ff0000"));
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            d->setCurrentColor(QColor(0, 0, 255));
            d->accept();
        }
    });
    picker->click();
    EXPECT_EQ(field(11), "16711680");
}

TEST_F(Frame, HotkeyBoxesShowTheStoredKeysAndCaptureANewOne) {
    auto* page = showPage("HotkeyPage");
    EXPECT_EQ(control<QLineEdit>(page, "编辑框1")->text(), QString::fromUtf8("空格"));
    EXPECT_EQ(control<QLineEdit>(page, "编辑框2")->text(), QString::fromUtf8("→"));
    EXPECT_EQ(control<QLineEdit>(page, "编辑框3")->text(), QString::fromUtf8("←"));
    EXPECT_EQ(control<QLineEdit>(page, "编辑框4")->text(), "Ctrl+Alt+Q");
    EXPECT_EQ(control<QLineEdit>(page, "编辑框5")->text(), QString::fromUtf8("↑"));
    EXPECT_EQ(control<QLineEdit>(page, "编辑框9")->text(), "Esc");

    auto* shot = control<ui::EditBox>(page, "编辑框4");
    bool consumed = false;
    for (int key : {int(Qt::Key_Shift), int(Qt::Key_W)}) {
        emit shot->keyPressed(key, 0, &consumed);
        EXPECT_TRUE(consumed);
    }
    EXPECT_EQ(shot->text(), "Shift+W");
    EXPECT_EQ(field(192), "Shift+W");
    EXPECT_EQ(field(193), "2");
    EXPECT_EQ(field(194), "0");
    EXPECT_EQ(field(195), "87");
    EXPECT_TRUE(control<QLineEdit>(page, "编辑框1")->isReadOnly());
}

TEST_F(Frame, VrCapsSendAllThreeValuesAndDrawModesTheirNumbers) {
    setField(130, "20");
    setField(128, "255");
    auto* page = showPage("VrPage");
    moveSlider(control<QSlider>(page, "滑块条2"), 30);
    EXPECT_EQ(lastSent(2408), "30;20;255");
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("系统设置 - 顶部：30%"));
    choose(control<QComboBox>(page, "组合框1"), 3);
    EXPECT_EQ(lastSent(2402), "4");
    EXPECT_EQ(field(118), "圆形半景内下外上");
    control<QLineEdit>(page, "编辑框2")->setText("2.5");
    EXPECT_EQ(lastSent(2403), "1.28;2.5;350.6");
}

} // namespace
} // namespace qinglan::settingswindow::test
