#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    // ctest lists the tests by running the binary without the test's environment: without a
    // platform chosen, a machine without a display would abort there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // As in the player: libmpv needs C number formatting.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
