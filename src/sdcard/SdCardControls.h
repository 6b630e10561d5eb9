#pragma once

namespace orvane {

// Control ids of the SD-card window (dialog 153).
namespace SdCardId {
inline constexpr int kExit = 2;
inline constexpr int kSaveAs = 1005;
inline constexpr int kDeleteFile = 1007;
inline constexpr int kGraph = 1008;
inline constexpr int kHiddenCombo = 1009;
inline constexpr int kImportTable = 1203;
inline constexpr int kStatus = 1204;
inline constexpr int kSelectedSize = 1205;
inline constexpr int kProgress = 1206;
inline constexpr int kFileList = 1209;
inline constexpr int kSelectedName = 1210;
inline constexpr int kNameLabel = 1233;
inline constexpr int kSizeLabel = 1234;
}  // namespace SdCardId

}  // namespace orvane
