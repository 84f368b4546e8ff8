// The engine as the player sees it: the shared object's two exports, called on a running
// QApplication.
#include "skin/SkinApi.h"
#include "skin/SkinResource.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

class SkinEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = dlopen(QINGLAN_SKIN_ENGINE_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        attach = reinterpret_cast<SkinH_AttachResFunction>(dlsym(handle, "SkinH_AttachRes"));
        detach = reinterpret_cast<SkinH_DetachFunction>(dlsym(handle, "SkinH_Detach"));
        QFile file(QStringLiteral(QINGLAN_SKIN_RESOURCE_FILE));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        resource = file.readAll();
    }
    void SetUp() override {
        ASSERT_NE(attach, nullptr);
        ASSERT_NE(detach, nullptr);
        originalWindow = QApplication::palette().color(QPalette::Window);
        originalStyle = QApplication::style()->name();
        originalFont = QApplication::font();
    }
    void TearDown() override { detach(); }

    int attachWith(const QByteArray& bytes, const char* password = "", int hue = 0,
                   int saturation = 0, int brightness = 0) {
        return attach(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      std::int32_t(bytes.size()), password, hue, saturation, brightness);
    }
    void expectOriginalLook() {
        EXPECT_TRUE(qApp->styleSheet().isEmpty());
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), originalWindow);
        EXPECT_EQ(QApplication::style()->name(), originalStyle);
        EXPECT_EQ(QApplication::font(), originalFont);
    }

    static inline void* handle = nullptr;
    static inline SkinH_AttachResFunction attach = nullptr;
    static inline SkinH_DetachFunction detach = nullptr;
    static inline QByteArray resource;
    QColor originalWindow;
    QString originalStyle;
    QFont originalFont;
};

TEST_F(SkinEngine, AttachAppliesTheSkinAndDetachRestoresTheLookFromBefore) {
    ASSERT_EQ(attachWith(resource), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor("#20242c"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor("#2a9db5"));
    EXPECT_EQ(QApplication::font().family(), "WenQuanYi Micro Hei");
    EXPECT_TRUE(qApp->styleSheet().contains("QScrollBar"));
    EXPECT_EQ(detach(), 1);
    expectOriginalLook();
    EXPECT_EQ(detach(), 0) << "nothing left to detach";
}

TEST_F(SkinEngine, ASecondAttachReplacesTheSkinAndDetachStillRestoresTheOriginal) {
    ASSERT_EQ(attachWith(resource), 1);
    ASSERT_EQ(attachWith(resource, "", 120, 0, 0), 1);
    EXPECT_NE(QApplication::palette().color(QPalette::Highlight), QColor("#2a9db5"));
    EXPECT_FALSE(qApp->styleSheet().contains("#2a9db5"));
    EXPECT_EQ(detach(), 1);
    expectOriginalLook();
}

TEST_F(SkinEngine, ShiftsEveryColourOfTheSkin) {
    ASSERT_EQ(attachWith(resource, "", 0, 0, -100), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(Qt::black));
    EXPECT_TRUE(qApp->styleSheet().contains("#000000"));
}

TEST_F(SkinEngine, RefusesBadInputWithoutChangingTheLook) {
    EXPECT_EQ(attach(nullptr, 10, "", 0, 0, 0), 0);
    EXPECT_EQ(attachWith(QByteArray()), 0);
    EXPECT_EQ(attachWith(resource.left(5)), 0);
    EXPECT_EQ(attachWith(QByteArray("QLSKIN 1\n\n[palette]\nWindow = #zzzzzz\n")), 0);
    const QByteArray locked = qinglan::skin::protectSkinResource(resource, "secret", "salt");
    EXPECT_EQ(attachWith(locked, ""), 0);
    EXPECT_EQ(attachWith(locked, "wrong"), 0);
    expectOriginalLook();
    EXPECT_EQ(attachWith(locked, "secret"), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor("#20242c"));
}

TEST_F(SkinEngine, OnlyTheTwoEntryPointsAreExported) {
    EXPECT_EQ(
        dlsym(handle, "_ZN7qinglan4skin17parseSkinResourceERK10QByteArrayS3_PNS0_13ResourceErrorE"),
        nullptr);
}

} // namespace

// A QApplication for the engine to skin; offscreen unless the caller chose a platform (the
// test list is also read this way, where no display may exist).
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
