#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // As in the player: libmpv needs C number formatting.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
