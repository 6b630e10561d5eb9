#include <gtest/gtest.h>

#include "CommunicationRequests.h"
#include "IntervalRequests.h"
#include "RequestText.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "WriteTestSupport.h"

namespace orvane {
namespace {

using namespace SettingsId;

TEST(RequestValueProblem, NamesTheFieldAndEveryGrammarCharacterOnce) {
    EXPECT_EQ(RequestValueProblem("Web password", "a=b&c=d"),
              "Web password may not contain \"&\", \"<\", \">\" or \"=\" (found \"=\", \"&\").");
    EXPECT_EQ(RequestValueProblem("Port", "<80>"),
              "Port may not contain \"&\", \"<\", \">\" or \"=\" (found \"<\", \">\").");
    EXPECT_EQ(RequestValueProblem("Port", ""), "");
    EXPECT_EQ(RequestValueProblem("GPRS user", "Jürgen ÿ#%!?"), "");
}

TEST(RequestValueProblem, RefusesCharactersBeyondLatin1) {
    EXPECT_EQ(RequestValueProblem("SMS ID", "Caf€ 北"),
              "SMS ID may contain only Western European (ISO-8859-1) characters (found \"€\", "
              "\"北\").");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_TRUE(RequestValueProblem("SMS ID", emoji).contains("found \"" + emoji + "\""));
}

TEST(RequestValueProblem, SpeaksTheWindowLanguage) {
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(RequestValueProblem("GPRS password", "a&b"),
              "GPRS密码不能包含“&”、“<”、“>”或“=”（发现 \"&\"）。");
    EXPECT_EQ(RequestValueProblem("SMS check interval", "北"),
              "短信查询间隔只能包含西欧（ISO-8859-1）字符（发现 \"北\"）。");
    SetCurrentLanguage(UiLanguage::English);
}

class FreeText : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        test::FillLikeOpenedWindow(w);
    }

    // Puts `value` into `field`, runs `build` and expects a refusal that
    // names `name`.
    void ExpectRefusedNaming(int field, const QString& value, QString (*build)(ControlWindow&),
                             const QString& name) {
        const QString before = w.Text(field);
        w.SetText(field, value);
        w.ClearMessages();
        EXPECT_EQ(build(w), QString()) << name.toStdString();
        ASSERT_EQ(w.Messages().size(), 1) << name.toStdString();
        EXPECT_TRUE(w.Messages().first().startsWith(name + " may "))
            << w.Messages().first().toStdString();
        w.SetText(field, before);
    }

    test::RecordingTransactor transactor;
    MemorySettingsWindow w;
};

TEST_F(FreeText, EveryFreeTextFieldRefusesGrammarCharacters) {
    struct Case {
        int field;
        QString (*build)(ControlWindow&);
        const char* name;
    };
    const Case cases[] = {
        {kTelephone1, BuildTelephoneRequest, "Telephone 1"},
        {kTelephone2, BuildTelephoneRequest, "Telephone 2"},
        {kTelephone3, BuildTelephoneRequest, "Telephone 3"},
        {kSmsTestId, BuildSmsIdRequest, "SMS ID"},
        {kSmsTestId, BuildSmsTestRequest, "SMS ID"},
        {kGprsApn, BuildGprsRequest, "GPRS APN"},
        {kGprsUser, BuildGprsRequest, "GPRS user"},
        {kGprsPassword, BuildGprsRequest, "GPRS password"},
        {kWebHost, BuildWebRequest, "Web server address"},
        {kWebId, BuildWebLoginRequest, "Web station ID"},
        {kWebPassword, BuildWebLoginRequest, "Web password"},
        {kServerPort, BuildServerTypeRequest, "Port"},
    };
    for (const Case& c : cases) {
        for (const char* value : {"a&b", "x<y", "p>q", "k=v"})
            ExpectRefusedNaming(c.field, value, c.build, c.name);
        ExpectRefusedNaming(c.field, "€", c.build, c.name);
    }
}

TEST_F(FreeText, LengthRefusalComesFirstAndKeepsItsMessage) {
    w.SetText(kSmsTestId, QString(15, '&'));
    w.ClearMessages();
    EXPECT_EQ(BuildSmsIdRequest(w), QString());
    EXPECT_EQ(w.Messages(), QStringList{"ID Length Max 14."});
}

TEST_F(FreeText, IntervalTextsSentAsEnteredAreCheckedToo) {
    w.SetText(kLoggerInterval, "5&Send=1h");
    w.ClearMessages();
    EXPECT_EQ(BuildLoggerIntervalRequest(w), QString());
    ASSERT_EQ(w.Messages().size(), 1);
    EXPECT_TRUE(w.Messages().first().startsWith("Data logger interval may not contain"));
    EXPECT_EQ(w.FocusedControl(), kLoggerInterval);
}

TEST_F(FreeText, PercentSignsAndLatin1LettersGoOutUnchanged) {
    w.SetText(kWebPassword, "%1%2ä");
    w.SetText(kWebId, "%3");
    EXPECT_EQ(BuildWebLoginRequest(w), "Write&Weather server<ID=%3&Password=%1%2ä>&http 1.0");
}

}  // namespace
}  // namespace orvane
