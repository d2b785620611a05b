#pragma once
// The channel editor's decisions, without widgets: what it shows for a
// channel, which choices its lists offer, how fields react to each other,
// and what OK stores. The dialog holds a ChannelForm, shows it, feeds the
// user's changes through the reaction functions and hands it to
// ApplyChannelForm on OK.
//
// List values in the form are positions in the lists of forms/choices.h
// (0 = first entry) unless a field says otherwise. Texts are Latin-1 bytes,
// as the records hold them.

#include "files/signal_switches.h"
#include "forms/choices.h"
#include "model/codeplug.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

inline constexpr int kDtmfCodeCount = 16; // "M1" ... "M16"
inline constexpr int kChannelNameBoxes = 7;
inline constexpr int kPttIdCodeLength = 5;

// Shown when OK finds the VFO without a usable receive frequency.
inline constexpr std::string_view kVfoNullMessage = "VFO can't be null!";

// The optional-signalling entry; the values are those OptionalSignal stores.
enum class OptionalSignalKind : int16_t { None = 0, Dtmf = 1, TwoTone = 2, FiveTone = 3 };

// One side's tone: type 0 none, 1 CTCSS, 2 DCS. Both lists are held
// whatever the type, so a value the type hides is kept.
struct ToneForm {
    int type = 0;
    int ctcss = 0; // 0-50
    int dcs = 0;   // 0-511
    bool inverted = false;

    friend bool operator==(const ToneForm&, const ToneForm&) = default;
};

// The editor's fields as the dialog holds them.
struct ChannelForm {
    std::string receive;  // "000.00000", or empty for no channel
    std::string transmit; // "#.00000", or empty
    std::array<std::string, kChannelNameBoxes> name; // one character per box; "" = empty box
    int step = 5;
    int bandwidth = 0;
    int txPower = 0;
    OptionalSignalKind signal = OptionalSignalKind::None;
    // The signalling code list's selection: the DTMF position (0-15 for
    // M1-M16) or the 2-tone / 5-tone call number shown; none = nothing
    // selected (the list is empty, or the stored call is no longer in use).
    std::optional<int> code;
    ToneForm rxTone;
    ToneForm txTone;
    int scrambler = 0;
    int dtmfPttId = 0;
    int fiveTonePttId = 0;
    int squelch = 0; // position in the full list F0-F4
    int busyLock = 0;
    bool txInhibit = false;
    bool reverse = false;
    bool talkAround = false;
    bool compander = false;
    bool scanSkip = false;
    bool pttIdDecode = false;
    std::string pttIdCode; // digits as typed
    int extraDisplay = 0;  // position in the hidden list of ten

    // Set by LoadChannelForm: the stored receive or offset digits were not
    // digits (the band's RxLow or a zero offset is shown instead); the
    // dialog shows "Not IsNumeric".
    bool loadedNotNumeric = false;

    friend bool operator==(const ChannelForm&, const ChannelForm&) = default;
};

// --- Load and show ----------------------------------------------------------

// The form for channel editRow (a blank channel when it is not in the
// list): values outside their lists show the first entry (TxPower 3 shows
// as 2), a 2-tone or
// 5-tone call that is not in use leaves the code list without a selection,
// and the squelch mode falls back to F0 when the list does not offer it.
ChannelForm LoadChannelForm(const Codeplug& cp, int editRow, const BandPlan& band);

// None first, then DTMF, 2Tone, 5Tone as their switches allow; the
// channel's current kind is offered even while its switch is off.
std::vector<OptionalSignalKind> OptionalSignalChoices(const SignalViewSwitches& switches,
                                                      OptionalSignalKind current = OptionalSignalKind::None);
// Numbers (0-31, 0-99) of the call entries in use, in order.
std::vector<int> TwoToneCallChoices(const Codeplug& cp);
std::vector<int> FiveToneCallChoices(const Codeplug& cp);
// The code list of a signalling kind: DTMF positions 0-15, the call
// numbers in use, nothing for none.
std::vector<int> SignalCodeChoices(const Codeplug& cp, OptionalSignalKind kind);
// "M1" ... "M16" for DTMF, the number for 2-tone and 5-tone calls.
std::string SignalCodeText(OptionalSignalKind kind, int value);

