#include <gtest/gtest.h>

#include "StationTestSupport.h"

namespace orvane {
namespace {

using namespace orvane::test;

class StationFaultsTest : public ::testing::Test {
protected:
    StationFaultsTest() : sim(17, SmallCard()) {
        device = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    }

    static StationModelOptions SmallCard() {
        StationModelOptions options;
        options.logFileDays = {1};
        return options;
    }

    std::vector<InputReport> Ask(const QByteArray& request, milliseconds quiet = milliseconds(5)) {
        EXPECT_TRUE(SendRequest(*device, request));
        return ReadAll(*device, quiet);
    }

    QByteArray DownloadRequest() const {
        return "read&File=" + sim.Model().FileNames().front().toLatin1() + "&Start=0&http 1.0";
    }

    StationSimulator sim;
    std::unique_ptr<HidDevice> device;
};

TEST_F(StationFaultsTest, SilenceTakesTheRequestButAnswersNothing) {
    StationFaults faults;
    faults.silent = true;
    sim.SetFaults(faults);
    EXPECT_TRUE(Ask("Read&Time&http 1.0\r\n").empty());
    EXPECT_TRUE(Ask("Write&time zone=2&http 1.0").empty());
    EXPECT_EQ(sim.ReceivedRequests().size(), 2u);
    EXPECT_EQ(sim.Model().Config().timeZone,
              StationConfig{}.timeZone);  // a dead station applies nothing

    faults.onlyFor = StationRequestKind::ReadNowData;
    sim.SetFaults(faults);
    EXPECT_TRUE(Ask("Read&Now Data&http 1.0").empty());
    EXPECT_FALSE(Ask("Read&Time&http 1.0\r\n").empty());
    sim.ClearFaults();
    EXPECT_FALSE(Ask("Read&Now Data&http 1.0").empty());
}

TEST_F(StationFaultsTest, AStallCutsOneTransferAfterNReports) {
    const auto full = Ask(DownloadRequest());
    ASSERT_GT(full.size(), 20u);
    StationFaults faults;
    faults.stallAfterReports = 12;
    faults.onlyFor = StationRequestKind::ReadFile;
    sim.SetFaults(faults);
    EXPECT_EQ(
        Ask("Read&File Size=" + sim.Model().FileNames().front().toLatin1() + "&http 1.0").size(),
        1u);
    const auto stalled = Ask(DownloadRequest());
    ASSERT_EQ(stalled.size(), 12u);
    for (std::size_t i = 0; i < stalled.size(); ++i) EXPECT_EQ(stalled[i].bytes, full[i].bytes);
    EXPECT_FALSE(Joined(stalled).contains('@'));
    // Only once: the re-issued request gets the whole file.
    EXPECT_EQ(Ask(DownloadRequest()).size(), full.size());

    faults.stallOnce = false;
    faults.stallAfterReports = 0;
    sim.SetFaults(faults);
    EXPECT_TRUE(Ask(DownloadRequest()).empty());
    EXPECT_TRUE(Ask(DownloadRequest()).empty());
}

TEST_F(StationFaultsTest, RepliesCanBeCutAtAnyByte) {
    const QByteArray expected = sim.Model().SettingReply();
    for (std::vector<int> sizes : {std::vector<int>{1}, {7, 62}, {61, 2, 30}, {62}}) {
        StationFaults faults;
        faults.chunkSizes = sizes;
        sim.SetFaults(faults);
        const auto reports = Ask("Read&Time&http 1.0\r\n");
        EXPECT_EQ(Joined(reports), expected);
        for (std::size_t i = 0; i + 1 < reports.size(); ++i)
            EXPECT_EQ(reports[i].bytes[1], sizes[std::min(i, sizes.size() - 1)]) << i;
    }
    // A download cut at one byte a report still ends with a report of its own.
    StationFaults faults;
    faults.chunkSizes = {1};
    sim.SetFaults(faults);
    const auto reports = Ask(DownloadRequest());
    EXPECT_EQ(reports.back().Payload(), "@");
    EXPECT_EQ(reports.front().Payload(), "R");
}

TEST_F(StationFaultsTest, ATagCanStandInTheMiddleOfAReport) {
    StationFaults faults;
    faults.tagOffset = 20;
    sim.SetFaults(faults);
    const auto reports = Ask("Read&Now Data&http 1.0");
    ASSERT_FALSE(reports.empty());
    const QByteArray first = reports.front().Payload();
    EXPECT_EQ(first.indexOf("Now Data:"), 20);
    const QByteArray noise = first.left(20);
    EXPECT_FALSE(noise.contains('@'));
    EXPECT_FALSE(noise.contains(':'));
    EXPECT_FALSE(noise.contains('\0'));
    EXPECT_EQ(Joined(reports).mid(20),
              sim.Model().NowDataReply().left(Joined(reports).size() - 20));
}

TEST_F(StationFaultsTest, GarbageReportsCarryNoTagAndNoTerminator) {
    StationFaults faults;
    faults.garbageBeforeReply = true;
    sim.SetFaults(faults);
    auto reports = Ask("Read&Time&http 1.0\r\n");
    ASSERT_GE(reports.size(), 2u);
    const QByteArray garbage = reports.front().Payload();
    EXPECT_EQ(garbage.size(), 62);
    for (const char* tag :
         {"Setting:", "Now Data:", "Read File:", "File Size:", "SDcard file:", "MAX MIN:", "@"})
        EXPECT_FALSE(garbage.contains(tag));
    reports.erase(reports.begin());
    EXPECT_EQ(Joined(reports), sim.Model().SettingReply());

    sim.ClearFaults();
    auto other = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadOnly);
    sim.InjectGarbageReport();
    sim.InjectReport({0x01, 3, 'a', 'b', 'c'});
    for (HidDevice* d : {device.get(), other.get()}) {
        const auto seen = ReadAll(*d);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].Payload(), "abc");
        EXPECT_EQ(seen[1].bytes.size(), 64u);
    }
}

