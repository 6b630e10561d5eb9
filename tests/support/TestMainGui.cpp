#include <gtest/gtest.h>

#include <QApplication>

#include "TsanOptions.h"

// Widget tests run without a display unless one is asked for explicitly.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
