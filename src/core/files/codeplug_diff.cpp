#include "files/codeplug_diff.h"

#include "convert/frequency.h"
#include "view/main_view.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdio>
#include <map>

namespace qtx {

namespace {

struct Part {
    std::string name;
    int index = -1;
};

struct Leaf {
    enum Kind { Number, Real, Text };
    Kind kind = Number;
    std::vector<Part> parts; // the records around the field, outermost first
    std::string name;
    long long number = 0;
    double real = 0;
    std::string bytes;
};

// Flattens a record into its stored fields, in field-list order.
class LeafCollector {
public:
    std::vector<Leaf> leaves;

    void u8(const char* n, uint8_t& v) { number(n, v); }
    void i16(const char* n, int16_t& v) { number(n, v); }
    void u16be(const char* n, uint16_t& v) { number(n, v); }
    void u16le(const char* n, uint16_t& v) { number(n, v); }
    void f64(const char* n, double& v)
    {
        Leaf& l = add(n, Leaf::Real);
        l.real = v;
    }
    void text(const char* n, uint8_t* bytes, size_t size)
    {
        Leaf& l = add(n, Leaf::Text);
        l.bytes.assign(bytes, bytes + size);
    }
    void push(const char* n, int index) { parts_.push_back({n, index}); }
    void pop() { parts_.pop_back(); }

private:
    void number(const char* n, long long v) { add(n, Leaf::Number).number = v; }
    Leaf& add(const char* n, Leaf::Kind kind)
    {
        Leaf& l = leaves.emplace_back();
        l.kind = kind;
        l.name = n;
        for (const Part& p : parts_)
            if (!p.name.empty() || p.index >= 0)
                l.parts.push_back(p);
        return l;
    }

    std::vector<Part> parts_;
};

template <class R>
std::vector<Leaf> LeavesOf(const R& record, const char* name)
{
    R copy = record;
    LeafCollector c;
    field(c, name, copy);
    return std::move(c.leaves);
}

// "body.Settings.Dtmf.Codes[3].Code", as the field lists name it.
std::string PathOf(const Leaf& l)
{
    std::string p;
    for (const Part& part : l.parts) {
        if (!part.name.empty())
            p += (p.empty() ? "" : ".") + part.name;
        if (part.index >= 0)
            p += "[" + std::to_string(part.index) + "]";
    }
    if (!l.name.empty())
        p += (p.empty() ? "" : ".") + l.name;
    return p;
}

bool SameParent(const Leaf& a, const Leaf& b)
{
    if (a.parts.size() != b.parts.size())
        return false;
    for (size_t i = 0; i < a.parts.size(); ++i)
        if (a.parts[i].name != b.parts[i].name || a.parts[i].index != b.parts[i].index)
            return false;
    return true;
}

// The length field that says how much of a code is in use; -1 for texts
// that are not codes.
int CodeLengthIndex(const std::vector<Leaf>& leaves, size_t text)
{
    const std::string& name = leaves[text].name;
    if (name != "Code" && name != "OwnCode")
        return -1;
    for (size_t i = 0; i < leaves.size(); ++i) {
        const std::string& n = leaves[i].name;
        const bool isLength = name == "Code" ? (n == "Length" || n == "CodeLength") : n == "OwnIdLength";
        if (isLength && SameParent(leaves[i], leaves[text]))
            return static_cast<int>(i);
    }
    return -1;
}

std::string CodeInUse(const std::string& bytes, long long length)
{
    return bytes.substr(0, static_cast<size_t>(std::clamp<long long>(length, 0, static_cast<long long>(bytes.size()))));
}

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

// What a field holds as the user would compare it: codes over their length,
// other texts trimmed.
std::string Comparable(const std::vector<Leaf>& leaves, size_t i)
{
    const Leaf& l = leaves[i];
    const int length = CodeLengthIndex(leaves, i);
    return length >= 0 ? CodeInUse(l.bytes, leaves[static_cast<size_t>(length)].number) : TrimFixed(l.bytes);
}

bool LeafDiffers(const std::vector<Leaf>& a, const std::vector<Leaf>& b, size_t i)
{
    switch (a[i].kind) {
    case Leaf::Number: return a[i].number != b[i].number;
    case Leaf::Real: return std::bit_cast<uint64_t>(a[i].real) != std::bit_cast<uint64_t>(b[i].real);
    case Leaf::Text: return Comparable(a, i) != Comparable(b, i);
    }
    return false;
}

std::string Shown(const std::vector<Leaf>& leaves, size_t i)
{
    const Leaf& l = leaves[i];
    switch (l.kind) {
    case Leaf::Number: return std::to_string(l.number);
    case Leaf::Real: return ShownReal(l.real);
    case Leaf::Text:
        if (l.name == "RxFrequency" || l.name == "Offset")
            return ShownFrequency(TrimFixed(l.bytes));
        return Quoted(Comparable(leaves, i));
    }
    return {};
}

// Field names in words: "TxDcsInverted" -> "transmit DCS inverted".
std::string Words(const std::string& name)
{
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
Label DescribeBody(const Leaf& l)
{
    const std::vector<Part>& p = l.parts; // p[0] is "body"
    const std::string top = p.size() > 1 ? p[1].name : l.name;
    if (p.size() == 1) {
        if (l.name == "BandType")
            return {"model", "band type"};
        if (l.name == "ChannelCount")
            return {"channel list", "channel count"};
        if (l.name == "FiveToneCodeFormat")
            return {"5-tone", "decode time"};
        return {"Codeplug", Words(l.name)};
    }
    if (top == "Band")
        return {"band", Words(l.name)};
    if (top == "CommBook")
        return {"comm book entry " + std::to_string(p[1].index), Words(l.name)};
    // Settings.<group>...
    const std::string group = p.size() > 2 ? p[2].name : std::string();
    const Part* sub = p.size() > 3 ? &p[3] : nullptr;
    if (group == "Keys")
        return {"keys", KeyName(sub ? sub->index : 0)};
    if (group == "Dtmf") {
        if (sub && sub->name == "Codes")
            return {"DTMF M" + std::to_string(sub->index + 1), Words(l.name)};
        if (sub) {
            const std::string which = sub->name == "PttIdBegin" ? "PTT-ID begin"
                                      : sub->name == "PttIdEnd" ? "PTT-ID end"
                                                                : Words(sub->name);
            return {"DTMF", l.name == "Length" ? which + " length" : which};
        }
        return {"DTMF", Words(l.name)};
    }
    if (group == "TwoTone") {
        if (sub && sub->name == "Entries")
            return {"2-tone entry " + std::to_string(sub->index), Words(l.name)};
        return {"2-tone", Words(l.name)};
    }
    if (group == "FiveTone") {
        if (sub && sub->name == "InfoCodes")
            return {"5-tone info code " + std::to_string(sub->index + 1), Words(l.name)};
        if (sub && sub->name == "CallList")
            return {"5-tone call " + std::to_string(sub->index), Words(l.name)};
        if (sub && sub->name == "UserToneTable")
            return {"5-tone", "user tone " + std::to_string(sub->index)};
        if (sub)
            return {"5-tone", (sub->name == "PttIdBegin" ? "PTT-ID begin " : "PTT-ID end ") + Words(l.name)};
        return {"5-tone", Words(l.name)};
    }
    if (group == "Options")
        return {"option", Words(l.name)};
    if (group == "Scan")
        return {"scan", Words(l.name)};
    if (group == "Emergency")
        return {"emergency alarm", Words(l.name)};
    return {Words(group), Words(l.name)};
}

std::string ChannelRecordName(int number)
{
    const std::string heading = GridRowHeading(number);
    return "channel " + (heading.empty() ? "number " + std::to_string(number) : heading);
}

void DiffChannel(const ChannelRecord& a, const ChannelRecord& b, std::vector<FieldDifference>& out)
{
    const std::vector<Leaf> x = LeavesOf(a, "");
    const std::vector<Leaf> y = LeavesOf(b, "");
    const std::string prefix = "channel[" + std::to_string(a.Number) + "]";
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i].name == "Number" || !LeafDiffers(x, y, i))
            continue;
        out.push_back({FieldDifference::Changed, ChannelRecordName(a.Number), Words(x[i].name), Shown(x, i), Shown(y, i),
                       prefix + "." + x[i].name});
    }
}

