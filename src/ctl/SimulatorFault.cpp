#include "SimulatorFault.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <mutex>

#include "CUSBDrive.h"
#include "CtlError.h"
#include "StationSimulator.h"

namespace orvane::ctl {

namespace {

// When the station is pulled out, counted in the traffic of one run.
struct UnplugPlan {
    StationRequestKind kind = StationRequestKind::Unknown;
    int nth = 1;
    // Reports the receive connection reads after the request before the
    // unplug; 0: before the request goes out.
    int reports = 0;
    // The power fails instead: the tool itself ends there.
    bool powerLoss = false;
};

// Shared by the bus and every handle it opened; any thread.
class UnplugTrigger {
public:
    UnplugTrigger(StationSimulator& simulator, UnplugPlan plan)
        : m_simulator(simulator), m_plan(plan) {}

    // An output report is about to be written.
    void Writing(std::span<const std::uint8_t> report) {
        const StationRequestKind kind = RequestStartedBy(report);
        if (kind == StationRequestKind::Unknown) return;
        bool unplug = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_done) return;
            // The reply of the watched request was shorter than the reports
            // to wait for: the station goes before it hears anything else.
            if (m_armed) {
                unplug = true;
            } else if (kind == m_plan.kind && ++m_seen == m_plan.nth) {
                if (m_plan.reports == 0)
                    unplug = true;
                else
                    m_armed = true;
            }
            m_done = unplug;
        }
        if (unplug) Strike();
    }

    // The receive connection read one input report.
    void Read() {
        {
            std::lock_guard lock(m_mutex);
            if (m_done || !m_armed || ++m_readSinceArmed < m_plan.reports) return;
            m_done = true;
        }
        // Before the report is handed on: the reports still queued behind it
        // never arrive, as when the cable is pulled mid-reply.
        Strike();
    }

private:
    void Strike() {
        if (m_plan.powerLoss) CutPower();
        m_simulator.Unplug();
    }

    // The kind of request whose first report this is; Unknown for the later
    // reports of a long request and for anything else.
    static StationRequestKind RequestStartedBy(std::span<const std::uint8_t> report) {
        if (report.size() < 3) return StationRequestKind::Unknown;
        const auto length = std::min<std::size_t>(
            {report[1], std::size_t(CUSBDrive::kReportPayload), report.size() - 2});
        const auto begin = report.begin() + 2;
        const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(length), 0);
        const QString text = QString::fromLatin1(reinterpret_cast<const char*>(&*begin),
                                                 static_cast<qsizetype>(end - begin));
        return ClassifyStationRequest(text);
    }

    StationSimulator& m_simulator;
    const UnplugPlan m_plan;
    std::mutex m_mutex;
    int m_seen = 0;
    int m_readSinceArmed = 0;
    bool m_armed = false;
    bool m_done = false;
};

class TriggeringHandle : public HidDevice {
public:
    TriggeringHandle(std::unique_ptr<HidDevice> inner, std::shared_ptr<UnplugTrigger> trigger,
                     HidOpenMode mode)
        : m_inner(std::move(inner)), m_trigger(std::move(trigger)), m_mode(mode) {}

    HidIoResult Write(std::span<const std::uint8_t> report,
                      std::chrono::milliseconds timeout) override {
        m_trigger->Writing(report);
        return m_inner->Write(report, timeout);
    }
    HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        const HidIoResult result = m_inner->Read(buffer, timeout, received);
        if (result == HidIoResult::Done && m_mode == HidOpenMode::ReadOnly) m_trigger->Read();
        return result;
    }
    void CancelRead() override { m_inner->CancelRead(); }
    std::optional<HidAttributes> Attributes() override { return m_inner->Attributes(); }

private:
    std::unique_ptr<HidDevice> m_inner;
    std::shared_ptr<UnplugTrigger> m_trigger;
    HidOpenMode m_mode;
};

class TriggeringBus : public HidBackend {
public:
    TriggeringBus(StationSimulator& simulator, UnplugPlan plan)
        : m_simulator(simulator), m_trigger(std::make_shared<UnplugTrigger>(simulator, plan)) {}

