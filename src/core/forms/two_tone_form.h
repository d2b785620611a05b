#pragma once
// The 2-tone settings editor's decisions, without widgets: what the window
// shows for a TwoToneSettings record, how tone boxes and call-list cells
// react to typing, and what OK stores. The window edits a working copy of
// the record and hands it back to FinishTwoTone on OK.
//
// List values in the form are list positions (0 = first entry).

#include "model/codeplug.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qtx {

inline constexpr int kTwoToneEntryCount = 32;
inline constexpr int kTwoToneBoxCount = 4; // tones A-D

// Own code list; the position is the stored format.
inline constexpr std::array<std::string_view, 15> kTwoToneFormats = {
    "A-B", "A-C", "A-D", "B-A", "B-C", "B-D", "C-A", "C-B",
    "C-D", "D-A", "D-B", "D-C", "Long A", "Long B", "Long C"};

inline constexpr int kTwoToneDurationRows = 96; // 0.5 ... 10.0 s, stored as row + 5
inline constexpr int kTwoToneDelayRows = 21;    // 0 ... 2000 ms
inline constexpr int kTwoToneTimerRows = 251;   // 0.0 ... 25.0
inline constexpr int kTwoToneDecodeRows = 3;

// Tone limits in Hz: a tone box or call cell is kept within these.
inline constexpr double kTwoToneMinHz = 288.0;
inline constexpr double kTwoToneMaxHz = 3116.0;

// The call-list columns: 0 entry number, 1 first tone, 2 second tone, 3 name.
inline constexpr int kCallColumnFirst = 1;
inline constexpr int kCallColumnSecond = 2;
inline constexpr int kCallColumnName = 3;
inline constexpr int kCallNameLength = 7;
inline constexpr int kToneTextLength = 6;

struct TwoToneForm {
    int format = 0;
    int decodeResponse = 0;
    std::array<int, 3> durations{}; // rows of the duration lists
    int delay = 10;
    int timer = 0;
    bool sideTone = false;
    std::array<std::string, kTwoToneBoxCount> tones; // the boxes' texts

    friend bool operator==(const TwoToneForm&, const TwoToneForm&) = default;
};

// The list texts ("0.5", "100", "0.0").
std::string TwoToneDurationText(int row);
std::string TwoToneDelayText(int row);
std::string TwoToneTimerText(int row);

// Loading: out-of-range values fall back to their default rows; a tone
// whose high byte is 0 or 255 and a side tone above 1 are corrected in the
// working copy (they reach the Codeplug only through OK).
TwoToneForm LoadTwoToneForm(TwoToneSettings& work);

// The tone boxes A-D the own code format uses.
std::array<bool, kTwoToneBoxCount> EnabledToneBoxes(int format);

// A tone box being left: the text it then shows. A non-number counts as
// empty, and empty as 0; the result lies within 288...3116.
std::string ToneOnLeave(std::string_view text);
// A tone box's value at OK: a non-number is 2000 Hz; the result lies within
// 280...3116 (a stored tone below 288 that was never left stays).
double ToneAtOk(std::string_view text);

struct OwnCodeValues {
    uint16_t firstTone = 0; // Hz x 10
    uint16_t secondTone = 0;
    uint16_t firstDivider = 0; // 4 800 000 / Hz
    uint16_t secondDivider = 0;

    friend bool operator==(const OwnCodeValues&, const OwnCodeValues&) = default;
};

// The own code of a format over tones A-D in Hz (each at least 280); a
// "Long" format has no second tone.
OwnCodeValues OwnCode(int format, double a, double b, double c, double d);

// OK: stores the lists, the tone boxes and the own code in the working
// copy. The tone boxes are taken as they stand: the window runs the focused
// box's leave rule first.
void ApplyTwoToneForm(const TwoToneForm& form, TwoToneSettings& work);

// The three texts an entry shows in the call list (first tone, second
// tone, name); empty for an entry not in use.
struct CallCells {
    std::string first, second, name;
    friend bool operator==(const CallCells&, const CallCells&) = default;
};
CallCells EntryCellTexts(const TwoToneEntry& entry);

// Cell commits. Each returns the entry's cells as they now show.
// A number in the first-tone cell puts the entry in use; anything else
// clears the whole entry.
CallCells CommitFirstTone(TwoToneEntry& entry, std::string_view text);
// A non-number removes the second tone; the entry stays in use.
CallCells CommitSecondTone(TwoToneEntry& entry, std::string_view text);
CallCells CommitName(TwoToneEntry& entry, std::string_view text);
CallCells CommitCell(TwoToneEntry& entry, int column, std::string_view text);

// Columns 2 and 3 are open only while the row's first-tone cell shows a
// tone; otherwise the cursor belongs on column 1 of that row.
bool CanEnterCell(int column, std::string_view firstToneCell);

struct CellPos {
    int row = 0;
    int column = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};
// Where Enter moves the cursor from a cell. firstToneCell is the row's
// first-tone cell after the commit Enter causes.
CellPos NextCellOnEnter(CellPos from, std::string_view firstToneCell);

// OK's last step: the working copy replaces the Codeplug's 2-tone record
// and channel call references follow the entries still in use.
void FinishTwoTone(Codeplug& cp, const TwoToneSettings& work);

} // namespace qtx