TEST_F(StationFaultsTest, ALengthByteAboveSixtyTwoStillCarriesSixtyTwoBytes) {
    for (std::uint8_t length : {std::uint8_t(63), std::uint8_t(64), std::uint8_t(200)}) {
        StationFaults faults;
        faults.oversizedLengthReport = 1;
        faults.oversizedLengthByte = length;
        sim.SetFaults(faults);
        const auto reports = Ask("Read&Time&http 1.0\r\n");
        ASSERT_GT(reports.size(), 2u);
        EXPECT_EQ(reports[1].bytes[1], length);
        EXPECT_EQ(reports[0].bytes[1], 62);
        // Clamped to 62, the payload is the reply itself.
        EXPECT_EQ(Joined(reports), sim.Model().SettingReply());
    }
}

TEST_F(StationFaultsTest, ALateConfirmationMissesTheTwoReads) {
    StationFaults faults;
    faults.confirmationDelay = milliseconds(150);
    sim.SetFaults(faults);
    ASSERT_TRUE(SendRequest(*device, "Write&time zone=3&http 1.0"));
    std::uint8_t buffer[64];
    std::size_t received = 0;
    EXPECT_EQ(device->Read(buffer, milliseconds(20), received), HidIoResult::TimedOut);
    EXPECT_EQ(device->Read(buffer, milliseconds(20), received), HidIoResult::TimedOut);
    // Tagged replies are not delayed.
    EXPECT_FALSE(Ask("Read&Now Data&http 1.0").empty());
    EXPECT_EQ(device->Read(buffer, milliseconds(2000), received), HidIoResult::Done);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer + 2), buffer[1]),
              "Write success\r\n");
    EXPECT_EQ(sim.Model().Config().timeZone, 3);
}

