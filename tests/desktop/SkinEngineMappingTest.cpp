// The skin engine the player carries: mapped from memory through InMemoryLibrary (an ELF
// object through an anonymous memory file), attached to and detached from the running
// QApplication through its two exports.
#include "desktop/EmbeddedSkin.h"
#include "desktop/InMemoryLibrary.h"
#include "desktop/SkinEngine.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace qinglan::desktop;

namespace {

std::string processMaps() {
    std::ifstream in("/proc/self/maps");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SkinEngineMapping, CarriesTheEngineAndTheResourceAsBytes) {
    const auto engine = embeddedSkinEngineImage();
    ASSERT_GT(engine.size(), 4096u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(engine.data()), 4), "\x7f"
                                                                            "ELF");
    const auto resource = embeddedSkinResource();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource.data()), 9), "QLSKIN 1\n");
}

TEST(SkinEngineMapping, MapsTheEngineFromMemoryAndFindsItsExports) {
    InMemoryLibrary library;
    ASSERT_TRUE(mapSkinEngine(library));
    EXPECT_NE(library.GetBase(), 0u);
    EXPECT_NE(library.GetExport("SkinH_AttachRes"), 0u);
    EXPECT_NE(library.GetExport("SkinH_Detach"), 0u);
    EXPECT_EQ(library.GetExport("skinh_detach"), 0u);
    EXPECT_EQ(library.GetExport("parseSkinResource"), 0u) << "only the two entry points leave it";
    // Mapped from an anonymous memory file, not from a file on disk.
    const std::string maps = processMaps();
    EXPECT_NE(maps.find("/memfd:in-memory-library"), std::string::npos);
    EXPECT_EQ(maps.find("libqinglan-skin-engine"), std::string::npos);
}

TEST(SkinEngineMapping, AttachSkinsTheApplicationAndDetachRestoresTheDefaultLook) {
    const QPalette before = QApplication::palette();
    const QFont fontBefore = QApplication::font();
    InMemoryLibrary library;
    ASSERT_TRUE(mapSkinEngine(library));

    ASSERT_TRUE(attachSkin(library));
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x20, 0x24, 0x2c));
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("WenQuanYi Micro Hei"));

    detachSkin(library);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), before.color(QPalette::Window));
    EXPECT_EQ(QApplication::font(), fontBefore);
}

TEST(SkinEngineMapping, WithoutAnEngineTheCallsAreSkipped) {
    InMemoryLibrary nothing;
    EXPECT_FALSE(attachSkin(nothing));
    detachSkin(nothing);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

TEST(SkinEngineMapping, RefusesAnElfObjectTheSystemCannotLoad) {
    const auto engine = embeddedSkinEngineImage();
    std::vector<std::uint8_t> truncated(engine.begin(), engine.begin() + 200);
    InMemoryLibrary library;
    EXPECT_FALSE(library.Load(truncated));
    EXPECT_EQ(library.lastFailure(), LoadFailure::NativeRefused);
    EXPECT_EQ(library.GetBase(), 0u);
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
