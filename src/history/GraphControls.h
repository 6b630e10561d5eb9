#pragma once

namespace orvane {

// Control ids of the graph window (dialog 156).
namespace GraphId {
inline constexpr int kSearch = 1005;
inline constexpr int kCancel = 1007;
inline constexpr int kQuantity = 1009;  // drop-down list of the seven quantities
inline constexpr int kSave = 1011;      // the chart as PNG, or the shown readings as CSV
inline constexpr int kStartDate = 1020;
inline constexpr int kStartTime = 1021;
inline constexpr int kEndDate = 1022;
inline constexpr int kEndTime = 1023;
inline constexpr int kChart = 1238;
inline constexpr int kStartLabel = 1239;
inline constexpr int kEndLabel = 1240;
}  // namespace GraphId

}  // namespace orvane
