#pragma once

#include <cstdint>

namespace orvane {

// The mark of a missing reading in every quantity column.
inline constexpr int NoValue = 65535;

// One row of the Records table in memory, filled by the log import and
// written by HistoryDatabase::AddRecord. Members carry the column names.
struct HistoryRecord {
    double Time = 0.0;  // days since 1899-12-30 00:00, time of day as fraction
    std::int32_t TimeStatus = 0;
    float OutTemp = 0;
    std::int32_t OutHumi = 0;
    float RelPressure = 0;
    float AbsPressure = 0;
    float Wind = 0;
    float Gust = 0;
    std::int32_t WindDirection = 0;
    float DewPoint = 0;
    float RainDay = 0;
    float RainWeek = 0;
    float RainMonth = 0;
    float RainYear = 0;
    float Rain = 0;
    float Light = 0;
    std::int32_t Extra = 0;  // log column 16: kept, never stored
    std::int32_t UV = 0;
    std::int32_t No = 0;
};

}  // namespace orvane
