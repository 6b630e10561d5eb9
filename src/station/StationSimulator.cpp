#include "StationSimulator.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "OwnedThread.h"

namespace orvane {

namespace {

constexpr std::size_t kInputReportSize = 64;
constexpr int kMaxInputPayload = 62;
constexpr std::size_t kOutputPayload = 59;
constexpr std::uint8_t kFullReportMarker = 0x3B;
constexpr std::uint8_t kInputReportId = 0x01;
// An unread handle (the request connection is rarely read) must not grow
// without bound; the oldest reports go first, as a full queue would lose them.
constexpr std::size_t kQueueLimit = 1 << 16;
// A request that never ends is dropped once it outgrows the sender's buffer.
constexpr int kMaxRequestBytes = 600;

using Report = std::array<std::uint8_t, kInputReportSize>;
using SteadyClock = std::chrono::steady_clock;

struct InputQueue {
    bool receives = true;  // false for attribute-query handles
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<Report> reports;
    bool failed = false;
    bool cancelled = false;

    void Push(const Report& report) {
        {
            std::lock_guard lock(mutex);
            if (failed) return;
            if (reports.size() >= kQueueLimit) reports.pop_front();
            reports.push_back(report);
        }
        ready.notify_all();
    }
    void Fail() {
        {
            std::lock_guard lock(mutex);
            failed = true;
            reports.clear();
        }
        ready.notify_all();
    }
};

QString RequestValue(const QString& request, const QString& key) {
    const qsizetype start = request.indexOf(key);
    if (start < 0) return {};
    const qsizetype from = start + key.size();
    qsizetype end = request.indexOf('&', from);
    if (end < 0) end = request.size();
    return request.mid(from, end - from);
}

// The file name of "read&File=%s&Start=%d&http 1.0" may itself hold "&":
// it ends at the last "&Start=".
QString DownloadName(const QString& request) {
    const qsizetype from = request.indexOf("File=") + 5;
    const qsizetype end = request.lastIndexOf("&Start=");
    if (from < 5 || end < from) return {};
    return request.mid(from, end - from);
}

QString NameBeforeHttp(const QString& request, const QString& key) {
    const qsizetype start = request.indexOf(key);
    if (start < 0) return {};
    const qsizetype from = start + key.size();
    const qsizetype end = request.lastIndexOf("&http 1.0");
    if (end < from) return {};
    return request.mid(from, end - from);
}

}  // namespace

StationRequestKind ClassifyStationRequest(const QString& request) {
    if (request.startsWith("Read&Time&", Qt::CaseInsensitive))
        return StationRequestKind::ReadSettings;
    if (request.startsWith("Read&Now Data&", Qt::CaseInsensitive))
        return StationRequestKind::ReadNowData;
    if (request.startsWith("Read&Max&Min&", Qt::CaseInsensitive))
        return StationRequestKind::ReadMaxMin;
    if (request.startsWith("read&SDCard file&", Qt::CaseInsensitive))
        return StationRequestKind::ReadSdList;
    if (request.startsWith("Read&File Size=", Qt::CaseInsensitive))
        return StationRequestKind::ReadFileSize;
    if (request.startsWith("read&File=", Qt::CaseInsensitive)) return StationRequestKind::ReadFile;
    if (request.startsWith("Write&Delet file=", Qt::CaseInsensitive))
        return StationRequestKind::DeleteFile;
    if (request.startsWith("Write&", Qt::CaseInsensitive)) return StationRequestKind::Write;
    return StationRequestKind::Unknown;
}

struct StationBus {
    explicit StationBus(std::uint32_t seed, StationModelOptions options)
        : model(seed, std::move(options)), noise(seed) {}

    mutable std::mutex mutex;
    mutable std::condition_variable requestArrived;
    StationModel model;
    bool plugged = true;
    DeviceChangeSource::Handler handler;
    std::vector<std::weak_ptr<InputQueue>> queues;  // of every open station handle
    int openHandles = 0;
    QByteArray pendingRequest;
    std::vector<QString> requests;
    std::vector<std::vector<std::uint8_t>> written;
    StationFaults faults;
    int writesSinceFaults = 0;
    int failedWrites = 0;
    std::vector<Report> held;
    std::uint32_t noise;

    // Delayed confirmations and paced reports, sent by one scheduler thread
    // that the first of them starts.
    std::multimap<SteadyClock::time_point, std::vector<Report>> scheduled;
    std::condition_variable scheduleChanged;
    OwnedThread scheduler;
    bool stopping = false;

