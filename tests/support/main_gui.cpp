#include "support/test_state_folder.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

// Drawing tests need fonts and images, not widgets; they run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const TestStateFolder state;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
