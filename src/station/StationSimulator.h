#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "HidBackend.h"
#include "StationModel.h"

namespace orvane {

// What a request text asks for, as the simulated station understands it.
enum class StationRequestKind {
    Unknown,
    ReadSettings,  // "Read&Time&http 1.0\r\n"
    ReadNowData,   // "Read&Now Data&http 1.0"
    ReadMaxMin,    // "Read&Max&Min&http 1.0"
    ReadSdList,    // "read&SDCard file&http 1.0"
    ReadFileSize,  // "Read&File Size=%s&http 1.0"
    ReadFile,      // "read&File=%s&Start=%d&http 1.0"
    Write,         // every "Write&..." configuration write
    DeleteFile,    // "Write&Delet file=%s&http 1.0"
};

StationRequestKind ClassifyStationRequest(const QString& request);

struct StationBus;

// Misbehaviour chosen by a test. Faults that shape replies apply to every
// reply, or only to the replies of `onlyFor` when it is set.
struct StationFaults {
    std::optional<StationRequestKind> onlyFor;

    // Requests are taken (and recorded) but never answered.
    bool silent = false;
    // A reply stops after this many reports (no terminator follows); -1 off.
    int stallAfterReports = -1;
    // The stall hits only the next reply it applies to, then switches off.
    bool stallOnce = true;
    // Payload sizes (1..62) of the consecutive reports of a reply, the last
    // one repeated; empty: 62 bytes a report.
    std::vector<int> chunkSizes;
    // Bytes of noise ahead of the tag, in the reply's first report.
    int tagOffset = 0;
    // One report of noise (no tag, no "@") ahead of each reply.
    bool garbageBeforeReply = false;
    // Report `oversizedLengthReport` (0-based) of each reply carries 62
    // payload bytes but announces `oversizedLengthByte` in byte 1; -1 off.
    int oversizedLengthReport = -1;
    std::uint8_t oversizedLengthByte = 63;
    // Replies go out one report per this span, as a station on a real bus
    // would send them (the first one a span after the request); zero: all at
    // once.
    std::chrono::microseconds reportPacing{0};
    // Write and delete confirmations arrive this much later than the request.
    std::chrono::milliseconds confirmationDelay{0};
    // Write and delete confirmations are held back until ReleaseHeldReports.
    bool holdConfirmations = false;
    // Every write is refused (answered without "Write success").
    bool rejectWrites = false;
    // After `failWritesAfter` successful output-report writes, the next
    // `failWriteCount` writes return `failWriteResult`; -1 off.
    int failWritesAfter = -1;
    int failWriteCount = 1;
    HidIoResult failWriteResult = HidIoResult::Failed;
};

// A simulated HID bus with the weather station on it (and one unrelated HID
// device). Each open handle has its own input queue; every input report the
// station sends reaches every open handle of the station. Output reports are
// reassembled into request texts (ISO-8859-1) and answered from the model.
//
// Threads: every operation may be called from any thread; handles may be
// read and written from several threads at once. The device-change handler
// is called on the thread that calls Plug/Unplug, after the simulator's lock
// is released.
class StationSimulator : public HidBackend, public DeviceChangeSource {
public:
    static inline const QString kStationPath = QStringLiteral("sim://hidraw0/station");
    static inline const QString kOtherDevicePath = QStringLiteral("sim://hidraw1/keyboard");
    static constexpr std::uint16_t kOtherVendorId = 0x046D;
    static constexpr std::uint16_t kOtherProductId = 0xC31C;

    // The station starts plugged in.
    explicit StationSimulator(std::uint32_t seed = 1, StationModelOptions options = {});
    ~StationSimulator() override;
    StationSimulator(const StationSimulator&) = delete;
    StationSimulator& operator=(const StationSimulator&) = delete;

    // HidBackend
    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const QString& path, HidOpenMode mode) override;
    // DeviceChangeSource
    void SetHandler(Handler handler) override;

    // Plugging raises Arrival, unplugging raises Removal; unplugging makes
    // every open station handle fail (its reads and writes return Failed).
    void Plug();
    void Unplug();
    bool IsPlugged() const;
    int OpenHandleCount() const;

    StationModel& Model();
    const StationModel& Model() const;

    // Every request text received, in order of arrival.
    std::vector<QString> ReceivedRequests() const;
    void ClearReceivedRequests();
    // Waits until at least `count` requests have been received in total
    // since the last clear; false on time-out.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
    // Every output report written (as written, report id first).
    std::vector<std::vector<std::uint8_t>> WrittenReports() const;

    // Faults.
    void SetFaults(const StationFaults& faults);
    StationFaults Faults() const;
    void ClearFaults();
    // Sends held-back confirmations now.
    void ReleaseHeldReports();
    // Sends one raw input report (at most 64 bytes) to every open handle.
    void InjectReport(const std::vector<std::uint8_t>& report);
    // Sends one report of noise to every open handle.
    void InjectGarbageReport();
    // Sends a payload as the station would (cut into reports) to every
    // open handle, without any request.
    void InjectPayload(const QByteArray& payload);

private:
    std::shared_ptr<StationBus> m_impl;
};

}  // namespace orvane