    std::uint8_t NoiseByte() {
        // Printable, and never ':' or '@', so noise can hold neither a tag
        // nor a terminator.
        static const char kChars[] =
            "abcdefghijklmnopqrstuvwxyz0123456789 .,-+#%*ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        noise = noise * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(kChars[(noise >> 16) % (sizeof(kChars) - 1)]);
    }

    // count is at most a report's payload (62), so it fits the length byte.
    static Report MakeReport(const QByteArray& payload, qsizetype from, qsizetype count) {
        Report report{};
        report[0] = kInputReportId;
        report[1] = static_cast<std::uint8_t>(count);
        for (qsizetype i = 0; i < count; ++i)
            report[2 + i] = static_cast<std::uint8_t>(payload[from + i]);
        return report;
    }

    // Cuts a payload into input reports, plain: 62 bytes a report.
    static std::vector<Report> Cut(const QByteArray& payload) {
        std::vector<Report> reports;
        for (qsizetype at = 0; at < payload.size(); at += kMaxInputPayload)
            reports.push_back(MakeReport(
                payload, at, std::min<qsizetype>(kMaxInputPayload, payload.size() - at)));
        return reports;
    }

    bool FaultApplies(StationRequestKind kind) const {
        return !faults.onlyFor || *faults.onlyFor == kind;
    }

    // Cuts a reply into reports with the reply-shaping faults applied.
    // `trailer` (the end mark of a download) always goes in a report of its own.
    std::vector<Report> Shape(StationRequestKind kind, QByteArray payload,
                              const QByteArray& trailer) {
        if (!FaultApplies(kind)) {
            auto reports = Cut(payload);
            if (!trailer.isEmpty()) reports.push_back(MakeReport(trailer, 0, trailer.size()));
            return reports;
        }
        if (faults.tagOffset > 0) {
            QByteArray prefix;
            for (int i = 0; i < faults.tagOffset; ++i)
                prefix.append(static_cast<char>(NoiseByte()));
            payload.prepend(prefix);
        }
        std::vector<Report> reports;
        std::size_t chunk = 0;
        for (qsizetype at = 0; at < payload.size();) {
            int size = kMaxInputPayload;
            if (!faults.chunkSizes.empty())
                size = faults.chunkSizes[std::min(chunk, faults.chunkSizes.size() - 1)];
            size = std::clamp(size, 1, kMaxInputPayload);
            if (payload.size() - at < size) size = static_cast<int>(payload.size() - at);
            reports.push_back(MakeReport(payload, at, size));
            at += size;
            ++chunk;
        }
        if (!trailer.isEmpty()) reports.push_back(MakeReport(trailer, 0, trailer.size()));
        if (faults.oversizedLengthReport >= 0 &&
            faults.oversizedLengthReport < static_cast<int>(reports.size()))
            reports[faults.oversizedLengthReport][1] = faults.oversizedLengthByte;
        if (faults.stallAfterReports >= 0) {
            if (static_cast<int>(reports.size()) > faults.stallAfterReports)
                reports.resize(faults.stallAfterReports);
            if (faults.stallOnce) faults.stallAfterReports = -1;
        }
        if (faults.garbageBeforeReply) {
            Report garbage{};
            garbage[0] = kInputReportId;
            garbage[1] = kMaxInputPayload;
            for (int i = 0; i < kMaxInputPayload; ++i) garbage[2 + i] = NoiseByte();
            reports.insert(reports.begin(), garbage);
        }
        return reports;
    }

    void BroadcastLocked(const std::vector<Report>& reports) {
        std::vector<std::shared_ptr<InputQueue>> targets;
        for (auto it = queues.begin(); it != queues.end();) {
            if (auto queue = it->lock()) {
                targets.push_back(std::move(queue));
                ++it;
            } else {
                it = queues.erase(it);
            }
        }
        for (const Report& report : reports)
            for (auto& queue : targets)
                if (queue->receives) queue->Push(report);
    }

    void ScheduleLocked(std::vector<Report> reports, SteadyClock::duration delay) {
        scheduled.emplace(SteadyClock::now() + delay, std::move(reports));
        if (!scheduler.Joinable())
            scheduler.Start("orv-sim-pacing", [this](std::stop_token) { RunScheduler(); });
        scheduleChanged.notify_all();
    }

