#include "GraphLayout.h"

#include "GraphControls.h"

namespace orvane {

namespace {

using K = ControlKind;
using namespace GraphId;

constexpr ControlSpec kGraphControls[] = {
    {kChart, K::View},           {kStartLabel, K::Label},     {kEndLabel, K::Label},
    {kStartDate, K::DatePicker}, {kStartTime, K::TimePicker}, {kEndDate, K::DatePicker},
    {kEndTime, K::TimePicker},   {kQuantity, K::Combo},       {kSearch, K::Button},
    {kCancel, K::Button},        {kSave, K::Button},
};

}  // namespace

ControlLayout GraphControlLayout() {
    return kGraphControls;
}

}  // namespace orvane
