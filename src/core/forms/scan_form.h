#pragma once
// The scan window's decisions. The form holds the working copy and the row
// of every list; OK turns rows back into bytes.

#include "forms/form_lists.h"
#include "model/codeplug.h"

#include <array>
#include <vector>

namespace qtx {

inline constexpr int kRevertMasterCount = 8;
// Labels of the fields the window shows, in order: lists 0-4, 7-10, beep.
inline constexpr std::array kScanLabels{7200, 7201, 7202, 7203, 7204, 7205, 7206, 7207, 7208, 7209};
inline constexpr int kPriorityModeCount = 4;

ListEntries ScanPriorityEntries();     // list 0
ListEntries ScanModeEntries();         // list 1
ListEntries RevertMasterEntries();     // the eight revert channels
ListEntries ScanLookBackEntries();     // lists 7, 8: 0.5 ... 5.0
ListEntries ScanResumeEntries();       // lists 9, 10: 0.1 ... 5.0
ListEntries ScanTypeEntries();         // list 11 (not shown)
ListEntries ScanWaitEntries();         // list 12 (not shown): 50 ... 6375
// Tenths of a second as "0.0".
std::string TenthsText(int tenths);

// The master positions the revert list offers under a priority mode; a mode
// outside 0-3 offers what mode 0 does (the mode list shows it as 0).
std::vector<int> RevertEntries(int mode);

struct ScanForm {
    ScanSettings work;
    std::vector<int> channels; // lists 2 and 4: number - 1 per row
    int priority = 0;          // list 0
    int mode = 0;              // list 1
    int channel1 = 0;          // row in channels
    int channel2 = 0;
    int revert = 0;            // row in RevertEntries(mode)
    int lookBackA = 0, lookBackB = 0, rxResume = 0, txResume = 0;
    int scanType = 0, waitTime = 0;
    bool beep = false;
};

ScanForm LoadScanForm(const Codeplug& cp);

void SetScanPriority(ScanForm& form, int row);
// The revert list is rebuilt for the mode and keeps its master entry when
// offered, else takes the first offered one.
void SetScanMode(ScanForm& form, int row);
void SetScanRevert(ScanForm& form, int row);

struct ScanFieldStates {
    bool others = false;  // lists 1, 6-10 and the beep
    bool channel1 = false; // lists 2, 3
    bool channel2 = false; // lists 4, 5
};
ScanFieldStates ScanStates(const ScanForm& form);

// Bytes 0-9, 11, 13 from the rows (a channel list without entries gives 0);
// bytes 10 and 12 kept.
void ApplyScanForm(Codeplug& cp, const ScanForm& form);

} // namespace qtx
