#include <gtest/gtest.h>

#include <QCoreApplication>

// Tests of the display-free parts: Qt Core at most, never a window system.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
