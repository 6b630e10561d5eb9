#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "CtlError.h"

namespace orvane::ctl {

namespace {

volatile std::sig_atomic_t g_stop = 0;
// Written by the handler, whichever thread it runs on, so a sleep that polls
// the other end wakes at once, even for a signal that came just before it.
int g_wakePipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    g_stop = 1;
    if (g_wakePipe[1] >= 0) {
        const int saved = errno;
        [[maybe_unused]] const ssize_t written = ::write(g_wakePipe[1], "s", 1);
        errno = saved;
    }
}

}  // namespace

void InstallStopHandlers() {
    if (g_wakePipe[0] < 0 && ::pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wakePipe[0] = g_wakePipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() {
    return g_stop != 0;
}

bool SleepUnlessStopped(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (!StopRequested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        // Without handlers (no pipe) the descriptor -1 is ignored: a plain sleep.
        pollfd wake{g_wakePipe[0], POLLIN, 0};
        ::poll(&wake, 1, static_cast<int>(left.count()));
    }
    return !StopRequested();
}

void ThrowIfStopped() {
    if (StopRequested())
        throw CtlError(ExitCode::Stopped,
                       QStringLiteral("Stopped; what was copied so far is kept and the next run "
                                      "continues from there."));
}

}  // namespace orvane::ctl
