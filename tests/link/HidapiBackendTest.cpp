#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "COrvaneDlg.h"
#include "DeviceLink.h"
#include "HidapiBackend.h"
#include "LinkTestSupport.h"
#include "ProcessThreads.h"

namespace orvane {
namespace {

// On the build machine no station is attached: the real bus must say so
// cleanly, whatever other HID devices it has.
TEST(HidapiBackend, FindsNoStationAndRefusesABogusPath) {
    SetTimings(test::ShortTimings());
    HidapiBackend backend;
    for (const HidDeviceInfo& info : backend.Enumerate()) {
        EXPECT_FALSE(info.path.isEmpty());
        EXPECT_FALSE(info.vendorId == kStationVendorId && info.productId == kStationProductId)
            << info.path.toStdString();
    }
    EXPECT_EQ(backend.Open(QStringLiteral("/dev/hidraw-does-not-exist"), HidOpenMode::ReadWrite),
              nullptr);
    EXPECT_EQ(backend.Open(QString(), HidOpenMode::QueryOnly), nullptr);

    COrvaneDlg dialog(backend);
    EXPECT_FALSE(dialog.Drive().ProbeStation());
    EXPECT_EQ(dialog.Transact(QStringLiteral("Write&time zone=1&http 1.0")),
              QStringLiteral("Unconnected"));

    ExchangeState state;
    DeviceLink link(backend, state, ReplyConsumers{});
    link.Open();
    EXPECT_FALSE(link.IsPresent());
    EXPECT_FALSE(link.HasReadHandle());
    SetTimings(Timings());
}

// The receive connection's reads on a hidraw descriptor, here a pipe: a
// read waits without limit until a report comes, a cancel from another
// thread ends it at once and for good, and a hang-up (the device gone) fails.
TEST(HidrawDevice, BlockingReadsEndOnDataCancelOrHangUp) {
    using namespace std::chrono_literals;
    struct Case {
        const char* name;
        std::function<void(int writeEnd, HidDevice& device)> act;
        HidIoResult expected;
    };
    const Case cases[] = {
        {"report",
         [](int writeEnd, HidDevice&) {
             ASSERT_EQ(write(writeEnd,
                             "\x01\x03"
                             "abc",
                             5),
                       5);
         },
         HidIoResult::Done},
        {"cancel", [](int, HidDevice& device) { device.CancelRead(); }, HidIoResult::Failed},
        {"hang-up", [](int writeEnd, HidDevice&) { close(writeEnd); }, HidIoResult::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        std::unique_ptr<HidDevice> device = MakeHidrawDevice(fds[0]);
        std::uint8_t buffer[64] = {};
        std::size_t received = 0;
        EXPECT_EQ(device->Read(buffer, 1ms, received), HidIoResult::TimedOut);
        const pid_t reader = ::gettid();
        std::thread actor([&] {
            test::WaitUntilAsleep(reader);  // the read blocks first
            c.act(fds[1], *device);
        });
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(device->Read(buffer, kNoTimeout, received), c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
        actor.join();
        if (c.expected == HidIoResult::Done) {
            EXPECT_EQ(received, 5u);
            EXPECT_EQ(buffer[4], 'c');
            close(fds[1]);
        } else if (std::string(c.name) == "cancel") {
            // Cancelled for good, even with data waiting.
            ASSERT_EQ(write(fds[1], "x", 1), 1);
            EXPECT_EQ(device->Read(buffer, kNoTimeout, received), HidIoResult::Failed);
            close(fds[1]);
        }
    }
}

}  // namespace
}  // namespace orvane
