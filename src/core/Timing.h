#pragma once

#include <chrono>

namespace orvane {

using Millis = std::chrono::milliseconds;

// Every duration of the protocol and the windows in one table. The
// application uses the defaults; tests shorten them (never sleep for the
// real ones) through SetTimings, before the components that read them start.
struct Timings {
    Millis reportWait{50};          // one HID report write or read
    Millis reportPause{20};         // pause after each output report
    Millis autoReadPeriod{16000};   // current-readings poll
    Millis linkPass{100};           // link thread pass, status refresh
    Millis clockTick{1000};         // clock pickers
    Millis readButtonReturn{2100};  // Read and Save All come back
    Millis sdCardButtonReturn{2000};  // SDCard File comes back without a list
    Millis nowDataWaitBeforeRead{500};
    Millis settingsBusyWait{500};  // the settings handler's single wait
    Millis nowDataWaitBeforeWrite{200};
    Millis writePause{100};  // after a single-request write
    Millis nowDataWaitBeforeSaveAll{500};
    Millis fullWritePause{10};     // after each request of Save All and the reset
    Millis downloadSilence{5000};  // watchdog: a stalled download
    Millis fileSizeSilence{1000};  // watchdog: a stalled size listing
};

const Timings& GetTimings();
void SetTimings(const Timings& timings);

}  // namespace orvane
