#include <gtest/gtest.h>

#include <QCoreApplication>

#include "TsanOptions.h"

// Tests of logic code get a core application so that queued calls and
// timers work; no widget is ever created here.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
