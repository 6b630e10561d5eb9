#include "Timing.h"

#include <atomic>
#include <memory>

namespace orvane {

namespace {
// Replaced as a whole so that readers on other threads never see a torn
// table; old tables are kept alive because references to them may remain.
std::atomic<const Timings*> g_current{new Timings()};
}  // namespace

const Timings& GetTimings() {
    return *g_current.load();
}

void SetTimings(const Timings& timings) {
    g_current.store(new Timings(timings));
}

}  // namespace orvane
