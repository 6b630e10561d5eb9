#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace orvane {

// The station on the USB HID bus.
inline constexpr std::uint16_t kStationVendorId = 0x10C4;
inline constexpr std::uint16_t kStationProductId = 0x8468;

struct HidDeviceInfo {
    QString path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

enum class HidOpenMode {
    ReadWrite,  // the request connection
    ReadOnly,   // the receive connection
    QueryOnly,  // attribute query only
};

enum class HidIoResult { Done, TimedOut, Failed };

// A read time-out that means: wait until a report comes or the read is
// cancelled.
inline constexpr std::chrono::milliseconds kNoTimeout{-1};

// One open handle of a HID device. Each handle has its own input queue:
// every input report reaches every open handle. A handle may be used from
// several threads at once (one writer and one reader).
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Writes one output report (byte 0 is the report id).
    virtual HidIoResult Write(std::span<const std::uint8_t> report,
                              std::chrono::milliseconds timeout) = 0;
    // Reads one input report into `buffer` (at most buffer.size() bytes);
    // `received` is the number of bytes stored when Done. A `timeout` of
    // kNoTimeout waits without limit.
    virtual HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                             std::size_t& received) = 0;
    // Ends a Read under way on another thread at once, and every later one,
    // with Failed: the handle is about to be dropped. Any thread.
    virtual void CancelRead() = 0;
    virtual std::optional<HidAttributes> Attributes() = 0;
};

enum class DeviceChange {
    Arrival = 0x8000,  // a HID interface appeared
    Removal = 0x8004,  // a HID interface went away
};

// The HID bus: the real one (hidapi on hidraw) or the station simulator.
// Enumerate and Open may be called from any thread.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // All present HID interfaces (not only the station's).
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    virtual std::unique_ptr<HidDevice> Open(const QString& path, HidOpenMode mode) = 0;
};

// Arrival and removal events of HID interfaces. The handler may be called
// on any thread; the receiver moves it where it belongs.
class DeviceChangeSource {
public:
    using Handler = std::function<void(DeviceChange)>;
    virtual ~DeviceChangeSource() = default;
    virtual void SetHandler(Handler handler) = 0;
};

}  // namespace orvane
