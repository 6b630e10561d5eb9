#pragma once

#include <QString>

namespace orvane {

// The units of the last imported log file, taken from its header titles;
// the graph window shows them as value-axis captions.
struct UnitCaptions {
    QString temperature;  // title 2
    QString pressure;     // title 4
    QString rain;         // title 11
    QString wind;         // title 6
    QString light;        // title 15
};

}  // namespace orvane
