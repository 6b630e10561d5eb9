#pragma once

#include <array>

namespace orvane {

// Control ids of the max/min window (dialog 152): the four reply blocks
// (history max, history min, today's max, today's min) and the exit button.
namespace MaxMinId {
inline constexpr int kExit = 1;
inline constexpr int kHistoryMax = 1197;
inline constexpr int kHistoryMin = 1198;
inline constexpr int kTodayMax = 1199;
inline constexpr int kTodayMin = 1200;
inline constexpr std::array<int, 4> kBlocks = {kHistoryMax, kHistoryMin, kTodayMax, kTodayMin};
}  // namespace MaxMinId

}  // namespace orvane
