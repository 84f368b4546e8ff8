#include "skin/SkinResource.h"
#include "skin/ColorShift.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace qinglan::skin;

namespace {

const QByteArray kPlain = "QLSKIN 1\nName: test\n\n"
                          "[style]\nname = Fusion\n"
                          "[font]\nfamily = WenQuanYi Micro Hei\npixelSize = 13\n"
                          "; a comment\n"
                          "[palette]\nWindow = #102030\nDisabled.Text = #808080\n"
                          "[stylesheet]\nQPushButton { color: #ff0000; }\n[not a section]\n";

TEST(SkinResource, ReadsEverySection) {
    ResourceError error = ResourceError::Malformed;
    const auto skin = parseSkinResource(kPlain, "", &error);
    ASSERT_TRUE(skin);
    EXPECT_EQ(error, ResourceError::None);
    EXPECT_EQ(skin->styleName, "Fusion");
    EXPECT_EQ(skin->fontFamily, "WenQuanYi Micro Hei");
    EXPECT_EQ(skin->fontPixelSize, 13);
    ASSERT_EQ(skin->palette.size(), 2);
    EXPECT_EQ(skin->palette[0].role, QPalette::Window);
    EXPECT_FALSE(skin->palette[0].group.has_value());
    EXPECT_EQ(skin->palette[0].color, QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(skin->palette[1].group, QPalette::Disabled);
    // The style sheet runs to the end, brackets and all.
    EXPECT_EQ(skin->styleSheet, "QPushButton { color: #ff0000; }\n[not a section]\n");
}

TEST(SkinResource, RefusesMalformedResources) {
    const QList<QByteArray> broken{
        "",
        "QLSKIN 2\n\n[stylesheet]\n",
        "QLSKIN 1\n[stylesheet]\n", // no empty line after the head
        "QLSKIN 1\nno colon here\n\n",
        "QLSKIN 1\nProtection: rot13\n\n",
        "QLSKIN 1\n\n[palette]\nNoSuchRole = #000000\n",
        "QLSKIN 1\n\n[palette]\nWindow = not-a-colour\n",
        "QLSKIN 1\n\n[palette]\nSometimes.Window = #000000\n",
        "QLSKIN 1\n\n[font]\npixelSize = -4\n",
        "QLSKIN 1\n\n[palette]\nthere is no equals sign\n",
        "QLSKIN 1\nProtection: sha256-xor\n\nbody", // no salt, no check
    };
    for (const QByteArray& resource : broken) {
        ResourceError error = ResourceError::None;
        EXPECT_FALSE(parseSkinResource(resource, "", &error)) << resource.constData();
        EXPECT_EQ(error, ResourceError::Malformed) << resource.constData();
    }
}

TEST(SkinResource, AProtectedResourceOpensOnlyWithItsPassword) {
    const QByteArray locked = protectSkinResource(kPlain, "青岚", "salt-1234");
    ASSERT_FALSE(locked.isEmpty());
    EXPECT_FALSE(locked.contains("QPushButton")) << "the body is not readable as it is";

    ResourceError error = ResourceError::None;
    EXPECT_FALSE(parseSkinResource(locked, "", &error));
    EXPECT_EQ(error, ResourceError::WrongPassword);
    EXPECT_FALSE(parseSkinResource(locked, "青", &error));
    EXPECT_EQ(error, ResourceError::WrongPassword);

    const auto skin = parseSkinResource(locked, "青岚", &error);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->palette[0].color, QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(skin->styleSheet, "QPushButton { color: #ff0000; }\n[not a section]\n");
}

TEST(SkinResource, ThePlayersOwnSkinIsWellFormed) {
    QFile file(QStringLiteral(QINGLAN_SKIN_RESOURCE_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto skin = parseSkinResource(file.readAll(), "");
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->fontFamily, "WenQuanYi Micro Hei");
    EXPECT_GE(skin->palette.size(), 20);
    for (const char* selector : {"QPushButton", "QLineEdit", "QComboBox", "QSlider", "QGroupBox",
                                 "QListView", "QMenu", "QScrollBar", "QToolTip", "QCheckBox"})
        EXPECT_TRUE(skin->styleSheet.contains(QLatin1String(selector))) << selector;
}

TEST(SkinColorShift, NoShiftKeepsColoursAndTextUntouched) {
    const QColor c(0x2a, 0x9d, 0xb5);
    EXPECT_EQ(shifted(c, {}), c);
    const QString sheet = "a { color: #2a9db5; }";
    EXPECT_EQ(shiftedStyleSheet(sheet, {}), sheet);
}

TEST(SkinColorShift, TurnsHueAndMovesSaturationAndBrightness) {
    EXPECT_EQ(shifted(QColor(255, 0, 0), {120, 0, 0}), QColor(0, 255, 0));
    EXPECT_EQ(shifted(QColor(255, 0, 0), {-120, 0, 0}), QColor(0, 0, 255));
    EXPECT_EQ(shifted(QColor(255, 0, 0), {540, 0, 0}), QColor(0, 255, 255)) << "clamped to 180";
    EXPECT_EQ(shifted(QColor(128, 128, 128), {0, 0, 100}), QColor(255, 255, 255));
    EXPECT_EQ(shifted(QColor(128, 128, 128), {0, 0, -100}), QColor(0, 0, 0));
    EXPECT_EQ(shifted(QColor(200, 100, 100), {0, -100, 0}).saturation(), 0);
    EXPECT_EQ(shifted(QColor(128, 128, 128), {90, 0, 0}), QColor(128, 128, 128))
        << "grey has no hue to turn";
}

TEST(SkinColorShift, ShiftsEveryColourOfAStyleSheetAndNothingElse) {
    const QString sheet = "#name { color: #f00; background: #ff0000; border: 1px solid #80ff0000; }"
                          " #abc-def {} a { color: #12345g; }";
    const QString turned = shiftedStyleSheet(sheet, {120, 0, 0});
    EXPECT_EQ(turned, "#name { color: #00ff00; background: #00ff00; border: 1px solid #8000ff00; }"
                      " #abc-def {} a { color: #12345g; }");
}

} // namespace
