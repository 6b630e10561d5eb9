#pragma once

namespace orvane {

// Control ids of the about box (dialog 100); each control carries its id as
// its object name.
namespace AboutBoxId {
inline constexpr int kWebLink = 1183;    // [About] Web of Main.ini, drawn as a link
inline constexpr int kCopyright = 1184;  // [Copyright] Copyright of Main.ini
}  // namespace AboutBoxId

}  // namespace orvane
