#include <gtest/gtest.h>

#include <thread>

#include "COrvaneDlg.h"
#include "CUSBDrive.h"
#include "FakeHid.h"
#include "LinkTestSupport.h"
#include "Requests.h"

namespace orvane {
namespace {

using test::FakeHidBus;

class CUSBDriveTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimings(test::ShortTimings()); }
    void TearDown() override { SetTimings(Timings()); }

    // The payload bytes of a recorded report, as text.
    static QByteArray Payload(const FakeHidBus::Write& write) {
        return QByteArray(reinterpret_cast<const char*>(write.bytes.data()) + 2, 59);
    }

    FakeHidBus bus;
    CUSBDrive drive{bus};
};

TEST_F(CUSBDriveTest, ShortRequestsGoOutAsOneReportWithLength59AndZerosAfterThePayload) {
    ASSERT_TRUE(drive.ProbeStation());
    for (const char* request : {Request::kReadNowData, "read&File=A.TXT&Start=0&http 1.0",
                                "Write&Offset<Wind=1.50&Rain fall=0.00>&http 1.0"}) {
        const int before = static_cast<int>(bus.Writes().size());
        ASSERT_TRUE(drive.SendText(QString::fromLatin1(request)));
        const auto writes = bus.Writes();
        ASSERT_EQ(writes.size(), static_cast<std::size_t>(before + 1)) << request;
        const auto& report = writes.back();
        EXPECT_EQ(report.size, 61u);
        EXPECT_EQ(report.bytes[0], 0x02);
        EXPECT_EQ(report.bytes[1], 0x3B);
        const QByteArray expected(request);
        EXPECT_EQ(Payload(report).left(expected.size()), expected);
        EXPECT_EQ(Payload(report).mid(expected.size()), QByteArray(59 - expected.size(), '\0'));
    }
}

TEST_F(CUSBDriveTest, RequestLengthsThatNeedSeveralReportsAreCutIn59ByteParts) {
    ASSERT_TRUE(drive.ProbeStation());
    struct Case {
        int length;
        std::vector<int> lengthBytes;
    };
    // 68 bytes: the "high switch" request with four one-character values.
    const QString highSwitch =
        QStringLiteral("Write&high switch<Wind=1&Gust=1&Rain Rate=1&Daily Rain=1>&http 1.0\r\n");
    ASSERT_EQ(highSwitch.size(), 68);
    for (const Case& c : {Case{68, {0x3B, 9}}, Case{118, {0x3B, 0x3B}}, Case{120, {0x3B, 0x3B, 2}},
                          Case{300, {0x3B, 0x3B, 0x3B, 0x3B, 0x3B, 5}}}) {
        QString text = c.length == 68 ? highSwitch : QString();
        for (int i = 0; text.size() < c.length; ++i) text += QChar(u'a' + i % 26);
        const std::size_t before = bus.Writes().size();
        ASSERT_TRUE(drive.SendText(text)) << c.length;
        const auto all = bus.Writes();
        std::vector<FakeHidBus::Write> writes(all.begin() + before, all.end());
        ASSERT_EQ(writes.size(), c.lengthBytes.size()) << c.length;
        QByteArray joined;
        for (std::size_t k = 0; k < writes.size(); ++k) {
            EXPECT_EQ(writes[k].size, 61u);
            EXPECT_EQ(writes[k].bytes[0], 0x02);
            EXPECT_EQ(writes[k].bytes[1], c.lengthBytes[k]) << c.length << " report " << k;
            const int carried = k + 1 == writes.size() ? c.length - 59 * static_cast<int>(k) : 59;
            joined += Payload(writes[k]).left(carried);
            EXPECT_EQ(Payload(writes[k]).mid(carried), QByteArray(59 - carried, '\0'));
        }
        EXPECT_EQ(joined, text.toLatin1());
    }
}

TEST_F(CUSBDriveTest, AFailedReportStopsTheRequest) {
    ASSERT_TRUE(drive.ProbeStation());
    bus.FailWriteNumber(1);  // the second of three
    EXPECT_FALSE(drive.SendText(QString(120, u'x')));
    EXPECT_EQ(bus.Writes().size(), 1u);
}

TEST_F(CUSBDriveTest, UnsendableRequestsAreRefusedWithNothingWritten) {
    ASSERT_TRUE(drive.ProbeStation());
    EXPECT_FALSE(
        drive.SendText(QStringLiteral("Write&GPRS<APN=\u4e2d&User=a&Password=b>&http 1.0")));
    EXPECT_FALSE(drive.SendText(QString(301, u'x')));
    EXPECT_TRUE(bus.Writes().empty());
    EXPECT_FALSE(CUSBDrive::CanSend(QString(301, u'x')));
    EXPECT_FALSE(CUSBDrive::CanSend(QStringLiteral("\u20ac")));
    EXPECT_TRUE(CUSBDrive::CanSend(QString(300, u'\u00ff')));
    // A character of the upper half is one byte of the same value.
    ASSERT_TRUE(drive.SendText(QStringLiteral("Write&time zone=\u00b0&http 1.0")));
    EXPECT_EQ(bus.Writes().back().bytes[2 + 16], 0xB0);
}

TEST_F(CUSBDriveTest, WithoutAStationNothingIsWrittenAndTransactSaysUnconnected) {
    bus.Unplug();
    EXPECT_FALSE(drive.ProbeStation());
    EXPECT_FALSE(drive.HasHandle());
    EXPECT_FALSE(drive.SendText(QString::fromLatin1(Request::kReadNowData)));
    COrvaneDlg dialog(bus);
    EXPECT_EQ(dialog.Transact(QStringLiteral("Write&time zone=1&http 1.0")),
              QStringLiteral("Unconnected"));
    EXPECT_TRUE(bus.Writes().empty());
}

