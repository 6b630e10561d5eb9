#pragma once

namespace orvane {

// Control ids of the log window (dialog 146); the control carries its id as
// its object name.
namespace ShowLogId {
inline constexpr int kLogText = 1000;  // the read-only, multi-line log text
}  // namespace ShowLogId

}  // namespace orvane
