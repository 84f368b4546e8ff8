// Puts the player's skin on a sample window that holds every kind of control the player's
// windows use, saves pictures of it (window, menu, tooltip) for a person to look at, and
// checks a few pixels. Run under a real X server (with-xvfb.sh). Argument: output folder.
#include "skin/SkinApi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include <cstdio>
#include <dlfcn.h>

namespace {

QWidget* buildSampleWindow() {
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("系统设置"));
    window->resize(573, 470);

    auto* group = new QGroupBox(QStringLiteral("字幕设置"), window);
    group->setGeometry(16, 12, 260, 200);
    auto* radio1 = new QRadioButton(QStringLiteral("自动加载同名字幕"), group);
    radio1->setGeometry(14, 26, 200, 22);
    radio1->setChecked(true);
    auto* radio2 = new QRadioButton(QStringLiteral("不加载字幕"), group);
    radio2->setGeometry(14, 50, 200, 22);
    auto* check1 = new QCheckBox(QStringLiteral("显示字幕"), group);
    check1->setGeometry(14, 78, 200, 22);
    check1->setChecked(true);
    auto* check2 = new QCheckBox(QStringLiteral("启用歌词显示"), group);
    check2->setGeometry(14, 102, 200, 22);
    auto* check3 = new QCheckBox(QStringLiteral("已停用的选项"), group);
    check3->setGeometry(14, 126, 200, 22);
    check3->setEnabled(false);
    auto* fontLabel = new QLabel(QStringLiteral("字体:"), group);
    fontLabel->setGeometry(14, 158, 40, 24);
    auto* combo = new QComboBox(group);
    combo->addItems({QStringLiteral("微软雅黑"), QStringLiteral("宋体"), QStringLiteral("黑体")});
    combo->setGeometry(56, 158, 180, 24);

    auto* label = new QLabel(QStringLiteral("字幕大小(像素):"), window);
    label->setGeometry(16, 226, 110, 24);
    auto* edit = new QLineEdit(QStringLiteral("24"), window);
    edit->setGeometry(130, 226, 60, 24);
    auto* editDisabled = new QLineEdit(QStringLiteral("不可编辑"), window);
    editDisabled->setGeometry(198, 226, 78, 24);
    editDisabled->setEnabled(false);
    auto* slider = new QSlider(Qt::Horizontal, window);
    slider->setGeometry(16, 262, 260, 24);
    slider->setRange(0, 100);
    slider->setValue(60);
    auto* progress = new QScrollBar(Qt::Horizontal, window);
    progress->setGeometry(16, 296, 260, 14);
    progress->setRange(0, 1000);
    progress->setValue(350);
    auto* link = new QLabel(QStringLiteral("<a href=\"#\">访问主页</a>"), window);
    link->setGeometry(16, 320, 120, 22);

    auto* ok = new QPushButton(QStringLiteral("确定"), window);
    ok->setGeometry(16, 352, 80, 28);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), window);
    cancel->setGeometry(104, 352, 80, 28);
    auto* disabled = new QPushButton(QStringLiteral("应用"), window);
    disabled->setGeometry(192, 352, 80, 28);
    disabled->setEnabled(false);

    auto* list = new QTreeWidget(window);
    list->setGeometry(292, 12, 265, 330);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("时长")});
    list->header()->resizeSection(0, 170);
    for (int i = 1; i <= 24; ++i)
        list->addTopLevelItem(
            new QTreeWidgetItem({QStringLiteral("青岚 测试视频 %1.mp4").arg(i),
                                 QStringLiteral("00:%1:10").arg(i, 2, 10, QChar('0'))}));
    list->setCurrentItem(list->topLevelItem(2));

    auto* vslider = new QSlider(Qt::Vertical, window);
    vslider->setGeometry(300, 352, 24, 100);
    vslider->setValue(40);
    auto* vbar = new QScrollBar(Qt::Vertical, window);
    vbar->setGeometry(336, 352, 14, 100);
    auto* caption = new QLabel(QStringLiteral("音量 40%  播放 00:03:21 / 00:10:00"), window);
    caption->setGeometry(360, 352, 200, 24);
    auto* spin = new QSpinBox(window);
    spin->setGeometry(360, 384, 80, 24);
    spin->setValue(42);
    auto* tiny = new QPushButton(QStringLiteral("播放"), window);
    tiny->setGeometry(452, 384, 48, 22);
    return window;
}

QMenu* buildMenu() {
    auto* menu = new QMenu;
    menu->addAction(QStringLiteral("打开文件"));
    menu->addAction(QStringLiteral("打开网络地址"));
    menu->addSeparator();
    auto* loop = menu->addAction(QStringLiteral("循环播放"));
    loop->setCheckable(true);
    loop->setChecked(true);
    auto* ratio = menu->addMenu(QStringLiteral("画面比例"));
    ratio->addAction(QStringLiteral("4:3"));
    auto* screenshot = menu->addAction(QStringLiteral("截图"));
    screenshot->setEnabled(false);
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出"));
    return menu;
}

bool near(QRgb a, QColor b) {
    return std::abs(qRed(a) - b.red()) <= 2 && std::abs(qGreen(a) - b.green()) <= 2 &&
           std::abs(qBlue(a) - b.blue()) <= 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    void* engine = dlopen(QINGLAN_SKIN_ENGINE_FILE, RTLD_NOW | RTLD_LOCAL);
    auto attach = engine
                      ? reinterpret_cast<SkinH_AttachResFunction>(dlsym(engine, "SkinH_AttachRes"))
                      : nullptr;
    QFile file(QStringLiteral(QINGLAN_SKIN_RESOURCE_FILE));
    if (!attach || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "engine or resource missing\n");
        return 1;
    }
    const QByteArray resource = file.readAll();
    if (attach(reinterpret_cast<const unsigned char*>(resource.constData()), resource.size(), "", 0,
               0, 0) != 1) {
        std::fprintf(stderr, "the engine refused the skin\n");
        return 1;
    }

    QWidget* window = buildSampleWindow();
    window->move(40, 40);
    window->show();
    QMenu* menu = buildMenu();
    int failures = 0;
    QTimer::singleShot(300, [&] {
        const QImage shot = window->grab().toImage();
        shot.save(out + QStringLiteral("/skin-sample-window.png"));
        // Background of the window, the default button's face.
        if (!near(shot.pixel(285, 460), QColor("#20242c")))
            ++failures, std::fprintf(stderr, "window background\n");
        if (!near(shot.pixel(56, 356), QColor("#2d3440")))
            ++failures, std::fprintf(stderr, "button face\n");
        QToolTip::showText(window->mapToGlobal(QPoint(200, 400)), QStringLiteral("最大化"), window);
    });
    QTimer::singleShot(800, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                w->grab().save(out + QStringLiteral("/skin-sample-tooltip.png"));
        QToolTip::hideText();
        menu->popup(QPoint(700, 60));
    });
    QTimer::singleShot(1300, [&] {
        const QImage menuShot = menu->grab().toImage();
        menuShot.save(out + QStringLiteral("/skin-sample-menu.png"));
        if (!near(menuShot.pixel(menuShot.width() - 4, menuShot.height() / 2), QColor("#242932")))
            ++failures, std::fprintf(stderr, "menu background\n");
        menu->close();
        app.quit();
    });
    app.exec();
    delete menu;
    delete window;
    return failures == 0 ? 0 : 1;
}
