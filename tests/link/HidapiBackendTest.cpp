#include <gtest/gtest.h>

#include "COrvaneDlg.h"
#include "DeviceLink.h"
#include "HidapiBackend.h"
#include "LinkTestSupport.h"
#include "UdevMonitor.h"

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

TEST(UdevMonitor, StartsOrSaysWhyNot) {
    UdevMonitor monitor;
    int events = 0;
    monitor.SetHandler([&](DeviceChange) { ++events; });
    if (!monitor.Start()) {
        EXPECT_FALSE(monitor.ErrorText().isEmpty());
        GTEST_SKIP() << monitor.ErrorText().toStdString();
    }
    EXPECT_EQ(monitor.DrainEvents(), 0);  // nothing is plugged during the test
    EXPECT_EQ(events, 0);
}

}  // namespace
}  // namespace orvane
