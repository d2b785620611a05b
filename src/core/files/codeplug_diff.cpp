#include "files/codeplug_diff.h"

#include "convert/frequency.h"
#include "model/channel_list.h"
#include "model/field_leaves.h"
#include "view/main_view.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

namespace qtx {

namespace {

// Latin-1 as UTF-8, control characters as \xNN.
std::string Quoted(const std::string& latin1)
{
    std::string out = "\"";
    for (unsigned char c : latin1) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

bool AllDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ShownFrequency(const std::string& digits)
{
    if (digits.empty() || digits == kNoFrequencyDigits)
        return "none";
    if (!AllDigits(digits))
        return Quoted(digits);
    return FormatFreqUnits(std::stoll(digits), 1);
}

std::string ShownReal(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string Shown(const FieldLeaves& leaves, size_t i)
{
    const FieldLeaf& l = leaves.leaves[i];
    switch (l.kind) {
    case FieldLeaf::Number: return std::to_string(l.number);
    case FieldLeaf::Real: return ShownReal(l.real);
    case FieldLeaf::Text:
        if (l.name() == "RxFrequency" || l.name() == "Offset")
            return ShownFrequency(TrimFixed(l.bytes()));
        return Quoted(std::string(leaves.comparable(i)));
    }
    return {};
}

// Field names in words: "TxDcsInverted" -> "transmit DCS inverted".
std::string Words(std::string_view field)
{
    const std::string name(field);
    static const std::map<std::string, std::string> kNamed = {
        {"RxFrequency", "receive"},
        {"Item1702", "prompt tone"},
        {"Item1703", "key beep"},
        {"Item1703Alt", "key beep (second list)"},
        {"Item1705", "squelch level"},
        {"Item1706", "mic gain"},
        {"Item1707", "channel display"},
        {"Item1708", "power-on display"},
        {"Item1709", "backlight time"},
        {"Item1710", "LCD contrast"},
        {"Item1712", "time-out timer"},
        {"Item1713", "auto power-off"},
        {"Item1714", "work mode"},
        {"Item1715", "ignition sense"},
        {"Item1716", "emergency key"},
        {"Item1717", "busy lock"},
        {"Item1719", "roger beep"},
        {"Setting60307", "auto reset time"},
        {"Setting60081", "pre-send delay"},
        {"Setting60308", "post-send delay"},
        {"Setting60309", "ring time"},
    };
    if (const auto it = kNamed.find(name); it != kNamed.end())
        return it->second;
    static const std::map<std::string, std::string> kWords = {
        {"Rx", "receive"}, {"Tx", "transmit"}, {"Dcs", "DCS"}, {"Ctcss", "CTCSS"}, {"Ptt", "PTT"},
        {"Id", "ID"},      {"Dtmf", "DTMF"},   {"Ani", "ANI"},
    };
    std::vector<std::string> words;
    auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool starts = i == 0 || (isUpper(c) && !isUpper(name[i - 1])) || (isDigit(c) != isDigit(name[i - 1]));
        if (starts)
            words.emplace_back();
        words.back() += c;
    }
    std::string out;
    for (const std::string& w : words) {
        std::string shown = w;
        if (const auto it = kWords.find(w); it != kWords.end())
            shown = it->second;
        else if (w.size() > 1)
            std::transform(shown.begin(), shown.end(), shown.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        out += (out.empty() ? "" : " ") + shown;
    }
    for (const auto& [from, to] : {std::pair{"two tone", "2-tone"}, {"five tone", "5-tone"}, {"PTT ID", "PTT-ID"}})
        for (size_t at; (at = out.find(from)) != std::string::npos;)
            out.replace(at, std::string_view(from).size(), to);
    return out;
}

std::string KeyName(int index)
{
    const std::string key = "P" + std::to_string(index % 5 + 1);
    return index < 5 ? key + " short press" : index < 10 ? key + " long press" : "FUNC+" + key;
}

struct Label {
    std::string record;
    std::string field;
};

// Record and field of a body field in words.
Label DescribeBody(const FieldLeaves& leaves, size_t i)
{
    const FieldLeaf& l = leaves.leaves[i];
    const std::vector<FieldPart> p = leaves.partsOf(i); // p[0] is "body"
    const std::string_view top = p.size() > 1 ? p[1].name : l.name();
    if (p.size() == 1) {
        if (l.name() == "BandType")
            return {"model", "band type"};
        if (l.name() == "ChannelCount")
            return {"channel list", "channel count"};
        if (l.name() == "FiveToneCodeFormat")
            return {"5-tone", "decode time"};
        return {"Codeplug", Words(l.name())};
    }
    if (top == "Band")
        return {"band", Words(l.name())};
    if (top == "CommBook")
        return {"comm book entry " + std::to_string(p[1].index), Words(l.name())};
    // Settings.<group>...
    const std::string_view group = p.size() > 2 ? p[2].name : std::string_view();
    const FieldPart* sub = p.size() > 3 ? &p[3] : nullptr;
    if (group == "Keys")
        return {"keys", KeyName(sub ? sub->index : 0)};
    if (group == "Dtmf") {
        if (sub && sub->name == "Codes")
            return {"DTMF M" + std::to_string(sub->index + 1), Words(l.name())};
        if (sub) {
            const std::string which = sub->name == "PttIdBegin" ? "PTT-ID begin"
                                      : sub->name == "PttIdEnd" ? "PTT-ID end"
                                                                : Words(sub->name);
            return {"DTMF", l.name() == "Length" ? which + " length" : which};
        }
        return {"DTMF", Words(l.name())};
    }
    if (group == "TwoTone") {
        if (sub && sub->name == "Entries")
            return {"2-tone entry " + std::to_string(sub->index), Words(l.name())};
        return {"2-tone", Words(l.name())};
    }
    if (group == "FiveTone") {
        if (sub && sub->name == "InfoCodes")
            return {"5-tone info code " + std::to_string(sub->index + 1), Words(l.name())};
        if (sub && sub->name == "CallList")
            return {"5-tone call " + std::to_string(sub->index), Words(l.name())};
        if (sub && sub->name == "UserToneTable")
            return {"5-tone", "user tone " + std::to_string(sub->index)};
        if (sub)
            return {"5-tone", (sub->name == "PttIdBegin" ? "PTT-ID begin " : "PTT-ID end ") + Words(l.name())};
        return {"5-tone", Words(l.name())};
    }
    if (group == "Options")
        return {"option", Words(l.name())};
    if (group == "Scan")
        return {"scan", Words(l.name())};
    if (group == "Emergency")
        return {"emergency alarm", Words(l.name())};
    return {Words(group), Words(l.name())};
}

std::string ChannelRecordName(int number)
{
    const std::string heading = GridRowHeading(number);
    return "channel " + (heading.empty() ? "number " + std::to_string(number) : heading);
}

void DiffChannel(const ChannelRecord& a, const ChannelRecord& b, std::vector<FieldDifference>& out)
{
    const FieldLeaves x(a);
    const FieldLeaves y(b);
    const std::string prefix = "channel[" + std::to_string(a.Number) + "].";
    for (size_t i = 0; i < x.leaves.size(); ++i) {
        if (x.leaves[i].name() == "Number" || SameLeaf(x, y, i))
            continue;
        out.push_back({FieldDifference::Changed, ChannelRecordName(a.Number), Words(x.leaves[i].name()), Shown(x, i),
                       Shown(y, i), prefix + x.pathOf(i)});
    }
}

// Partners by number, as change tracking finds them.
void DiffChannels(const Codeplug& first, const Codeplug& second, std::vector<FieldDifference>& out)
{
    const std::vector<int> partners = PartnerChannels(first, second);
    std::vector<bool> taken(static_cast<size_t>(std::clamp<int>(second.body.ChannelCount, 0, kMaxChannels)));
    struct Entry {
        int number;
        std::vector<FieldDifference> lines;
    };
    std::vector<Entry> entries;
    for (size_t i = 0; i < partners.size(); ++i) {
        const ChannelRecord& a = first.channels[i];
        const int partner = partners[i];
        Entry& e = entries.emplace_back(Entry{a.Number, {}});
        if (partner < 0) {
            e.lines.push_back({FieldDifference::Removed, ChannelRecordName(a.Number), {}, {}, {},
                               "channel[" + std::to_string(a.Number) + "]"});
            continue;
        }
        taken[static_cast<size_t>(partner)] = true;
        DiffChannel(a, second.channels[static_cast<size_t>(partner)], e.lines);
    }
    for (int j = 0; j < static_cast<int>(taken.size()); ++j) {
        if (taken[static_cast<size_t>(j)])
            continue;
        const int number = second.channels[static_cast<size_t>(j)].Number;
        entries.push_back({number,
                           {{FieldDifference::Added, ChannelRecordName(number), {}, {}, {},
                             "channel[" + std::to_string(number) + "]"}}});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& l, const Entry& r) { return l.number < r.number; });
    for (Entry& e : entries)
        for (FieldDifference& d : e.lines)
            out.push_back(std::move(d));
}

void DiffBody(const CodeplugBody& first, const CodeplugBody& second, std::vector<FieldDifference>& out)
{
    const FieldLeaves x(first, "body");
    const FieldLeaves y(second, "body");
    std::vector<FieldDifference> found;
    for (size_t i = 0; i < x.leaves.size(); ++i) {
        const bool bookPosition = x.leaves[i].name() == "Index" && x.recordOf(i) == "CommBook";
        if (bookPosition || SameLeaf(x, y, i))
            continue;
        const Label label = DescribeBody(x, i);
        found.push_back({FieldDifference::Changed, label.record, label.field, Shown(x, i), Shown(y, i), x.pathOf(i)});
    }
    // One group per record, in the order the records first appear.
    std::vector<std::string> order;
    for (const FieldDifference& d : found)
        if (std::find(order.begin(), order.end(), d.record) == order.end())
            order.push_back(d.record);
    for (const std::string& record : order)
        for (FieldDifference& d : found)
            if (d.record == record)
                out.push_back(std::move(d));
}

} // namespace

std::vector<FieldDifference> DiffCodeplugs(const Codeplug& first, const Codeplug& second)
{
    std::vector<FieldDifference> out;
    DiffChannels(first, second, out);
    DiffBody(first.body, second.body, out);
    return out;
}

std::string DiffLine(const FieldDifference& d)
{
    switch (d.kind) {
    case FieldDifference::Added: return d.record + ": added";
    case FieldDifference::Removed: return d.record + ": removed";
    case FieldDifference::Changed: break;
    }
    return d.record + ": " + d.field + " " + d.from + " \u2192 " + d.to;
}

} // namespace qtx
