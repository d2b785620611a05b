#pragma once
// The emergency alarm window's decisions. The form holds the working copy
// and the row of every list; OK turns rows back into bytes.

#include "forms/form_lists.h"
#include "model/codeplug.h"

#include <array>
#include <string>
#include <vector>

namespace qtx {

enum class AlarmIdType : int { None = 0, Dtmf = 1, FiveTone = 2 };
inline constexpr int kAlarmIdTypeCount = 3;
// Labels of the fields the window shows, in order: lists 0-6, 8, 9, the
// auto-detect switch, pre-alert and lone worker.
inline constexpr std::array kAlarmLabels{7210, 7211, 7212, 7213, 7214, 7215, 7216, 7217, 7218, 7219, 7220, 7221};

ListEntries AlarmKindEntries();    // list 0
ListEntries AlarmIdTypeEntries();  // list 1
ListEntries AlarmSecondsEntries(); // lists 3-5: 1 ... 255
ListEntries AlarmChannelChoiceEntries(); // list 6
ListEntries AlarmCycleEntries();   // list 9: text 2636, then 1 ... 255
ListEntries PreAlertEntries();     // 1 ... 254
ListEntries LoneWorkerEntries();   // 5 ... 255

// The ID codes a type offers, as the values byte 2 stores: DTMF memory
// codes in use (position k), 5-tone calls in use (a lone 0 when none),
// nothing for none.
std::vector<int> IdCodeEntries(const Codeplug& cp, int type);
// "M" k + 1 for DTMF, the number for 5-tone.
std::string IdCodeText(int type, int value);

struct AlarmForm {
    EmergencySettings work;
    std::vector<int> idCodes;  // list 2: byte 2 per row
    std::vector<int> channels; // list 8: number - 1 per row
    int kind = 0;              // list 0
    int idType = 0;            // list 1
    int idCode = 0;            // row in idCodes
    int alarmTime = 0, txTime = 0, rxTime = 0; // rows: seconds - 1
    int channelChoice = 0;     // list 6
    int channel = 0;           // row in channels
    int cycle = 0;             // list 9
    bool autoDetect = false;
    int preAlert = 0;          // row: seconds - 1
    int loneWorker = 0;        // row: seconds - 5
};

// A type outside the list opens as none.
AlarmForm LoadAlarmForm(const Codeplug& cp);
// Rebuilds the ID code list at its first entry.
void SetAlarmIdType(AlarmForm& form, const Codeplug& cp, int row);

struct AlarmFieldStates {
    bool alarmTime = false;  // list 3
    bool idAndTimes = false; // lists 1, 2, 4, 5
    bool channel = false;    // list 8
    bool loneWorker = false; // both lone-worker lists
};
AlarmFieldStates AlarmStates(const AlarmForm& form);

// Every byte from the rows; an empty ID or channel list stores 0.
void ApplyAlarmForm(Codeplug& cp, const AlarmForm& form);

} // namespace qtx
