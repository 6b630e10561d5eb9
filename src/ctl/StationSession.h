#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "COrvaneDlg.h"
#include "CReadSDcard.h"
#include "Clock.h"
#include "CurrentReadings.h"
#include "ExchangeState.h"
#include "HidBackend.h"
#include "OwnedThread.h"
#include "ReplyHandlers.h"
#include "SdCardLayout.h"
#include "SettingsLayout.h"
#include "StationSettings.h"
#include "UnitSelection.h"
#include "WriteContext.h"

namespace orvane {
class DeviceLink;
class StationSimulator;
}  // namespace orvane

namespace orvane::ctl {

struct SessionOptions {
    bool simulate = false;
    QString dataFolder;  // Main.ini, Orvane.mdb, downloads
    // How long a reply may keep the tool waiting without a report arriving.
    std::chrono::milliseconds replyTimeout{5000};
    // Test hooks for --simulate: the simulated station's clock stands still,
    // and a fault is set on it ("silent", "unplugged",
    // "unplug-during:KIND[:REPORTS]", "reject-writes").
    bool frozenStationClock = false;
    QString simulatorFault;
};

// The tool's connection to the station: the same request connection,
// receive thread, reply handlers and in-memory settings window that the
// window's logic uses, driven from the command's thread. Every request
// waits for its reply and throws CtlError when the station is absent,
// silent or goes away.
//
// Main thread, except the reply handlers, which the receive thread calls.
class StationSession {
public:
    explicit StationSession(const SessionOptions& options);
    ~StationSession();
    StationSession(const StationSession&) = delete;
    StationSession& operator=(const StationSession&) = delete;

    // Whether the station is on the bus (no request sent).
    bool StationPresent();
    // The SD-card window's logic, its downloads going to `folder`; its
    // import does nothing (the commands import themselves). Before Connect.
    CReadSDcard& PrepareCard(const QString& folder);
    // Starts the receive connection; throws when there is no station.
    void Connect();

    // The card's file list with the sizes, as the SD-card window opens.
    void ListCard();
    // Downloads `name` into the card's folder, resuming from the end of its
    // local copy; `progress` gets (bytes so far, bytes announced). Returns
    // the bytes that travelled. A station that stops sending ends it with a
    // CtlError and the bytes that did arrive kept for the next try.
    qint64 DownloadFile(const QString& name,
                        const std::function<void(qint64, qint64)>& progress = {});
    // Deletes `name` from the card (and its local copy, as the window does).
    void DeleteCardFile(const QString& name);
    CReadSDcard& Card() { return *m_card; }
    MemorySdCardWindow& CardWindow() { return m_cardWindow; }
    MemorySdCardView& CardView() { return m_cardView; }

    // The settings read of the Read button: the reply is parsed and applied
    // to Window(). Throws on a reply the parser refuses.
    StationSettings ReadSettings();
    CurrentReadings ReadNowData();
    // The complete "MAX MIN:" reply.
    QString ReadMaxMin();

    // Waits until `done` holds; throws when `activity` (a count that grows
    // while the station sends) stands still for the reply timeout.
    void WaitFor(const std::function<bool()>& done, const QString& what,
                 const std::function<qint64()>& activity = {});
    // Throws the right failure for a request that got no answer.
    [[noreturn]] void Unanswered(const QString& what);

    HidBackend& Backend() { return *m_backend; }
    StationSimulator* Simulator() { return m_simulator; }
    ExchangeState& State() { return m_state; }
    COrvaneDlg& MainDialog() { return *m_mainDialog; }
    MemorySettingsWindow& Window() { return m_window; }
    UnitSelection& Units() { return m_units; }
    const Clock& PcClock() const { return m_clock; }
    WriteContext& Writes() { return *m_writes; }
    const SessionOptions& Options() const { return m_options; }

private:
    class Consumers;
    void ApplySimulatorFault();

    SessionOptions m_options;
    SystemClock m_clock;
    std::unique_ptr<HidBackend> m_backend;
    StationSimulator* m_simulator = nullptr;
    ExchangeState m_state;
    std::unique_ptr<COrvaneDlg> m_mainDialog;
    MemorySettingsWindow m_window;
    UnitSelection m_units;
    std::unique_ptr<Consumers> m_consumers;
    std::unique_ptr<WriteContext> m_writes;
    MemorySdCardWindow m_cardWindow;
    MemorySdCardView m_cardView;
    std::unique_ptr<CReadSDcard> m_card;
    std::atomic<bool> m_listArrived{false};
    std::unique_ptr<DeviceLink> m_link;
    OwnedThread m_faultThread;
};

}  // namespace orvane::ctl