    void RunScheduler() {
        std::unique_lock lock(mutex);
        while (!stopping) {
            if (scheduled.empty()) {
                scheduleChanged.wait(lock);
                continue;
            }
            const auto due = scheduled.begin()->first;
            if (SteadyClock::now() < due) {
                scheduleChanged.wait_until(lock, due);
                continue;
            }
            auto reports = std::move(scheduled.begin()->second);
            scheduled.erase(scheduled.begin());
            if (plugged) BroadcastLocked(reports);
        }
    }

    // A reply, at once or paced one report at a time.
    void SendReplyLocked(StationRequestKind kind, std::vector<Report> reports) {
        if (faults.reportPacing.count() <= 0 || !FaultApplies(kind)) {
            BroadcastLocked(reports);
            return;
        }
        SteadyClock::duration due = faults.reportPacing;
        for (Report& report : reports) {
            ScheduleLocked({report}, due);
            due += faults.reportPacing;
        }
    }

    void SendConfirmationLocked(StationRequestKind kind, const QByteArray& text) {
        auto reports = Shape(kind, text, {});
        if (!FaultApplies(kind) ||
            (!faults.holdConfirmations && faults.confirmationDelay.count() <= 0)) {
            BroadcastLocked(reports);
        } else if (faults.holdConfirmations) {
            held.insert(held.end(), reports.begin(), reports.end());
        } else {
            ScheduleLocked(std::move(reports), faults.confirmationDelay);
        }
    }

    void RespondLocked(const QString& request) {
        const StationRequestKind kind = ClassifyStationRequest(request);
        // A silent station is a dead one: it applies nothing either.
        if (faults.silent && FaultApplies(kind)) return;
        switch (kind) {
            case StationRequestKind::ReadSettings:
                SendReplyLocked(kind, Shape(kind, model.SettingReply(), {}));
                break;
            case StationRequestKind::ReadNowData:
                SendReplyLocked(kind, Shape(kind, model.NowDataReply(), {}));
                break;
            case StationRequestKind::ReadMaxMin:
                SendReplyLocked(kind, Shape(kind, model.MaxMinReply(), {}));
                break;
            case StationRequestKind::ReadSdList:
                SendReplyLocked(kind, Shape(kind, model.FileListReply(), {}));
                break;
            case StationRequestKind::ReadFileSize:
                SendReplyLocked(
                    kind,
                    Shape(kind, model.FileSizeReply(NameBeforeHttp(request, "File Size=")), {}));
                break;
            case StationRequestKind::ReadFile: {
                const QString name = DownloadName(request);
                const qint64 start = RequestValue(request, "&Start=").toLongLong();
                auto transfer = model.ReadFile(name, start);
                if (!transfer) transfer = StationModel::FileTransfer{"Read File:File<size=0>", {}};
                SendReplyLocked(kind, Shape(kind, transfer->header + transfer->data, "@"));
                break;
            }
            case StationRequestKind::Write: {
                const bool accepted =
                    !(faults.rejectWrites && FaultApplies(kind)) && model.ApplyWrite(request);
                SendConfirmationLocked(kind, accepted ? "Write success\r\n" : "Write fail\r\n");
                break;
            }
            case StationRequestKind::DeleteFile: {
                const bool deleted = model.DeleteFile(NameBeforeHttp(request, "Delet file="));
                SendConfirmationLocked(kind, deleted ? "Delete success\r\n" : "Delete fail\r\n");
                break;
            }
            case StationRequestKind::Unknown:
                break;
        }
    }

    HidIoResult WriteLocked(std::span<const std::uint8_t> report) {
        written.emplace_back(report.begin(), report.end());
        if (faults.failWritesAfter >= 0 && writesSinceFaults >= faults.failWritesAfter &&
            failedWrites < faults.failWriteCount) {
            ++failedWrites;
            return faults.failWriteResult;
        }
        ++writesSinceFaults;
        if (report.size() < 2) return HidIoResult::Done;
        QByteArray payload;
        bool complete = true;
        const auto available = std::min(report.size() - 2, kOutputPayload);
        // A report that starts a request drops an unfinished one, whose
        // sender gave up half-way.
        static const QByteArray kVerbs[] = {"Read&", "read&", "Write&", "write&"};
        for (const QByteArray& verb : kVerbs)
            if (!pendingRequest.isEmpty() && available >= static_cast<std::size_t>(verb.size()) &&
                std::equal(verb.begin(), verb.end(), report.begin() + 2))
                pendingRequest.clear();
        if (report[1] == kFullReportMarker) {
            std::size_t n = 0;
            while (n < available && report[2 + n] != 0) ++n;
            payload =
                QByteArray(reinterpret_cast<const char*>(report.data() + 2), static_cast<int>(n));
            pendingRequest.append(payload);
            // A full report may be the last of a request whose length is a
            // multiple of 59: every request ends with "http 1.0".
            complete = n < kOutputPayload || pendingRequest.endsWith("http 1.0") ||
                       pendingRequest.endsWith("http 1.0\r\n");
        } else {
            const std::size_t n = std::min<std::size_t>(report[1], available);
            pendingRequest.append(reinterpret_cast<const char*>(report.data() + 2),
                                  static_cast<int>(n));
        }
        if (!complete) {
            if (pendingRequest.size() > kMaxRequestBytes) pendingRequest.clear();
            return HidIoResult::Done;
        }
        const QString request = QString::fromLatin1(pendingRequest);
        pendingRequest.clear();
        requests.push_back(request);
        requestArrived.notify_all();
        RespondLocked(request);
        return HidIoResult::Done;
    }
};

namespace {

class SimulatedStationHandle : public HidDevice {
public:
    SimulatedStationHandle(std::shared_ptr<StationBus> impl, std::shared_ptr<InputQueue> queue,
                           HidOpenMode mode)
        : m_impl(std::move(impl)), m_queue(std::move(queue)), m_mode(mode) {}

