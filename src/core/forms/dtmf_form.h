#pragma once
// The DTMF settings window's decisions, without widgets: the corrections made
// when it opens, the rows its lists show for the stored values, how the
// codes follow the own ID and the separator, the kill/stun check, and what
// OK stores. Codes in the form are shown text ("*" and "#"); the record keeps
// them as "E" and "F".

#include "model/codeplug.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// Code fields: 0-15 M1-M16, 16 PTT-ID begin, 17 PTT-ID end, 18 kill, 19 stun.
inline constexpr int kDtmfCodeFields = 20;
inline constexpr int kDtmfPttIdBeginField = 16;
inline constexpr int kDtmfPttIdEndField = 17;
inline constexpr int kDtmfKillField = 18;
inline constexpr int kDtmfStunField = 19;
// M1-M16 and the PTT-ID codes: the fields a composed call can go into and
// the ones that follow the own ID and the separator.
inline constexpr int kDtmfComposableFields = 18;
inline constexpr int kDtmfLongCode = 24;
inline constexpr int kDtmfShortCode = 14;

inline constexpr int kDtmfSendTimeRows = 6;
inline constexpr std::array<int, kDtmfSendTimeRows> kDtmfSendTimesMs{30, 50, 100, 200, 300, 500};
// Separator rows "A" ... "#" hold the values 10-15; the group-code list has
// Off before them.
inline constexpr std::string_view kDtmfSeparatorChars = "ABCD*#";
inline constexpr int16_t kDtmfGroupCodeOff = 255;
inline constexpr int kDtmfSeparatorDefault = 14; // "*"

enum class DtmfCallType { Ani = 0, PttId = 1 };

struct DtmfForm {
    std::array<std::string, kDtmfCodeFields> codes;
    int ani = 0;
    int sendTime = 0;
    int pttIdMode = 0; // no control; kept as loaded
    std::string ownId = "000";
    int separator = 4;  // row: 0-5 = "A" ... "#"
    int groupCode = 0;  // row: 0 Off, 1-6 = "A" ... "#"
    int decodeResponse = 0;
    int firstDigitDelay = 0; // row k shows k x 10 ms
    int preSendDelay = 0;    // row k shows (k + 1) x 10 ms
    int resetTime = 0;       // row k shows k / 10 s
    int postSendDelay = 0;   // row k shows (k + 1) x 10 ms
    int pauseTime = 0;       // row 0 Off, row k shows k + 4
    bool sideTone = false;
    // The own ID the codes were last rewritten for (at loading, or the last
    // time the own-ID box was left).
    std::string settledOwnId = "000";

    friend bool operator==(const DtmfForm&, const DtmfForm&) = default;
};

// --- Plain rules -----------------------------------------------------------

// TrimFixed, then 1-3 ASCII digits left-padded with "0"; anything else "000".
std::string PadOwnId(std::string_view text);

// Stored value <-> list row. A value without a row shows row 0.
int DtmfSeparatorRow(int value);
int DtmfSeparatorValue(int row);
int DtmfGroupCodeRow(int value);
int DtmfGroupCodeValue(int row);
int DtmfSendDelayRow(int value); // pre-send and post-send delays
int DtmfSendDelayValue(int row);
int DtmfPauseRow(int value);
int DtmfPauseValue(int row);
// The lists whose row is the value: ANI, send time, decode response,
// first-digit delay, reset time.
int DtmfPlainRow(int value, int rows);

// Row texts of the number lists (Off rows and the unit of the send times are
// added by the window).
std::vector<std::string> DtmfFirstDigitDelayRows(); // "0" ... "2500"
std::vector<std::string> DtmfSendDelayRows();       // "10" ... "2500"
std::vector<std::string> DtmfResetTimeRows();       // "0.0" ... "25.0"
std::vector<std::string> DtmfPauseNumberRows();     // "5" ... "75"

// The separator character of a separator row.
char DtmfSeparatorChar(int row);

// A stored code as shown: "E"/"F" as "*"/"#", cut to length, ending before
// a NUL and without trailing blanks. A negative length shows nothing, one
// above the field's size the whole text.
std::string DtmfCodeShownText(std::string_view raw, int length);
template <size_t N> std::string DtmfCodeShown(const DtmfCode<N>& code)
{
    return DtmfCodeShownText(code.Code.str(), code.Length);
}
std::string DtmfCodeStoredText(std::string_view shown, size_t maxLength);
// A shown code into the record, space-padded, length = its characters.
template <size_t N> void StoreDtmfCode(std::string_view shown, DtmfCode<N>& code)
{
    const std::string stored = DtmfCodeStoredText(shown, N);
    code.Code.setPadded(stored);
    code.Length = static_cast<int16_t>(stored.size());
}

// The codes among the first 18 fields that hold a composed call for
// `previous` own ID with separator `separator` now name `next`:
// "456*123" -> "456*007", "*123" -> "*007". Anything else typed is kept.
void RewriteForOwnId(std::array<std::string, kDtmfCodeFields>& codes, std::string_view previous,
                     std::string_view next, char separator);
// The composed calls for own ID `ownId` that use `previous` separator take
// `next`: "456*123" -> "456#123", "*123" -> "#123".
void RewriteForSeparator(std::array<std::string, kDtmfCodeFields>& codes, std::string_view ownId, char previous,
                         char next);

// Kill and stun may not be the same non-empty code.
bool KillStunClash(std::string_view kill, std::string_view stun);

// The called party's code left-padded with "0" to three characters.
std::string PadCalledCode(std::string_view called);
// ANI: the called code padded to three digits, the separator, the own ID;
// PTT-ID: the separator and the own ID.
std::string ComposeDtmfCall(DtmfCallType type, std::string_view called, char separator, std::string_view ownId);

// --- The window's steps ----------------------------------------------------

// Corrects the record's values the lists cannot show and its own ID (the
// window writes these back even when cancelled), then the form for it.
DtmfForm LoadDtmfForm(DtmfSettings& dtmf);

// Leaving the own-ID box: pads it and moves the composed calls to it.
void LeaveOwnId(DtmfForm& form);
// The user picked a separator row.
void ChooseSeparator(DtmfForm& form, int row);
// The composer's OK: the call into code field `field` (0-17).
void PutComposedCall(DtmfForm& form, int field, DtmfCallType type, std::string_view called);

// OK after the kill/stun check: finishes the own-ID box and stores.
void ApplyDtmfForm(DtmfForm& form, DtmfSettings& dtmf);

} // namespace qtx
