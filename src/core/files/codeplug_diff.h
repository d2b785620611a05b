#pragma once
// Two Codeplugs compared field by field, in plain words, for the command
// line and the desktop program's comparison. Every stored field takes part,
// with the rules change tracking uses for texts: names, messages and
// frequency digits compare trimmed, DTMF and 5-tone codes over their
// length. Channels are partnered by number, so their order in the list
// does not count; a channel's number and the comm book's own positions are
// not fields of their own.

#include "model/codeplug.h"

#include <string>
#include <vector>

namespace qtx {

struct FieldDifference {
    enum Kind { Changed, Added, Removed };
    Kind kind = Changed;
    std::string record; // "channel 12", "option", "DTMF M3"
    std::string field;  // "receive", "squelch level"; empty for a whole channel
    std::string from;   // the first Codeplug's value as shown ("145.00000", "\"ABC\"")
    std::string to;     // the second's
    // Where the field sits in the field lists: "body.Settings.Options.Item1705",
    // channels by number: "channel[13].RxFrequency".
    std::string path;
};

// Grouped by record: the channels by number, then the body's records in the
// order a data file holds them. Texts in the result are UTF-8.
std::vector<FieldDifference> DiffCodeplugs(const Codeplug& first, const Codeplug& second);

// "channel 12: receive 145.00000 → 145.02500", "channel 7: added".
std::string DiffLine(const FieldDifference& d);

} // namespace qtx
