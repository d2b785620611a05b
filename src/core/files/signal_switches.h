#pragma once
// "Setting.ini": despite its name, ten bytes — five little-endian int16
// switches that make the signalling editors reachable.

#include "model/result.h"

#include <cstdint>
#include <string>

namespace qtx {

struct SignalViewSwitches {
    int16_t FiveTone = 0;
    int16_t TwoTone = 0;
    int16_t Dtmf = 0;
    int16_t RadioFlag = 0;       // filled from a radio's identification
    int16_t SwitchMenuShown = 0; // the switch items of the Help menu are shown

    friend bool operator==(const SignalViewSwitches&, const SignalViewSwitches&) = default;
};

// All switches off when the file is missing, short or unreadable.
SignalViewSwitches ReadSignalViewSwitches(const std::string& path);
// Writes the ten bytes at the start of the file (created when absent);
// anything after them is kept. A file that exists but cannot be read is
// left alone and the error returned.
Result<void> WriteSignalViewSwitches(const std::string& path, const SignalViewSwitches& switches);

} // namespace qtx
