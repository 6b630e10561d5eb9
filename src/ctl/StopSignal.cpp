#include <csignal>

#include "CtlError.h"

namespace orvane::ctl {

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int) {
    g_stop = 1;
}

}  // namespace

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() {
    return g_stop != 0;
}

void ThrowIfStopped() {
    if (StopRequested())
        throw CtlError(ExitCode::Stopped,
                       QStringLiteral("Stopped; what was copied so far is kept and the next run "
                                      "continues from there."));
}

}  // namespace orvane::ctl
