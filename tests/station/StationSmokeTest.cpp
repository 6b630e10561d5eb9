#include <gtest/gtest.h>

#include "StationSimulator.h"

namespace orvane {
namespace {

TEST(StationSmoke, SettingReplyEndsWithTerminator) {
    StationSimulator sim(7);
    auto handle = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    ASSERT_TRUE(handle);
    std::uint8_t out[61] = {0x02, 0x3B};
    const QByteArray text = "Read&Time&http 1.0\r\n";
    std::copy(text.begin(), text.end(), out + 2);
    ASSERT_EQ(handle->Write(out, std::chrono::milliseconds(50)), HidIoResult::Done);
    QByteArray reply;
    std::uint8_t in[64];
    std::size_t n = 0;
    while (handle->Read(in, std::chrono::milliseconds(20), n) == HidIoResult::Done)
        reply.append(reinterpret_cast<const char*>(in + 2), in[1]);
    EXPECT_TRUE(reply.startsWith("Setting:"));
    EXPECT_TRUE(reply.endsWith("\r\n@"));
    EXPECT_EQ(reply.count('='), 57);
}

}  // namespace
}  // namespace orvane