    std::vector<HidDeviceInfo> Enumerate() override { return m_simulator.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const QString& path, HidOpenMode mode) override {
        std::unique_ptr<HidDevice> inner = m_simulator.Open(path, mode);
        if (!inner) return nullptr;
        return std::make_unique<TriggeringHandle>(std::move(inner), m_trigger, mode);
    }

private:
    StationSimulator& m_simulator;
    std::shared_ptr<UnplugTrigger> m_trigger;
};

[[noreturn]] void UnknownFault(const QString& fault) {
    throw CtlError(ExitCode::Usage, QStringLiteral("unknown simulator fault \"%1\"").arg(fault));
}

StationRequestKind KindNamed(const QString& name, const QString& fault) {
    static const std::pair<const char*, StationRequestKind> kinds[] = {
        {"settings", StationRequestKind::ReadSettings},
        {"nowdata", StationRequestKind::ReadNowData},
        {"maxmin", StationRequestKind::ReadMaxMin},
        {"list", StationRequestKind::ReadSdList},
        {"size", StationRequestKind::ReadFileSize},
        {"file", StationRequestKind::ReadFile},
        {"write", StationRequestKind::Write},
        {"delete", StationRequestKind::DeleteFile},
    };
    for (const auto& [text, kind] : kinds)
        if (name == QLatin1String(text)) return kind;
    UnknownFault(fault);
}

// A count of the fault text, `fallback` when left out; at least `least`.
int CountAt(const QStringList& parts, qsizetype at, int fallback, int least, const QString& fault) {
    if (parts.size() <= at) return fallback;
    bool ok = false;
    const int value = parts[at].toInt(&ok);
    if (!ok || value < least) UnknownFault(fault);
    return value;
}

}  // namespace

void CutPower() {
    // SIGKILL: no handler, no destructor, no buffered write runs, as when
    // the computer loses its power.
    std::raise(SIGKILL);
    std::abort();
}

bool PowerFailsDuring(const QString& fault, const QString& step, int nth) {
    const QStringList parts = fault.split(u':');
    return parts.size() >= 2 && parts[0] == QLatin1String("power-loss-during") &&
           parts[1] == step && parts.value(2, QStringLiteral("1")).toInt() == nth;
}

std::unique_ptr<HidBackend> ApplySimulatorFault(StationSimulator& simulator, const QString& fault) {
    if (fault.isEmpty()) return nullptr;
    StationFaults faults;
    if (fault == QLatin1String("unplugged")) {
        simulator.Unplug();
        return nullptr;
    }
    if (fault == QLatin1String("silent")) {
        faults.silent = true;
        simulator.SetFaults(faults);
        return nullptr;
    }
    if (fault == QLatin1String("reject-writes")) {
        faults.rejectWrites = true;
        simulator.SetFaults(faults);
        return nullptr;
    }
    const QStringList parts = fault.split(u':');
    UnplugPlan plan;
    if (parts.size() < 2) UnknownFault(fault);
    if (parts[0] == QLatin1String("power-loss-during")) {
        // The import steps are the sync's to cut (PowerFailsDuring).
        if (parts[1] == QLatin1String("history") && parts.size() == 2) return nullptr;
        if (parts[1] == QLatin1String("archive") && parts.size() <= 3) {
            CountAt(parts, 2, 1, 1, fault);
            return nullptr;
        }
        plan.powerLoss = true;
    }
    plan.kind = KindNamed(parts[1], fault);
    if (parts[0] == QLatin1String("unplug-before") && parts.size() <= 3) {
        plan.nth = CountAt(parts, 2, 1, 1, fault);
    } else if ((parts[0] == QLatin1String("unplug-during") || plan.powerLoss) &&
               parts.size() <= 4) {
        plan.reports = CountAt(parts, 2, 2, 1, fault);
        plan.nth = CountAt(parts, 3, 1, 1, fault);
    } else {
        UnknownFault(fault);
    }
    return std::make_unique<TriggeringBus>(simulator, plan);
}

}  // namespace orvane::ctl