TEST_F(CUSBDriveTest, InputLengthBytesAreKeptWithinTheReport) {
    ASSERT_TRUE(drive.ProbeStation());
    const QByteArray full(62, 'p');
    struct Case {
        int lengthByte;
        int expected;
    };
    for (const Case& c :
         {Case{0, 0}, Case{5, 5}, Case{62, 62}, Case{63, 62}, Case{64, 62}, Case{200, 62}}) {
        bus.PushPayload(full, c.lengthByte);
        std::array<std::uint8_t, CUSBDrive::kMaxPayload> payload{};
        ASSERT_EQ(drive.ReadReport(payload), CUSBDrive::kReadDone) << c.lengthByte;
        const auto copied = std::count(payload.begin(), payload.end(), std::uint8_t('p'));
        EXPECT_EQ(copied, c.expected) << c.lengthByte;
    }
}

TEST_F(CUSBDriveTest, ReplyReportsAreLatin1TextUpToTheFirstZeroAndEmptyWhenNothingCame) {
    ASSERT_TRUE(drive.ProbeStation());
    EXPECT_EQ(drive.ReadReplyReport(), QString());
    QByteArray payload("Write success\0junk", 18);
    payload += char(0xB0);
    bus.PushPayload(payload);
    EXPECT_EQ(drive.ReadReplyReport(), QStringLiteral("Write success"));
    bus.PushPayload(
        QByteArray("25.3\xb0"
                   "C"));
    EXPECT_EQ(drive.ReadReplyReport(), QStringLiteral("25.3\u00b0C"));
}

TEST_F(CUSBDriveTest, TransactReturnsTheTwoReportsThatFollowTheRequest) {
    COrvaneDlg dialog(bus);
    bus.PushPayload("stale report before the exchange");
    bus.OnWrite([this](const FakeHidBus::Write&) {
        bus.PushPayload("Write ");
        bus.PushPayload("success");
    });
    EXPECT_EQ(dialog.Transact(QStringLiteral("Write&time zone=1&http 1.0")),
              QStringLiteral("Write success"));
    ASSERT_EQ(bus.Writes().size(), 1u);
    EXPECT_EQ(Payload(bus.Writes()[0]).left(26), QByteArray("Write&time zone=1&http 1.0"));
}

TEST_F(CUSBDriveTest, AReplacedHandleStaysOpenUntilTheWriteUsingItEnds) {
    ASSERT_TRUE(drive.ProbeStation());
    ASSERT_EQ(bus.LiveHandles(), 1);
    bus.HoldWrites(true);
    std::thread sender([&] { drive.SendText(QString::fromLatin1(Request::kReadNowData)); });
    ASSERT_TRUE(bus.WaitForBlockedWrite(std::chrono::seconds(2)));
    ASSERT_TRUE(drive.ProbeStation());  // replaces the handle under the write
    EXPECT_EQ(bus.LiveHandles(), 2);
    bus.HoldWrites(false);
    sender.join();
    EXPECT_EQ(bus.LiveHandles(), 1);
    drive.CloseHandle();
    EXPECT_EQ(bus.LiveHandles(), 0);
}

TEST_F(CUSBDriveTest, ConcurrentRequestsKeepTheirReportsTogether) {
    ASSERT_TRUE(drive.ProbeStation());
    const QString a(150, u'a');
    const QString b(150, u'b');
    std::thread first([&] {
        for (int i = 0; i < 20; ++i) drive.SendText(a);
    });
    std::thread second([&] {
        for (int i = 0; i < 20; ++i) drive.SendText(b);
    });
    first.join();
    second.join();
    const auto writes = bus.Writes();
    ASSERT_EQ(writes.size(), 120u);
    for (std::size_t k = 0; k < writes.size(); k += 3) {
        const std::uint8_t letter = writes[k].bytes[2];
        for (std::size_t j = k; j < k + 3; ++j)
            EXPECT_EQ(writes[j].bytes[2], letter) << "report " << j;
    }
}

TEST(RequestCatalogue, BuildersFillTheTemplatesByteForByte) {
    EXPECT_EQ(BuildFileReadRequest(QStringLiteral("A.TXT"), 0),
              QStringLiteral("read&File=A.TXT&Start=0&http 1.0"));
    EXPECT_EQ(BuildFileSizeRequest(QStringLiteral("B.CSV")),
              QStringLiteral("Read&File Size=B.CSV&http 1.0"));
    EXPECT_EQ(BuildDeleteFileRequest(QStringLiteral("C.CSV")),
              QStringLiteral("Write&Delet file=C.CSV&http 1.0"));
    EXPECT_EQ(FormatRequest(Request::kWriteOffsetWindRain, {1.5, 0.0}),
              QStringLiteral("Write&Offset<Wind=1.50&Rain fall=0.00>&http 1.0"));
    EXPECT_EQ(FormatRequest(Request::kWriteTime, {1, 2024, 3, 7, 9, 5, 0, 8}),
              QStringLiteral("Write&Time=1&2024-03-07&09:05:00&8&http 1.0"));
    EXPECT_EQ(FormatRequest(Request::kWriteAlarmHighWind, {10.0, 12.25}),
              QStringLiteral("Write&Alarm high<Wind=10.0&Gust=12.2>&http 1.0\r\n"));
    EXPECT_EQ(QByteArray(Request::kReadSettings), QByteArray("Read&Time&http 1.0\r\n"));
    EXPECT_EQ(QByteArray(Request::kReadNowData), QByteArray("Read&Now Data&http 1.0"));
}

}  // namespace
}  // namespace orvane