// Partners by number as change tracking finds them; each entry partners
// at most one entry of the other list.
void DiffChannels(const Codeplug& first, const Codeplug& second, std::vector<FieldDifference>& out)
{
    const int countA = std::clamp<int>(first.body.ChannelCount, 0, kMaxChannels);
    const int countB = std::clamp<int>(second.body.ChannelCount, 0, kMaxChannels);
    std::array<bool, kMaxChannels> taken{};
    struct Entry {
        int number;
        std::vector<FieldDifference> lines;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < countA; ++i) {
        const ChannelRecord& a = first.channels[static_cast<size_t>(i)];
        int partner = -1;
        if (i < countB && !taken[static_cast<size_t>(i)] && second.channels[static_cast<size_t>(i)].Number == a.Number)
            partner = i;
        for (int j = 0; j < countB && partner < 0; ++j)
            if (!taken[static_cast<size_t>(j)] && second.channels[static_cast<size_t>(j)].Number == a.Number)
                partner = j;
        Entry& e = entries.emplace_back(Entry{a.Number, {}});
        if (partner < 0) {
            e.lines.push_back({FieldDifference::Removed, ChannelRecordName(a.Number), {}, {}, {},
                               "channel[" + std::to_string(a.Number) + "]"});
            continue;
        }
        taken[static_cast<size_t>(partner)] = true;
        DiffChannel(a, second.channels[static_cast<size_t>(partner)], e.lines);
    }
    for (int j = 0; j < countB; ++j) {
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
    const std::vector<Leaf> x = LeavesOf(first, "body");
    const std::vector<Leaf> y = LeavesOf(second, "body");
    std::vector<FieldDifference> found;
    for (size_t i = 0; i < x.size(); ++i) {
        const bool bookPosition = x[i].name == "Index" && x[i].parts.size() > 1 && x[i].parts[1].name == "CommBook";
        if (bookPosition || !LeafDiffers(x, y, i))
            continue;
        const Label label = DescribeBody(x[i]);
        found.push_back({FieldDifference::Changed, label.record, label.field, Shown(x, i), Shown(y, i), PathOf(x[i])});
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
