// Any stream of input reports, whatever request the program was waiting
// for: the dispatcher hands over only complete replies, never reads beyond
// a report, and leaves no transfer running once the stream is over.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FakeConsumers.h"
#include "FuzzCheck.h"
#include "ReplyDispatcher.h"
#include "Timing.h"

using namespace orvane;
using orvane::fuzz::Require;

namespace {
constexpr std::size_t kReportSize = 64;

// No stall ends a transfer while an input is fed: the inputs are about
// assembly, and a watchdog firing depends on the machine's speed.
const bool g_timings = [] {
    Timings t;
    t.downloadSilence = Millis(600000);
    t.fileSizeSilence = Millis(600000);
    SetTimings(t);
    return true;
}();
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ExchangeState state;
    // The first byte says what the program was waiting for.
    state.awaitingSetting = (data[0] & 1) != 0;
    state.awaitingNowData = (data[0] & 2) != 0;
    state.awaitingMaxMin = (data[0] & 4) != 0;
    state.awaitingSdList = (data[0] & 8) != 0;
    state.requestBusy = (data[0] & 16) != 0;
    test::RecordingConsumers consumers;
    consumers.lastRow = data[0] >> 5;
    test::RecordingEvents events;
    TaskThreads tasks;
    std::atomic<qint64> downloadTotal{0};
    {
        TransferWatchdogs watchdogs{state, &consumers, tasks};
        ReplyDispatcher dispatcher{
            state, ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events},
            watchdogs, downloadTotal};
        const std::span<const std::uint8_t> rest(data + 1, size - 1);
        for (std::size_t at = 0; at < rest.size(); at += kReportSize)
            dispatcher.HandleReport(rest.subspan(at, std::min(kReportSize, rest.size() - at)));
        watchdogs.Shutdown();
    }
    tasks.JoinAll();
    for (const QString& call : consumers.Calls()) {
        if (call.startsWith(QLatin1String("settings:")))
            Require(call.contains(QLatin1String("\r\n@")));
        for (const char* kind : {"nowdata:", "maxmin:", "list:"})
            if (call.startsWith(QLatin1String(kind))) Require(call.contains(u'@'));
    }
    return 0;
}