struct ChannelFieldStates {
    bool others = false; // every field but the receive frequency
    bool pttId = false;  // PTT-ID code and PTT-ID decode
};
// Nothing but the receive frequency while it is empty; PA, PB and the VFO
// (numbers above 200) never take a PTT-ID code or decode.
ChannelFieldStates ChannelFieldsEnabled(std::string_view receiveText, int editRow);

// Stored ExtraDisplay <-> position in the hidden list: 0-2 stay, 3 shows
// entry 0, v >= 4 entry v - 1 (beyond the list: entry 0); a position p is
// stored as p up to 2 and as p + 1 above (3 is never stored).
int ExtraDisplayPosition(int stored);
int ExtraDisplayStored(int position);

// --- Reactions while editing ------------------------------------------------

// The squelch modes offered, as positions in the full list. The tone side
// is the transmit side with Reverse, else the receive side: tone and
// signalling F0-F4, tone only F0 F1, signalling only F0 F2, neither F0.
std::vector<int> SquelchChoices(bool reverse, int rxToneType, int txToneType, OptionalSignalKind signal);
// The remembered mode while the choices still offer it, else the first.
int KeepSquelch(const std::vector<int>& choices, int remembered);
// Rebuilds the squelch list for the form and keeps its mode by that rule.
void RebuildSquelch(ChannelForm& form);

// A new signalling entry: its code list at the first entry (nothing when
// the list is empty or for none); the squelch list is rebuilt.
void SetOptionalSignal(ChannelForm& form, OptionalSignalKind kind, const Codeplug& cp);
// A new tone type resets that side to the first CTCSS tone and DCS code,
// not inverted; the squelch list is rebuilt.
void SetRxToneType(ChannelForm& form, int type);
void SetTxToneType(ChannelForm& form, int type);
// One PTT-ID kind at a time: a value >= 1 turns the other kind off.
void SetDtmfPttId(ChannelForm& form, int value);
void SetFiveTonePttId(ChannelForm& form, int value);
// Reverse and Talk-around exclude each other; the squelch list is rebuilt.
void SetReverse(ChannelForm& form, bool on);
void SetTalkAround(ChannelForm& form, bool on);

// --- OK -----------------------------------------------------------------------

enum class ChannelOkOutcome {
    Stored,        // the channel was changed or added
    Deleted,       // the receive frequency was cleared: the channel is gone
    NothingStored, // cleared on a row without a channel (or no such row)
    VfoNull,       // refused: kVfoNullMessage, focus to the receive field, stay open
};

struct ChannelOkResult {
    ChannelOkOutcome outcome = ChannelOkOutcome::NothingStored;
    // How many times to show warning 2001, one per corrected check
    // (receive, transmit, offset), in that order.
    int warnings = 0;
    bool receiveCorrected = false;
    bool transmitCorrected = false;
    // What the fields hold after OK: the fitted receive frequency
    // ("000.00000") and the stored transmit frequency ("#.00000").
    std::string receive;
    std::string transmit;
    // The user-facing text for VfoNull, else empty.
    std::string message;
};

// Seven boxes as the stored name: an empty box gives a blank, each box
// gives its first character.
std::string JoinChannelName(const std::array<std::string, kChannelNameBoxes>& boxes);
// Left-padded with "0" to five characters, cut to five.
std::string PadPttIdCode(std::string_view code);

// The OK sequence: an empty or non-numeric receive frequency deletes the
// channel (refused for the VFO); otherwise the channel is changed in place
// (fields the editor does not edit are kept) or appended (from a blank
// record), with the frequencies fitted into the band. An empty transmit
// field means simplex. The channel references of the option, scan and
// emergency settings are repaired afterwards. On VfoNull nothing changes.
ChannelOkResult ApplyChannelForm(Codeplug& cp, int editRow, const ChannelForm& form, const BandPlan& band);

} // namespace qtx
