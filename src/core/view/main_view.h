#pragma once
// What the main window shows, decided without widgets: the title, the
// channel grid's headings and cells, and the tree's nodes.

#include "files/signal_switches.h"
#include "model/codeplug.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace qtx {

// Language text by ID (the current language's TextLookup).
using TextLookupFn = std::function<std::string(int)>;

inline constexpr int kGridRows = 204;    // heading row + channels 1-203
inline constexpr int kGridColumns = 12;  // heading column + 11

// QTX[<model>:<band text>][<File>:<file name>]
std::string MainWindowTitle(const std::string& modelLabel, const BandPlan& band, const std::string& fileWord,
                            const std::string& fileName);

// Row r shows channel r: "0".."199", "PA", "PB", "VFO".
std::string GridRowHeading(int row);
// Column headings 0-11; columns 8 and 9 have two lines ("\n").
std::string GridColumnHeading(int column, const TextLookupFn& text);

struct ChannelCells {
    std::array<std::string, kGridColumns> cells; // [0] heading, [11] empty
    bool notNumeric = false; // stored receive digits were not digits (RxLow shown)
};

// Cells 1-10 of a channel's row, with the substitutes for stored values
// outside their lists.
ChannelCells GridChannelCells(const ChannelRecord& ch, const BandPlan& band, const TextLookupFn& text);

// Transmit frequency as the grid shows it: receive -/+ offset, "#.00000".
std::string GridTransmitText(const ChannelRecord& ch, const BandPlan& band);
std::string GridToneText(int type, int ctcss, int dcs, int inverted, const TextLookupFn& text);
std::string GridSignalText(const ChannelRecord& ch, const TextLookupFn& text);

// Tree nodes under the root, in order: key ("N1") and the text to show.
struct TreeNode {
    std::string key;
    std::string text;
};
std::vector<TreeNode> MainTreeNodes(const SignalViewSwitches& switches, const TextLookupFn& text);

} // namespace qtx
