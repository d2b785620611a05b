#pragma once
// The 5-tone settings editor's decisions, without widgets: the rows the
// lists show for a FiveToneSettings record, the forms a stored code takes
// in the call list, the own-ID rewrite, the information codes and their
// kill/stun/waken check, the call-list cells, and what OK stores. The window
// edits a working copy of the record; the decode time, kept outside it, is
// held in the form until OK.

#include "forms/five_tone_standards.h"
#include "model/codeplug.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

inline constexpr int kFiveToneCallCount = 100;
inline constexpr int kFiveToneInfoCount = 8;
inline constexpr int kOwnIdLength = 5;
inline constexpr int kFiveTonePttIdLength = 24; // digits the radio holds
inline constexpr int kCallCodeLength = 40;
inline constexpr int kInfoCodeLength = 12;
inline constexpr int kFiveToneNameLength = 7;

// --- Main fields: list rows <-> stored values ---------------------------------

// The value lists of the main fields. Each stored value maps to a row;
// a value without a row shows row 0.
enum class FiveToneList {
    DecodeResponse, // 0-2 = row
    ToneLength,     // 30, 40 ... 100 ms
    PreSendDelay,   // setting 60081: row + 1, 255 rows (10 ... 2550)
    AutoReset,      // setting 60307: row, 251 rows (0.0 ... 25.0)
    PostSendDelay,  // setting 60308: row + 1
    RingTime,       // setting 60309: 0 = Off, 5 ... 75
    FirstDigitDelay,// row + 1, 255 rows
    PauseCode,      // 0 = Off, 11, 12, 13, 15 (B, C, D, F)
    PauseTime,      // row, 256 rows (0 ... 2550)
    DecodeTime,     // row, 201 rows (0 ... 2000)
    FirstCodeDelay, // row, 251 rows (0 ... 2500)
};

struct FiveToneListEntry {
    int textId = 0;   // 1755 (Off) or 0 for the literal
    std::string text; // ASCII
};
std::vector<FiveToneListEntry> FiveToneListEntries(FiveToneList list);
int FiveToneRowOfValue(FiveToneList list, int value);
int FiveToneValueOfRow(FiveToneList list, int row);

// A standard list: the 14 listed standards, plus the stored standard as a
// last row when it is EIA or the user set. Values in row order.
std::vector<int> StandardRows(int stored);
// The tone length choosing a standard sets, none for the extra rows
// (choosing them keeps the tone length).
std::optional<int> ToneLengthOnChoosing(int standard);

// --- Codes ---------------------------------------------------------------------

// A stored code as its box shows it: cut to its length, or padded with the
// repeat tone "E" up to it.
std::string CodeAtLength(std::string_view code, int length);

// The called part of a code with each repeat tone "E" replaced by the
// character it repeats (a leading "E" stays): characters [start, start +
// count) of the code decoded from its start.
std::string Mid5ToneNoE(std::string_view code, size_t start, size_t count);

enum class FiveToneCallType { Plain, DataCall, PttId, Ani };
struct CodeCells {
    FiveToneCallType type = FiveToneCallType::Plain;
    std::string code; // plain: the code; ANI: the called part; data call: the message
    friend bool operator==(const CodeCells&, const CodeCells&) = default;
};
// The forms, tried in order: data call "E1" + 8 or more characters with
// the 8th "E"; PTT-ID "E6" + 6 or more; ANI (IsSpecialCode); else plain.
CodeCells ClassifyFiveToneCode(std::string_view code, int length, std::string_view own);

// The own ID changed from `previous` to `own`: a code "E2"/"E6" followed by
// the own-ID mark or the previous ID, or an ANI code ending in the previous ID,
// gets the new ID, encoded again with its length. Other codes stay.
// True when the code changed.
bool RewriteOwnId(FiveToneCode& code, std::string_view previous, std::string_view own);

// --- The form ----------------------------------------------------------------

struct PttIdForm {
    int standard = 0;   // stored value (0-15)
    int toneLength = 4; // row
    std::string code;   // as shown
    friend bool operator==(const PttIdForm&, const PttIdForm&) = default;
};

struct InfoCodeForm {
    int function = 0; // 0-6
    int response = 0; // row
    std::string code;
    std::string name;
    friend bool operator==(const InfoCodeForm&, const InfoCodeForm&) = default;
};

