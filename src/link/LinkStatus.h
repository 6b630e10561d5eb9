#pragma once

#include "Clock.h"
#include "ControlWindow.h"

namespace orvane {

// Control ids and texts the connection threads show in the settings window.
inline constexpr const char* kSettingsWindowTitle = "Orvane   Ver1.6";
inline constexpr int kStatusPartConnection = 1;
inline constexpr int kStringConnected = 136;
inline constexpr int kStringUnconnected = 137;
inline constexpr int kTimePickerDate = 1020;
inline constexpr int kTimePickerTime = 1021;
inline constexpr int kReadButton = 1073;
inline constexpr int kSaveAllButton = 1;

// The link status refresh: the title, and "Connected" (136) or
// "UnConnected" (137) in status-bar part 1. Any thread (the window call
// waits for the GUI thread).
void ShowLinkStatus(ControlWindow& settingsWindow, bool stationAttached);
// The clock tick: the computer's local date and time into both pickers of
// the Time group. Any thread.
void ShowClockTick(ControlWindow& settingsWindow, const Clock& clock);

}  // namespace orvane
