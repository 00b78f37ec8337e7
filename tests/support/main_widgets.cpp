#include "support/test_state_folder.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Widget tests run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TestStateFolder state;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
