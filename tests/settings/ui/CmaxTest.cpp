#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>

#include "Cmax.h"
#include "MaxMinControls.h"
#include "QtControlWindow.h"

using namespace orvane;

namespace {

const QString kReply = QStringLiteral(
    "MAX MIN:History Max\r\nTemp=35.2C\r\nHistory Min\r\nToday Max\r\nToday "
    "Min\r\nLight=0lux\r\n@");

}  // namespace

TEST(CmaxWindow, OpensWithTheBlocksInTheLanguageChosenAtOpening) {
    UiLanguage language = UiLanguage::Chinese;
    Cmax window([&] { return language; });
    window.Open(kReply);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(" 最大最小值"));
    EXPECT_EQ(window.Controls().Text(MaxMinId::kHistoryMax),
              QString::fromUtf8("最大值\n温度=35.2C\n"));
    EXPECT_EQ(window.Controls().Text(MaxMinId::kTodayMin),
              QString::fromUtf8("今天最小值\n光照=0lux\n"));
    window.close();

    // The next reply opens it anew, in the language of that moment.
    language = UiLanguage::English;
    window.Open(QStringLiteral("MAX MIN:History Max Temp=1 History Min Today Max Today Min@"));
    EXPECT_EQ(window.windowTitle(), "Max/Min Record");
    EXPECT_EQ(window.Controls().Text(MaxMinId::kHistoryMax), "History Max Temperature=1 ");
    EXPECT_EQ(window.ReplyText(), "MAX MIN:History Max Temp=1 History Min Today Max Today Min@");
    window.Controls().Control(MaxMinId::kExit)->setFocus();
    qobject_cast<QAbstractButton*>(window.Controls().Control(MaxMinId::kExit))->click();
    EXPECT_FALSE(window.isVisible());
}
