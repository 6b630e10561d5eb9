#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "ShowLog.h"
#include "ShowLogControls.h"

using namespace orvane;

// Nothing writes a log, so the window the settings window opens is empty.
TEST(ShowLog, OpensEmptyReadOnlyAndBesideTheSettingsWindow) {
    QWidget settings;
    auto* log = new ShowLog(&settings);
    log->Open();
    QApplication::processEvents();
    EXPECT_TRUE(log->isVisible());
    EXPECT_FALSE(log->isModal());  // the settings window stays usable beside it
    EXPECT_EQ(log->windowTitle(), "Log");
    EXPECT_EQ(log->findChild<QPlainTextEdit*>(QString::number(ShowLogId::kLogText)), log->Edit());
    EXPECT_TRUE(log->Edit()->isReadOnly());
    EXPECT_TRUE(log->Edit()->toPlainText().isEmpty());
}
