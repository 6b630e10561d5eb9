#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "ShowLog.h"
#include "ShowLogControls.h"

using namespace orvane;

TEST(ShowLog, OpensEmptyReadOnlyAndShowsItsLogTextWhenItHasOne) {
    ShowLog log;
    log.Open();
    QApplication::processEvents();
    EXPECT_TRUE(log.isVisible());
    EXPECT_FALSE(log.isModal());  // the settings window stays usable beside it
    EXPECT_EQ(log.windowTitle(), "Log");
    EXPECT_EQ(log.findChild<QPlainTextEdit*>(QString::number(ShowLogId::kLogText)), log.Edit());
    EXPECT_TRUE(log.Edit()->isReadOnly());
    EXPECT_TRUE(log.Edit()->toPlainText().isEmpty());
    log.close();

    log.SetLogText(QStringLiteral("line one\nline two"));
    log.Open();
    QApplication::processEvents();
    EXPECT_EQ(log.Edit()->toPlainText(), "line one\nline two");
    log.close();
}