struct FiveToneForm {
    std::string ownId;
    int standard = 0; // stored value (0-15)
    int decodeResponse = 0, toneLength = 4, preSendDelay = 0, autoReset = 0, postSendDelay = 0, ringTime = 0,
        firstDigitDelay = 0, pauseCode = 0, pauseTime = 0, decodeTime = 0, firstCodeDelay = 0; // rows
    bool sideTone = false;
    std::array<PttIdForm, 2> pttId; // begin, end
    int shownInfo = 0;              // 0-7 (numbers 1-8)
    InfoCodeForm info;              // the shown information code

    friend bool operator==(const FiveToneForm&, const FiveToneForm&) = default;
};

// Loading: the corrections of out-of-range stored values are made in the
// working copy (they reach the Codeplug only through OK); the first
// information code is shown.
void CorrectFiveTone(FiveToneSettings& work);
FiveToneForm LoadFiveToneForm(FiveToneSettings& work, uint8_t decodeTime);

// The pause time means something only with a pause code.
bool PauseTimeEnabled(int pauseCodeRow);

// Information codes.
struct ResponseList {
    int rows = 3; // 60057, 60058, 60059 (2: the first two)
    bool enabled = true;
};
ResponseList ResponseRows(int function);
// The response row a function keeps: a row the list no longer has is 0.
int ResponseRowFor(int function, int row);
bool InfoNameEnabled(int function);
InfoCodeForm ShowInfoCode(const FiveToneInfoCode& code);
// The name box of a function without a name stores nothing.
void StoreInfoCode(const InfoCodeForm& form, FiveToneInfoCode& code);
// Shows another number, storing the shown one first.
void SwitchInfoCode(FiveToneForm& form, FiveToneSettings& work, int number);

// Kill (3), stun (4), waken (5): the option texts that refuse OK, 60300
// (kill or stun without waken) and/or 60301 (their code shared with another
// function), none when the codes pass.
std::vector<int> IsInfoKillStunWakenOK(const std::array<FiveToneInfoCode, 8>& codes);

// Own ID being left: short IDs are refused (message "900C"). An ID that
// changed stores what the window shows, rewrites the codes and shows the
// result again on the same information code.
bool OwnIdComplete(std::string_view ownId);
void ChangeOwnId(FiveToneForm& form, FiveToneSettings& work);

// Stores the main fields, both PTT-ID codes and the shown information code
// (codes encoded with the form's own ID).
void StoreFiveToneForm(const FiveToneForm& form, FiveToneSettings& work);

// --- Call list ----------------------------------------------------------------

// Columns: 0 number, 1 type, 2 code, 3 standard, 4 tone length, 5 name.
inline constexpr int kColumnType = 1;
inline constexpr int kColumnCode = 2;
inline constexpr int kColumnStandard = 3;
inline constexpr int kColumnToneLength = 4;
inline constexpr int kColumnName = 5;

struct CallRow {
    CodeCells cells;
    int standard = 0; // stored value
    int toneLength = 70;
    std::string name;
    friend bool operator==(const CallRow&, const CallRow&) = default;
};
// An empty entry shows no code, ZVEI1 and 70.
CallRow CallRowOf(const FiveToneCode& entry, std::string_view own);

// The code cell of a special call is locked; the other cells need a code,
// except on a PTT-ID row.
bool CanEditCallCell(int column, const CodeCells& cells);
// A special call's code cell can be reset (after the user agrees).
bool CanResetSpecialCall(const CodeCells& cells);
void ResetSpecialCall(FiveToneCode& entry);

void CommitCallCode(FiveToneCode& entry, std::string_view typed, std::string_view own);
void CommitCallStandard(FiveToneCode& entry, int standard);
// A standard chosen in the cell's list: it also sets its tone length (kept
// for EIA and the user set).
void ChooseCallStandard(FiveToneCode& entry, int standard);
// A tone length that is not a number in 30-100 stores 70.
void CommitCallToneLength(FiveToneCode& entry, std::string_view text);
void CommitCallName(FiveToneCode& entry, std::string_view text);

// --- OK --------------------------------------------------------------------------

struct FiveToneOk {
    bool ownIdShort = false;  // message "900C", focus to the own-ID box
    std::vector<int> refused; // option texts of the failed check
    bool stored() const { return !ownIdShort && refused.empty(); }
};
// Stores the form into the working copy and checks it; the window stays
// open unless stored().
FiveToneOk ApplyFiveToneForm(const FiveToneForm& form, FiveToneSettings& work);
// The working copy and the decode time (its row) replace the Codeplug's; channel and
// alarm references follow the calls still in use.
void FinishFiveTone(Codeplug& cp, const FiveToneSettings& work, int decodeTime);

} // namespace qtx
