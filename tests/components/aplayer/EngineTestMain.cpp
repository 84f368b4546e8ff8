// main() of the engine tests: a QApplication (the engine's events arrive on its loop) that
// also starts when ctest lists the tests without any display.
#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // libmpv needs C number formatting; QApplication may have set the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