    ~SimulatedStationHandle() override;

    HidIoResult Write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override;
    HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        received = 0;
        if (m_mode == HidOpenMode::QueryOnly) return HidIoResult::Failed;
        std::unique_lock lock(m_queue->mutex);
        const auto ready = [&] {
            return m_queue->failed || m_queue->cancelled || !m_queue->reports.empty();
        };
        if (timeout < std::chrono::milliseconds::zero())
            m_queue->ready.wait(lock, ready);
        else
            m_queue->ready.wait_for(lock, timeout, ready);
        if (m_queue->failed || m_queue->cancelled) return HidIoResult::Failed;
        if (m_queue->reports.empty()) return HidIoResult::TimedOut;
        const Report report = m_queue->reports.front();
        m_queue->reports.pop_front();
        received = std::min(buffer.size(), report.size());
        std::copy_n(report.begin(), received, buffer.begin());
        return HidIoResult::Done;
    }
    void CancelRead() override {
        {
            std::lock_guard lock(m_queue->mutex);
            m_queue->cancelled = true;
        }
        m_queue->ready.notify_all();
    }
    std::optional<HidAttributes> Attributes() override {
        std::lock_guard lock(m_queue->mutex);
        if (m_queue->failed) return std::nullopt;
        return HidAttributes{kStationVendorId, kStationProductId};
    }

private:
    std::shared_ptr<StationBus> m_impl;
    std::shared_ptr<InputQueue> m_queue;
    HidOpenMode m_mode;
};

// The unrelated device: it answers attribute queries and never sends input.
class OtherHidHandle : public HidDevice {
public:
    HidIoResult Write(std::span<const std::uint8_t>, std::chrono::milliseconds) override {
        return HidIoResult::Done;
    }
    HidIoResult Read(std::span<std::uint8_t>, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        received = 0;
        std::unique_lock lock(m_mutex);
        if (timeout < std::chrono::milliseconds::zero())
            m_never.wait(lock, [&] { return m_cancelled; });
        else
            m_never.wait_for(lock, timeout, [&] { return m_cancelled; });
        return m_cancelled ? HidIoResult::Failed : HidIoResult::TimedOut;
    }
    void CancelRead() override {
        {
            std::lock_guard lock(m_mutex);
            m_cancelled = true;
        }
        m_never.notify_all();
    }
    std::optional<HidAttributes> Attributes() override {
        return HidAttributes{StationSimulator::kOtherVendorId, StationSimulator::kOtherProductId};
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_never;
    bool m_cancelled = false;
};

}  // namespace

SimulatedStationHandle::~SimulatedStationHandle() {
    std::lock_guard lock(m_impl->mutex);
    --m_impl->openHandles;
}

HidIoResult SimulatedStationHandle::Write(std::span<const std::uint8_t> report,
                                          std::chrono::milliseconds) {
    if (m_mode != HidOpenMode::ReadWrite) return HidIoResult::Failed;
    {
        std::lock_guard lock(m_queue->mutex);
        if (m_queue->failed) return HidIoResult::Failed;
    }
    std::lock_guard lock(m_impl->mutex);
    if (!m_impl->plugged) return HidIoResult::Failed;
    return m_impl->WriteLocked(report);
}

StationSimulator::StationSimulator(std::uint32_t seed, StationModelOptions options)
    : m_impl(std::make_shared<StationBus>(seed, std::move(options))) {}

StationSimulator::~StationSimulator() {
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->stopping = true;
    }
    m_impl->scheduleChanged.notify_all();
    m_impl->scheduler.Join();
}

