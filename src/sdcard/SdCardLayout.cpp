#include "SdCardLayout.h"

#include "SdCardControls.h"

namespace orvane {

namespace {

using K = ControlKind;
using namespace SdCardId;

constexpr ControlSpec kSdCardControls[] = {
    {kExit, K::Button},
    {kSaveAs, K::Button},
    {kDeleteFile, K::Button},
    {kGraph, K::Button},
    {kHiddenCombo, K::Combo, 0, true},
    {kImportTable, K::View},
    {kStatus, K::Label},
    {kSelectedSize, K::Label},
    {kProgress, K::View},
    {kFileList, K::View},
    {kSelectedName, K::Label},
    {kNameLabel, K::Label},
    {kSizeLabel, K::Label},
};

}  // namespace

ControlLayout SdCardControlLayout() {
    return kSdCardControls;
}

}  // namespace orvane
