#pragma once
// The option window's decisions. The form holds a working copy of the
// options: a list pick or switch change is written into it at once, the
// power-on message and password on OK.

#include "forms/form_lists.h"
#include "model/codeplug.h"

#include <array>
#include <string>
#include <vector>

namespace qtx {

inline constexpr int kOptionListCount = 19;
inline constexpr int kOptionMessageBoxes = 7;
inline constexpr int kOptionPasswordLength = 6;
inline constexpr int kOptionChannelList = 2;
inline constexpr int kOptionModeList = 0;    // couples lists 1 and 18
inline constexpr int kOptionKeyList = 14;    // word Item1716: function 10 on short presses
inline constexpr int kOptionAltList = 18;    // shown only while list 0 is at entry 1

// The lists the window builds, in order; the others stay in the record untouched.
inline constexpr std::array kOptionShownLists{0, 1, 2, 3, 5, 8, 9, 10, 11, 12, 14, 16, 17, 18};
// Label text of list k (0 = none).
int OptionListLabel(int list);

// Switches 1-3 of the window: caption text and the word they hold.
inline constexpr std::array kOptionSwitchLabels{1731, 1732, 1733};
int16_t& OptionSwitch(OptionSettings& o, int sw);
int16_t OptionSwitch(const OptionSettings& o, int sw);

struct OptionForm {
    OptionSettings work;
    std::vector<int> channelValues; // list 2: the stored value of each row
    std::array<std::string, kOptionMessageBoxes> message; // one character per box, "" = blank
    bool passwordOn = false;
    std::string password;
};

// The word list k holds.
int16_t& OptionWord(OptionSettings& o, int list);
int16_t OptionWord(const OptionSettings& o, int list);

// Channel choice: one value per channel in use (number - 1; PA 200, PB 201),
// ascending; a lone 0 when no channel is in use.
std::vector<int> OptionChannelValues(const Codeplug& cp);
std::string OptionChannelText(int value);

ListEntries OptionListEntries(const OptionForm& form, int list);
// The row list k shows; a word outside the list shows row 0 (the word is kept).
int OptionListRow(const OptionForm& form, int list);

OptionForm LoadOptionForm(const Codeplug& cp);

// The user picked `row` in list k: stored at once; list 0 also sets lists 1 and 18.
void PickOptionList(OptionForm& form, int list, int row);
void SetOptionSwitch(OptionForm& form, int sw, bool on);

struct OptionFieldStates {
    bool list1Enabled = true;
    bool list18Shown = false;
    bool passwordShown = false;
};
OptionFieldStates OptionStates(const OptionForm& form);

// OK: password and message into the working copy, the copy into the
// Codeplug; with Item1716 at 0 a short press holding function 10 becomes 0.
void ApplyOptionForm(Codeplug& cp, const OptionForm& form);

} // namespace qtx