std::vector<HidDeviceInfo> StationSimulator::Enumerate() {
    std::lock_guard lock(m_impl->mutex);
    std::vector<HidDeviceInfo> devices;
    devices.push_back({kOtherDevicePath, kOtherVendorId, kOtherProductId});
    if (m_impl->plugged) devices.push_back({kStationPath, kStationVendorId, kStationProductId});
    return devices;
}

std::unique_ptr<HidDevice> StationSimulator::Open(const QString& path, HidOpenMode mode) {
    if (path == kOtherDevicePath) return std::make_unique<OtherHidHandle>();
    if (path != kStationPath) return nullptr;
    std::lock_guard lock(m_impl->mutex);
    if (!m_impl->plugged) return nullptr;
    auto queue = std::make_shared<InputQueue>();
    queue->receives = mode != HidOpenMode::QueryOnly;
    m_impl->queues.push_back(queue);
    ++m_impl->openHandles;
    return std::make_unique<SimulatedStationHandle>(m_impl, std::move(queue), mode);
}

void StationSimulator::SetHandler(Handler handler) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->handler = std::move(handler);
}

void StationSimulator::Plug() {
    DeviceChangeSource::Handler handler;
    {
        std::lock_guard lock(m_impl->mutex);
        if (m_impl->plugged) return;
        m_impl->plugged = true;
        m_impl->pendingRequest.clear();
        handler = m_impl->handler;
    }
    if (handler) handler(DeviceChange::Arrival);
}

void StationSimulator::Unplug() {
    DeviceChangeSource::Handler handler;
    {
        std::lock_guard lock(m_impl->mutex);
        if (!m_impl->plugged) return;
        m_impl->plugged = false;
        for (auto& weak : m_impl->queues)
            if (auto queue = weak.lock()) queue->Fail();
        m_impl->queues.clear();
        m_impl->held.clear();
        m_impl->scheduled.clear();
        handler = m_impl->handler;
    }
    if (handler) handler(DeviceChange::Removal);
}

bool StationSimulator::IsPlugged() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->plugged;
}

int StationSimulator::OpenHandleCount() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->openHandles;
}

StationModel& StationSimulator::Model() {
    return m_impl->model;
}
const StationModel& StationSimulator::Model() const {
    return m_impl->model;
}

std::vector<QString> StationSimulator::ReceivedRequests() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->requests;
}

void StationSimulator::ClearReceivedRequests() {
    std::lock_guard lock(m_impl->mutex);
    m_impl->requests.clear();
    m_impl->written.clear();
}

bool StationSimulator::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_impl->mutex);
    return m_impl->requestArrived.wait_for(lock, timeout,
                                           [&] { return m_impl->requests.size() >= count; });
}

std::vector<std::vector<std::uint8_t>> StationSimulator::WrittenReports() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->written;
}

void StationSimulator::SetFaults(const StationFaults& faults) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->faults = faults;
    m_impl->writesSinceFaults = 0;
    m_impl->failedWrites = 0;
}

StationFaults StationSimulator::Faults() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->faults;
}

void StationSimulator::ClearFaults() {
    SetFaults({});
}

void StationSimulator::ReleaseHeldReports() {
    std::lock_guard lock(m_impl->mutex);
    auto held = std::move(m_impl->held);
    m_impl->held.clear();
    if (m_impl->plugged) m_impl->BroadcastLocked(held);
}

void StationSimulator::InjectReport(const std::vector<std::uint8_t>& bytes) {
    Report report{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), report.size()), report.begin());
    std::lock_guard lock(m_impl->mutex);
    if (m_impl->plugged) m_impl->BroadcastLocked({report});
}

void StationSimulator::InjectGarbageReport() {
    std::lock_guard lock(m_impl->mutex);
    Report garbage{};
    garbage[0] = kInputReportId;
    garbage[1] = kMaxInputPayload;
    for (int i = 0; i < kMaxInputPayload; ++i) garbage[2 + i] = m_impl->NoiseByte();
    if (m_impl->plugged) m_impl->BroadcastLocked({garbage});
}

void StationSimulator::InjectPayload(const QByteArray& payload) {
    std::lock_guard lock(m_impl->mutex);
    if (m_impl->plugged) m_impl->BroadcastLocked(StationBus::Cut(payload));
}

}  // namespace orvane
