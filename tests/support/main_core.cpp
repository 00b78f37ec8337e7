#include "support/test_state_folder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

// Tests of the display-free parts: Qt Core at most, never a window system.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const TestStateFolder state;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
