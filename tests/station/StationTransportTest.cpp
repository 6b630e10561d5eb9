#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "ProcessThreads.h"
#include "StationTestSupport.h"

namespace orvane {
namespace {

using namespace orvane::test;

std::unique_ptr<HidDevice> OpenStation(StationSimulator& sim,
                                       HidOpenMode mode = HidOpenMode::ReadWrite) {
    return sim.Open(StationSimulator::kStationPath, mode);
}

TEST(StationBus, EnumerationListsTheStationBesideAnUnrelatedDevice) {
    StationSimulator sim;
    auto devices = sim.Enumerate();
    ASSERT_EQ(devices.size(), 2u);
    int stations = 0;
    for (const auto& info : devices) {
        auto handle = sim.Open(info.path, HidOpenMode::QueryOnly);
        ASSERT_TRUE(handle) << qPrintable(info.path);
        const auto attributes = handle->Attributes();
        ASSERT_TRUE(attributes);
        EXPECT_EQ(attributes->vendorId, info.vendorId);
        EXPECT_EQ(attributes->productId, info.productId);
        if (info.vendorId == kStationVendorId && info.productId == kStationProductId) ++stations;
    }
    EXPECT_EQ(stations, 1);
    // The station is not first, so a search must skip the other device.
    EXPECT_NE(devices.front().vendorId, kStationVendorId);

    sim.Unplug();
    devices = sim.Enumerate();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices.front().vendorId, StationSimulator::kOtherVendorId);
    EXPECT_FALSE(OpenStation(sim));
    EXPECT_FALSE(sim.Open("sim://nowhere", HidOpenMode::ReadWrite));
}

TEST(StationBus, PlugAndUnplugRaiseArrivalAndRemovalOnce) {
    StationSimulator sim;
    std::vector<DeviceChange> changes;
    sim.SetHandler([&](DeviceChange change) { changes.push_back(change); });
    sim.Plug();  // already plugged: nothing happens
    sim.Unplug();
    sim.Unplug();
    sim.Plug();
    EXPECT_EQ(changes, (std::vector<DeviceChange>{DeviceChange::Removal, DeviceChange::Arrival}));
    EXPECT_TRUE(sim.IsPlugged());
}

TEST(StationBus, UnplugMakesOpenHandlesFailForGood) {
    StationSimulator sim;
    auto handle = OpenStation(sim);
    auto query = OpenStation(sim, HidOpenMode::QueryOnly);
    ASSERT_TRUE(handle);
    ASSERT_TRUE(query->Attributes());
    std::atomic<pid_t> readerThread = 0;
    HidIoResult readerResult = HidIoResult::Done;
    std::thread reader([&] {
        std::uint8_t buffer[64];
        std::size_t received = 0;
        readerThread = ::gettid();
        readerResult = handle->Read(buffer, milliseconds(5000), received);
    });
    while (readerThread == 0) std::this_thread::yield();
    ASSERT_TRUE(WaitUntilAsleep(readerThread));  // in the read
    sim.Unplug();
    reader.join();
    EXPECT_EQ(readerResult, HidIoResult::Failed);  // woken at once, not after 5 s

    EXPECT_FALSE(handle->Attributes());
    EXPECT_FALSE(query->Attributes());
    EXPECT_FALSE(SendRequest(*handle, "Read&Now Data&http 1.0"));
    sim.Plug();
    EXPECT_FALSE(SendRequest(*handle, "Read&Now Data&http 1.0"));  // the old handle stays dead
    auto fresh = OpenStation(sim);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(SendRequest(*fresh, "Read&Now Data&http 1.0"));
    EXPECT_TRUE(Joined(ReadAll(*fresh)).startsWith("Now Data:"));
}

TEST(StationBus, EveryOpenHandleReceivesEveryReport) {
    StationSimulator sim;
    auto writer = OpenStation(sim, HidOpenMode::ReadWrite);
    auto reader = OpenStation(sim, HidOpenMode::ReadOnly);
    auto query = OpenStation(sim, HidOpenMode::QueryOnly);
    EXPECT_EQ(sim.OpenHandleCount(), 3);
    ASSERT_TRUE(SendRequest(*writer, "Read&Time&http 1.0\r\n"));
    const auto a = ReadAll(*writer);
    const auto b = ReadAll(*reader);
    ASSERT_GT(a.size(), 3u);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].bytes, b[i].bytes);
    EXPECT_EQ(a.front().bytes.size(), 64u);

    // Read-only and query-only handles cannot send; query-only ones get no input.
    EXPECT_EQ(reader->Write(FrameRequest("Read&Now Data&http 1.0")[0], milliseconds(50)),
              HidIoResult::Failed);
    std::uint8_t buffer[64];
    std::size_t received = 0;
    EXPECT_EQ(query->Read(buffer, milliseconds(1), received), HidIoResult::Failed);
    query.reset();
    EXPECT_EQ(sim.OpenHandleCount(), 2);
}

TEST(StationBus, AHandleSeesOnlyReportsSentAfterItOpened) {
    StationSimulator sim;
    auto first = OpenStation(sim);
    ASSERT_TRUE(SendRequest(*first, "Read&Now Data&http 1.0"));
    auto late = OpenStation(sim);
    EXPECT_TRUE(ReadAll(*late, milliseconds(5)).empty());
    EXPECT_FALSE(ReadAll(*first, milliseconds(5)).empty());
}

