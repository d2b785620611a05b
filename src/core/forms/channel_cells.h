#pragma once
// Editing one cell of the channel grid in place. A committed cell is the
// channel editor's OK with that one field changed: the same frequency
// fitting, simplex for an empty transmit cell, the VFO that cannot lose its
// receive frequency and the signalling calls that must be in use. What a
// cell cannot take leaves the channel as it was and says why.

#include "files/signal_switches.h"
#include "forms/channel_form.h"
#include "model/codeplug.h"

#include <functional>
#include <string>
#include <vector>

namespace qtx {

// Grid columns, as the grid numbers them (0 is the row heading).
enum ChannelColumn : int {
    kColumnReceive = 1,
    kColumnTransmit = 2,
    kColumnName = 3,
    kColumnStep = 4,
    kColumnBandwidth = 5,
    kColumnPower = 7,
    kColumnRxTone = 8,
    kColumnTxTone = 9,
    kColumnSignal = 10,
};

enum class CellKind { None, Frequency, Name, List };
CellKind ChannelCellKind(int column);

// The tone list of both tone cells: none, the 51 CTCSS tones, then every
// DCS code normal and inverted ("D023N", "D023I", "D025N", ...).
int ToneCellCount();
ToneForm ToneCellValue(int index);
int ToneCellIndex(const ToneForm& tone);

// One entry of the signalling cell: none, DTMF M1-M16, the 2-tone and the
// 5-tone calls in use. Kinds whose view is switched off are not offered,
// but a channel's own kind always is.
struct SignalCell {
    OptionalSignalKind kind = OptionalSignalKind::None;
    int code = 0;
    friend bool operator==(const SignalCell&, const SignalCell&) = default;
};
std::vector<SignalCell> SignalCellChoices(const Codeplug& cp, const SignalViewSwitches& switches,
                                          OptionalSignalKind current);

// The entries of a list cell as the grid shows them, and the channel's
// entry among them (-1 when it has none there).
struct CellChoices {
    std::vector<std::string> texts;
    int current = -1;
};
CellChoices ChannelCellChoices(const Codeplug& cp, int row, int column, const SignalViewSwitches& switches,
                               const std::function<std::string(int)>& text);

// What the user committed: the text of a frequency or name cell, the
// position in the list of a list cell.
struct CellValue {
    std::string text; // Latin-1 bytes
    int index = -1;
};

enum class CellOutcome { Stored, Deleted, Unchanged, Refused };

struct CellResult {
    CellOutcome outcome = CellOutcome::Unchanged;
    int warnings = 0;        // warning 2001, once per corrected frequency
    int reasonId = 0;        // text ID of why the cell was refused
    std::string reasonText;  // or a fixed text ("VFO can't be null!")
};

// Text IDs of the reasons a cell gives.
inline constexpr int kCellNeedsReceive = 7589;
inline constexpr int kCellBadName = 7590;
inline constexpr int kCellNotFrequency = 7591;

// Applies the cell to channel `row` (1-203). An empty receive cell removes
// the channel (never the VFO); a receive frequency typed into an empty row
// creates the channel as the editor would; other cells of an empty row
// are refused. References are repaired as after the editor's OK.
CellResult ApplyChannelCell(Codeplug& cp, int row, int column, const CellValue& value,
                            const SignalViewSwitches& switches);

} // namespace qtx
