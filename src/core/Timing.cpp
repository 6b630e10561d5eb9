#include "Timing.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace orvane {

namespace {
// Replaced as a whole so that readers on other threads never see a torn
// table. References to an old table may remain, so every table stays in
// this store for the life of the process; it is reachable, not leaked, and
// only tests ever set more than the default.
std::mutex g_storeMutex;
std::deque<Timings>& Store() {
    static std::deque<Timings> store(1);
    return store;
}
std::atomic<const Timings*> g_current{&Store().front()};
}  // namespace

const Timings& GetTimings() {
    return *g_current.load();
}

void SetTimings(const Timings& timings) {
    const std::lock_guard lock(g_storeMutex);
    // A deque never moves its elements when it grows at the back.
    g_current.store(&Store().emplace_back(timings));
}

}  // namespace orvane