TEST(StationBus, ReadWaitsForTheTimeOutAndWakesOnArrival) {
    StationSimulator sim;
    auto reader = OpenStation(sim, HidOpenMode::ReadOnly);
    std::uint8_t buffer[64];
    std::size_t received = 7;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(reader->Read(buffer, milliseconds(60), received), HidIoResult::TimedOut);
    EXPECT_GE(timer.elapsed(), 55);
    EXPECT_EQ(received, 0u);

    const pid_t readerThread = ::gettid();
    std::thread sender([&] {
        if (WaitUntilAsleep(readerThread)) sim.InjectPayload("hello");  // once it waits
    });
    timer.restart();
    EXPECT_EQ(reader->Read(buffer, milliseconds(5000), received), HidIoResult::Done);
    EXPECT_LT(timer.elapsed(), 2000);
    sender.join();
    EXPECT_EQ(received, 64u);
    EXPECT_EQ(buffer[1], 5);
}

TEST(StationBus, RequestsAreReassembledFromOutputReports) {
    StationSimulator sim;
    auto device = OpenStation(sim);
    // 22 bytes in one report; 47 bytes in one; a write of 68 bytes in two
    // (59 + 9); one of exactly 118 in two full reports.
    const QByteArray nowData = "Read&Now Data&http 1.0";
    const QByteArray offsets = "Write&Offset<Wind=1.50&Rain fall=0.00>&http 1.0";
    const QByteArray switches =
        "Write&high switch<Wind=On&Gust=On&Rain Rate=On&Daily Rain=On>&http 1.0\r\n";
    QByteArray exact = "Write&Weather server<Web=";
    const QByteArray tail = ">&http 1.0";
    exact += QByteArray(118 - exact.size() - tail.size(), 'w') + tail;
    ASSERT_EQ(exact.size(), 118);
    QByteArrayList replies;
    for (const QByteArray& text : {nowData, offsets, switches, exact}) {
        ASSERT_TRUE(SendRequest(*device, text));
        replies << Joined(ReadAll(*device));
    }
    const auto framed = FrameRequest(switches);
    ASSERT_EQ(framed.size(), 2u);
    EXPECT_EQ(framed[1][1], switches.size() - 59);

    const auto requests = sim.ReceivedRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0], QString(nowData));
    EXPECT_EQ(requests[1], QString(offsets));
    EXPECT_EQ(requests[2], QString(switches));
    EXPECT_EQ(requests[3], QString(exact));
    EXPECT_EQ(sim.WrittenReports().size(), 1u + 1u + 2u + 2u);
    EXPECT_TRUE(replies[0].startsWith("Now Data:"));
    // A rain factor of 0 and a 92-character address are refused.
    EXPECT_EQ(replies[1], "Write fail\r\n");
    EXPECT_EQ(replies[2], "Write success\r\n");
    EXPECT_EQ(replies[3], "Write fail\r\n");
}

TEST(StationBus, ThreeReportRequestEndsWithItsPayloadCount) {
    StationSimulator sim;
    auto device = OpenStation(sim);
    const QByteArray text = "Write&Telephone<1=" + QByteArray(15, '1') +
                            "&2=" + QByteArray(15, '2') + "&3=" + QByteArray(15, '3') +
                            ">&http 1.0";
    const QByteArray request = text + QByteArray(120 - text.size(), ' ');
    const auto framed = FrameRequest(request);
    ASSERT_EQ(framed.size(), 3u);
    EXPECT_EQ(framed[0][1], 0x3B);
    EXPECT_EQ(framed[1][1], 0x3B);
    EXPECT_EQ(framed[2][1], 2);
    ASSERT_TRUE(SendRequest(*device, request));
    ASSERT_EQ(sim.ReceivedRequests().size(), 1u);
    EXPECT_EQ(sim.ReceivedRequests()[0].toLatin1(), request);
}

TEST(StationBus, ConcurrentReadersAndWritersLoseNothing) {
    StationSimulator sim;
    constexpr int kRequests = 40;
    auto receiver = OpenStation(sim, HidOpenMode::ReadOnly);
    std::atomic<bool> stop = false;
    std::atomic<int> nowDataReplies = 0;
    std::thread reading([&] {
        std::uint8_t buffer[64];
        std::size_t received = 0;
        while (!stop) {
            if (receiver->Read(buffer, milliseconds(5), received) != HidIoResult::Done) continue;
            if (QByteArray(reinterpret_cast<const char*>(buffer + 2), buffer[1])
                    .contains("Now Data:"))
                ++nowDataReplies;
        }
    });
    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w)
        writers.emplace_back([&] {
            auto device = OpenStation(sim);
            std::uint8_t buffer[64];
            std::size_t received = 0;
            for (int i = 0; i < kRequests / 2; ++i) {
                // Single-report requests cannot interleave, so both threads may send.
                SendRequest(*device, "Read&Now Data&http 1.0");
                while (device->Read(buffer, milliseconds(0), received) == HidIoResult::Done) {
                }
            }
        });
    for (auto& writer : writers) writer.join();
    ASSERT_TRUE(sim.WaitForRequests(kRequests, milliseconds(1000)));
    // Every reply is queued by now; the reader only has to take them.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (nowDataReplies < kRequests && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    stop = true;
    reading.join();
    EXPECT_EQ(nowDataReplies, kRequests);
}

}  // namespace
}  // namespace orvane
