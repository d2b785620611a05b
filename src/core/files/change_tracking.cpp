#include "files/change_tracking.h"

#include "model/channel_list.h"
#include "model/field_leaves.h"

#include <algorithm>

namespace qtx {

// Every field the records' field lists name is compared, with the rules of
// SameLeaf: numbers exactly, band limits bit for bit, names, messages and
// frequency digits trimmed (editors store the same value with a NUL end
// mark or with space padding), DTMF and 5-tone codes over their length
// (characters past it are never sent or shown; a length above the field
// compares the whole field, so a damaged length cannot hide an edit).

namespace {

// The fields read otherwise, by the record around them.
struct ReadOtherwise {
    std::string_view record;
    std::string_view field;
    bool leftOut; // else compared byte for byte
};

constexpr ReadOtherwise kReadOtherwise[] = {
    // Follow from the DCS codes; a radio read sets them.
    {"channel", "TxDcsHigh", true},
    {"channel", "RxDcsHigh", true},
    // Only a radio read sets them.
    {"channel", "PttIdFlag", true},
    {"channel", "RadioExtra", true},
    // The entry's own position in the book, not a value.
    {"CommBook", "Index", true},
    // Always three digits, all of them sent: compared whole.
    {"Dtmf", "OwnId", false},
};

// The body as compared: the band type is the program's (the live copy's own
// field does not count), the channel count the number of entries in use.
CodeplugBody Compared(const CodeplugBody& body, int16_t bandType)
{
    CodeplugBody b = body;
    b.BandType = bandType;
    b.ChannelCount = static_cast<int16_t>(std::clamp<int>(body.ChannelCount, 0, kMaxChannels));
    return b;
}

// How a difference is named, by the records around the field: '#' is the
// innermost array position counted from `first`, '@' the field's name.
struct Heading {
    std::string_view records;
    std::string_view words;
    int first = 1;
};

constexpr Heading kHeadings[] = {
    {"channel", "channel # @", 0}, // numbered by the channel's Number
    {"Band", "band @"},
    {"Settings.Keys", "key settings"},
    {"Settings.Dtmf.Codes", "DTMF M# code"},
    {"Settings.Dtmf.PttIdBegin", "DTMF PttIdBegin"},
    {"Settings.Dtmf.PttIdEnd", "DTMF PttIdEnd"},
    {"Settings.Dtmf.KillCode", "DTMF KillCode"},
    {"Settings.Dtmf.StunCode", "DTMF StunCode"},
    {"Settings.Dtmf", "DTMF @"},
    {"Settings.TwoTone.Entries", "2-tone entry # @"},
    {"Settings.TwoTone", "2-tone @"},
    {"Settings.FiveTone.InfoCodes", "5-tone info code # @"},
    {"Settings.FiveTone.CallList", "5-tone call # @"},
    {"Settings.FiveTone.PttIdBegin", "5-tone PTT-ID begin @"},
    {"Settings.FiveTone.PttIdEnd", "5-tone PTT-ID end @"},
    {"Settings.FiveTone.UserToneTable", "5-tone UserToneTable"},
    {"Settings.FiveTone", "5-tone @"},
    {"Settings.Options", "options @"},
    {"Settings.Scan", "scan settings"},
    {"Settings.Emergency", "emergency settings"},
    {"CommBook", "comm book entry # @", 0},
};

// "channel 12 Name", "DTMF M3 code"; a code's length is named as its code.
std::string Where(const FieldLeaves& leaves, size_t i)
{
    const int code = leaves.codePartner(i);
    const bool isLength = code >= 0 && leaves.leaves[i].kind != FieldLeaf::Text;
    const FieldLeaf& named = leaves.leaves[isLength ? static_cast<size_t>(code) : i];
    std::string records;
    int index = -1;
    for (const FieldPart& p : leaves.partsOf(i)) {
        if (!p.name.empty() && p.name != "body")
            (records += records.empty() ? "" : ".") += p.name;
        if (p.index >= 0)
            index = p.index;
    }
    const Heading* best = nullptr;
    for (const Heading& h : kHeadings) {
        const bool inside = records.starts_with(h.records) &&
                            (records.size() == h.records.size() || records[h.records.size()] == '.');
        if (inside && (!best || h.records.size() > best->records.size()))
            best = &h;
    }
    if (!best)
        return records.empty() ? named.field : records + "." + named.field;
    std::string out;
    for (char c : best->words) {
        if (c == '#')
            out += std::to_string(index + best->first);
        else if (c == '@')
            out += named.field;
        else
            out += c;
    }
    return out;
}

const ReadOtherwise* RuleFor(const FieldLeaves& leaves, size_t i)
{
    const std::string_view record = leaves.recordOf(i);
    for (const ReadOtherwise& rule : kReadOtherwise)
        if (rule.record == record && rule.field == leaves.leaves[i].name())
            return &rule;
    return nullptr;
}

std::optional<std::string> FirstDifferentLeaf(const FieldLeaves& live, const FieldLeaves& base)
{
    for (size_t i = 0; i < live.leaves.size(); ++i) {
        const ReadOtherwise* rule = RuleFor(live, i);
        const bool same = !rule          ? SameLeaf(live, base, i)
                          : rule->leftOut ? true
                                          : live.leaves[i].bytes() == base.leaves[i].bytes();
        if (!same)
            return Where(live, i);
    }
    return std::nullopt;
}

// Partners are found by Number, so the list order does not matter.
std::optional<std::string> FirstChannelDifference(const Codeplug& live, const Codeplug& base)
{
    const std::vector<int> partners = PartnerChannels(base, live);
    for (size_t i = 0; i < partners.size(); ++i) {
        const ChannelRecord& b = base.channels[i];
        if (partners[i] < 0)
            return "channel " + std::to_string(b.Number) + " missing";
        const ChannelRecord& a = live.channels[static_cast<size_t>(partners[i])];
        if (a == b) // no looser rule finds a difference where every field is equal
            continue;
        if (auto where = FirstDifferentLeaf(FieldLeaves(a, "channel", a.Number), FieldLeaves(b, "channel", b.Number)))
            return where;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> FirstDifference(const Workspace& ws)
{
    const CodeplugBody live = Compared(ws.live.body, ws.bandType);
    const CodeplugBody base = Compared(ws.baseline.body, ws.baseline.body.BandType);
    if (auto where = FirstDifferentLeaf(FieldLeaves(live, "body"), FieldLeaves(base, "body")))
        return where;
    return FirstChannelDifference(ws.live, ws.baseline);
}

bool CodeplugEqualsBaseline(const Workspace& ws) { return !FirstDifference(ws).has_value(); }

bool IsModified(const Workspace& ws) { return FirstDifference(ws).has_value(); }

} // namespace qtx