TEST_F(StationFaultsTest, APacedReplyArrivesOneReportPerSpanAndWhole) {
    const auto whole = Ask("Read&Time&http 1.0\r\n");
    ASSERT_GT(whole.size(), 4u);
    StationFaults faults;
    faults.reportPacing = milliseconds(4);
    sim.SetFaults(faults);
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendRequest(*device, "Read&Time&http 1.0\r\n"));
    std::vector<InputReport> paced;
    std::uint8_t buffer[64];
    std::size_t received = 0;
    while (paced.size() < whole.size() &&
           device->Read(buffer, milliseconds(2000), received) == HidIoResult::Done)
        paced.push_back({std::vector<std::uint8_t>(buffer, buffer + received)});
    // The last report is due one span per report after the request; a slow
    // machine can only make it later.
    EXPECT_GE(std::chrono::steady_clock::now() - sent, faults.reportPacing * whole.size());
    EXPECT_EQ(Joined(paced), Joined(whole));
}

TEST_F(StationFaultsTest, HeldConfirmationsWaitForTheirRelease) {
    StationFaults faults;
    faults.holdConfirmations = true;
    sim.SetFaults(faults);
    EXPECT_TRUE(Ask("Write&time zone=4&http 1.0").empty());
    EXPECT_TRUE(Ask("Write&Delet file=" + sim.Model().FileNames().front().toLatin1() + "&http 1.0")
                    .empty());
    sim.ReleaseHeldReports();
    EXPECT_EQ(Joined(ReadAll(*device)), "Write success\r\nDelete success\r\n");
}

TEST_F(StationFaultsTest, RejectedWritesChangeNothing) {
    StationFaults faults;
    faults.rejectWrites = true;
    sim.SetFaults(faults);
    EXPECT_EQ(Joined(Ask("Write&time zone=4&http 1.0")), "Write fail\r\n");
    EXPECT_EQ(sim.Model().Config().timeZone, StationConfig{}.timeZone);
}

TEST_F(StationFaultsTest, OutputReportWritesFailOnRequest) {
    StationFaults faults;
    faults.failWritesAfter = 1;
    faults.failWriteCount = 1;
    faults.failWriteResult = HidIoResult::TimedOut;
    sim.SetFaults(faults);
    const QByteArray request =
        "Write&Telephone<1=111111111111111&2=222222222222222&3=333333333333333>&http 1.0" +
        QByteArray(41, ' ');
    const auto framed = FrameRequest(request);
    ASSERT_EQ(framed.size(), 3u);
    EXPECT_EQ(device->Write(framed[0], milliseconds(50)), HidIoResult::Done);
    EXPECT_EQ(device->Write(framed[1], milliseconds(50)), HidIoResult::TimedOut);
    // The sender gives up; a report that starts a new request drops the
    // unfinished one.
    EXPECT_TRUE(sim.ReceivedRequests().empty());
    EXPECT_EQ(sim.WrittenReports().size(), 2u);
    EXPECT_TRUE(Joined(Ask("Read&Now Data&http 1.0")).startsWith("Now Data:"));
    ASSERT_EQ(sim.ReceivedRequests().size(), 1u);
    EXPECT_EQ(sim.ReceivedRequests()[0], "Read&Now Data&http 1.0");

    faults.failWritesAfter = 0;
    faults.failWriteCount = 2;
    faults.failWriteResult = HidIoResult::Failed;
    sim.SetFaults(faults);
    EXPECT_EQ(device->Write(framed[0], milliseconds(50)), HidIoResult::Failed);
    EXPECT_EQ(device->Write(framed[0], milliseconds(50)), HidIoResult::Failed);
    EXPECT_EQ(device->Write(framed[0], milliseconds(50)), HidIoResult::Done);
    EXPECT_EQ(device->Write(framed[1], milliseconds(50)), HidIoResult::Done);
    EXPECT_EQ(device->Write(framed[2], milliseconds(50)), HidIoResult::Done);
    EXPECT_EQ(sim.ReceivedRequests().back(), QString::fromLatin1(request));
}

}  // namespace
}  // namespace orvane
