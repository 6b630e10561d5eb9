#include "MaxMinLayout.h"

#include "MaxMinControls.h"

namespace orvane {

namespace {

using K = ControlKind;
using namespace MaxMinId;

constexpr ControlSpec kMaxMinControls[] = {
    {kExit, K::Button},   {kHistoryMax, K::Edit}, {kHistoryMin, K::Edit},
    {kTodayMax, K::Edit}, {kTodayMin, K::Edit},
};

}  // namespace

ControlLayout MaxMinControlLayout() {
    return kMaxMinControls;
}

}  // namespace orvane
