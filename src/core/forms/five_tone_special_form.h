#pragma once
// The 5-tone special-call composer's decisions, without widgets: which
// fields show, what the boxes take, the code OK composes and how it lands in
// a call-list entry. The composer writes into a call-list entry or into the
// 5-tone editor's PTT-ID begin or end code box.

#include "convert/code_text.h"
#include "model/codeplug.h"
#include "model/result.h"

#include <string>
#include <string_view>

namespace qtx {

enum class SpecialCallType { Data = 0, Ani = 1, PttId = 2 }; // rows of the call-type list
enum class SpecialCallTarget { List, PttIdBegin, PttIdEnd };

inline constexpr int kSpecialCallTypeCount = 3;
inline constexpr int kSpecialEntryCount = 100;
inline constexpr int kCalledCodeLength = 5;
// Separator list: row 0 none, rows 1-6 these letters.
inline constexpr std::string_view kSpecialSeparators = "ABCDEF";

// The entry the list opens on: the 5-tone grid's current entry, 0 when
// there is none (-1) or it lies outside 0-99.
int OpeningSpecialEntry(int currentEntry);

// Characters the message box holds: 16 for a list entry; 8 for a PTT-ID
// code, whose 24 digits are "E1", the called code, "E" and two per character.
int SpecialMessageLimit(SpecialCallTarget target);

// The frames the call type shows: the data-call frame for a data call, the
// ANI frame for an ANI call, none for a PTT-ID.
bool ShowsDataFrame(int typeRow);
bool ShowsAniFrame(int typeRow);

// A called-code box being left: the message to show ("900C") while it holds
// fewer than 5 characters, else empty. The text stays as typed.
std::string CalledCodeLeaveMessage(std::string_view text);

// OK: the code before it is stored. A list code keeps kOwnIdMark for the
// own ID; a PTT-ID code takes ownId as it stands, which must then be five
// digits. A refusal's message is what to show ("900C"), or empty when OK
// just does nothing (a called code short of 5 characters); its detail says
// why in plain words.
Result<std::string> ComposeSpecialCall(int typeRow, std::string_view calledCode, std::string_view message,
                                       int separatorRow, SpecialCallTarget target, std::string_view ownId);

// The composer's result for its caller.
struct SpecialCall {
    SpecialCallTarget target = SpecialCallTarget::List;
    int entry = 0;    // list target: 0-99
    std::string code; // as ComposeSpecialCall made it
    friend bool operator==(const SpecialCall&, const SpecialCall&) = default;
};

// A composed code stored in a call-list entry: converted to stored form with
// the own ID (EncodeFiveToneCode), its length, and the entry in use, so that
// it goes to the radio and channels can pick it.
void StoreSpecialCall(FiveToneCode& entry, std::string_view code, std::string_view ownId);

} // namespace qtx
