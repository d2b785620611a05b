#include "codeplug_json.h"

#include "json_text.h"

#include "text/short_quote.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

namespace qtx::cli {

namespace {

std::string latin1(const uint8_t* bytes, size_t n)
{
    std::string s;
    s.reserve(n * 2);
    for (size_t i = 0; i < n; ++i)
        AppendLatin1(s, bytes[i]);
    return s;
}

// The code points of a string the parser has checked to be UTF-8.
std::u32string codePoints(const std::string& utf8)
{
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

// Finite doubles as the shortest decimal that reads back to the same bits;
// infinities and NaNs (which JSON numbers cannot hold) as their bit pattern.
Json doubleValue(double v)
{
    if (std::isfinite(v))
        return v;
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%016llX", static_cast<unsigned long long>(bits));
    return std::string(buf);
}

// Builds the tree while the field list is walked.
class TreeWriter {
public:
    explicit TreeWriter(Json& root) { stack_.push_back(Frame{&root, false}); }

    void u8(const char* n, uint8_t& v) { put(n, v); }
    void i16(const char* n, int16_t& v) { put(n, v); }
    void u16be(const char* n, uint16_t& v) { put(n, v); }
    void u16le(const char* n, uint16_t& v) { put(n, v); }
    void f64(const char* n, double& v) { put(n, doubleValue(v)); }
    void text(const char* n, uint8_t* bytes, size_t size) { put(n, latin1(bytes, size)); }

    void push(const char* name, int index)
    {
        if (index >= 0) {
            Json& parent = *stack_.back().node;
            if (!parent.contains(name))
                parent[name] = Json::array();
            stack_.push_back(Frame{&parent[name], true});
            return;
        }
        stack_.push_back(Frame{&put(name, Json::object()), false});
    }
    void pop() { stack_.pop_back(); }

private:
    struct Frame {
        Json* node;
        bool element; // the next value is an entry of this list
    };

    Json& put(const char* name, Json v)
    {
        Frame& top = stack_.back();
        if (top.element) {
            top.node->push_back(std::move(v));
            return top.node->back();
        }
        return (*top.node)[name] = std::move(v);
    }

    std::vector<Frame> stack_;
};

struct ImportError {
    int line = 0;
    std::string what;
};

// Takes every field of the list from the tree, checking kind and range, and
// stops at the first problem (later calls do nothing).
class TreeReader {
public:
    TreeReader(const ParsedJson& doc, std::optional<ImportError>& error) : doc_(doc), error_(error)
    {
        stack_.push_back(Frame{&doc.root, "", false, 0});
    }

    void u8(const char* n, uint8_t& v) { integer(n, v, 0, 255); }
    void i16(const char* n, int16_t& v) { integer(n, v, -32768, 32767); }
    void u16be(const char* n, uint16_t& v) { integer(n, v, 0, 65535); }
    void u16le(const char* n, uint16_t& v) { integer(n, v, 0, 65535); }

    void f64(const char* n, double& v)
    {
        const Json* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (j->is_string()) {
            if (!bitPattern(j->get_ref<const std::string&>(), v))
                fail(*j, where + ": a double is a number or its bit pattern as \"0x\" and 16 hexadecimal digits");
            return;
        }
        if (!j->is_number()) {
            fail(*j, where + ": expected a number, found " + KindName(*j));
            return;
        }
        // From the literal: "-0" is a double of its own, and a value too
        // small for a double is refused rather than read as 0.
        const std::string& literal = doc_.spot(*j).number;
        const char* first = literal.data();
        const char* last = first + literal.size();
        const auto r = std::from_chars(first, last, v);
        if (r.ec != std::errc() || r.ptr != last)
            fail(*j, where + ": " + ShortQuote(literal) + " is too large or too small for a double");
    }

    void text(const char* n, uint8_t* bytes, size_t size)
    {
        const Json* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (!j->is_string()) {
            fail(*j, where + ": expected a string of " + std::to_string(size) + " characters, found " + KindName(*j));
            return;
        }
        const std::u32string chars = codePoints(j->get_ref<const std::string&>());
        for (char32_t c : chars) {
            if (c > 0xFF) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
                fail(*j, where + ": character " + buf + " does not fit in one byte (only U+0000 to U+00FF can be stored)");
                return;
            }
        }
        if (chars.size() != size) {
            fail(*j, where + ": holds " + std::to_string(chars.size()) + " characters; the field holds exactly " +
                         std::to_string(size) + " (pad with spaces or \\u0000 as the original did)");
            return;
        }
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(chars[i]);
    }

    void push(const char* name, int index)
    {
        if (failed()) {
            stack_.push_back(Frame{nullptr, "", false, 0});
            return;
        }
        if (index < 0) {
            const Json* j = take(name);
            const std::string where = path(name);
            if (j && !j->is_object()) {
                fail(*j, where + ": expected an object, found " + KindName(*j));
                j = nullptr;
            }
            stack_.push_back(Frame{j, where, false, 0});
            return;
        }
        const std::string listPath = path(name);
        const Json* list = take(name);
        if (list && !list->is_array()) {
            fail(*list, listPath + ": expected a list, found " + KindName(*list));
            list = nullptr;
        } else if (list && static_cast<size_t>(index) >= list->size()) {
            fail(*list, listPath + ": holds " + std::to_string(list->size()) + " entries, too few");
            list = nullptr;
        }
        stack_.push_back(Frame{list, listPath + "[" + std::to_string(index) + "]", true, static_cast<size_t>(index)});
    }
    void pop() { stack_.pop_back(); }

    bool failed() const { return error_.has_value(); }

    void fail(const Json& at, std::string what)
    {
        if (!error_)
            error_ = ImportError{doc_.spot(at).line, std::move(what)};
    }

    // The member (or the current list entry) for a field, marked as taken.
    const Json* take(const char* name)
    {
        if (failed())
            return nullptr;
        const Frame& top = stack_.back();
        if (!top.node)
            return nullptr;
        const Json* j;
        if (top.element) {
            j = &(*top.node)[top.index];
        } else {
            const auto it = top.node->find(name);
            if (it == top.node->end()) {
                fail(*top.node, "missing field " + path(name));
                return nullptr;
            }
            j = &*it;
        }
        doc_.spot(*j).used = true;
        return j;
    }

    std::string path(const char* name) const
    {
        const Frame& top = stack_.back();
        if (top.element || !*name)
            return top.path;
        return top.path.empty() ? std::string(name) : top.path + "." + name;
    }

private:
    struct Frame {
        const Json* node; // null once something failed
        std::string path;
        bool element;     // the entry `index` of the list `node`
        size_t index;
    };

    template <class T>
    void integer(const char* n, T& v, int64_t lo, int64_t hi)
    {
        const Json* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (!j->is_number()) {
            fail(*j, where + ": expected a whole number, found " + KindName(*j));
            return;
        }
        const std::string& literal = doc_.spot(*j).number;
        if (literal.find_first_of(".eE") != std::string::npos) {
            fail(*j, where + ": " + ShortQuote(literal) + " is not a whole number");
            return;
        }
        // A whole number beyond 64 bits comes as a float.
        const bool inRange = j->is_number_unsigned() ? j->get<uint64_t>() <= static_cast<uint64_t>(hi)
                             : j->is_number_integer() ? j->get<int64_t>() >= lo && j->get<int64_t>() <= hi
                                                      : false;
        if (!inRange) {
            fail(*j, where + ": " + ShortQuote(literal) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
            return;
        }
        v = static_cast<T>(j->get<int64_t>());
    }

    static bool bitPattern(const std::string& s, double& v)
    {
        if (s.size() != 18 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X'))
            return false;
        uint64_t bits = 0;
        const auto r = std::from_chars(s.data() + 2, s.data() + s.size(), bits, 16);
        if (r.ec != std::errc() || r.ptr != s.data() + s.size())
            return false;
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }

    const ParsedJson& doc_;
    std::optional<ImportError>& error_;
    std::vector<Frame> stack_;
};

// Whatever the reader did not take: a member no field list names, or list
// entries past the field's length.
void findUnused(const ParsedJson& doc, const Json& v, const std::string& path, std::optional<ImportError>& error)
{
    if (error)
        return;
    if (v.is_object()) {
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string p = path.empty() ? it.key() : path + "." + it.key();
            if (!doc.spot(*it).used) {
                error = ImportError{doc.spot(*it).line, "unknown field " + ShortQuote(p)};
                return;
            }
            findUnused(doc, *it, p, error);
            if (error)
                return;
        }
    } else if (v.is_array()) {
        size_t taken = 0;
        for (const Json& item : v)
            taken += doc.spot(item).used ? 1 : 0;
        if (taken != v.size()) {
            error = ImportError{doc.spot(v).line, path + ": holds " + std::to_string(v.size()) + " entries; " +
                                                      std::to_string(taken) + " are expected"};
            return;
        }
        for (size_t i = 0; i < v.size(); ++i) {
            findUnused(doc, v[i], path + "[" + std::to_string(i) + "]", error);
            if (error)
                return;
        }
    }
}

} // namespace

std::string CodeplugToJson(const Codeplug& cp)
{
    Codeplug copy = cp; // the field lists take non-const references; writing only reads them
    Json root = Json::object();
    root["format"] = kJsonFormatName;
    root["formatVersion"] = kJsonFormatVersion;
    TreeWriter w(root);
    field(w, "body", copy.body);
    root["channels"] = Json::array();
    const int count = std::clamp<int>(copy.body.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        w.push("channels", i);
        field(w, "", copy.channels[i]);
        w.pop();
    }
    return PrintJson(root);
}

Result<Codeplug> CodeplugFromJson(std::string_view text)
{
    auto refuse = [](int line, const std::string& what) {
        return Error{"JsonError", (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + what};
    };

    ParsedJson doc;
    JsonParseError parseError;
    if (!ParseJson(text, doc, parseError))
        return refuse(parseError.line, "not valid JSON: " + parseError.what);
    const Json& root = doc.root;
    const int rootLine = doc.spot(root).line;
    if (!root.is_object())
        return refuse(rootLine, std::string("expected an object at the top, found ") + KindName(root));

    const auto format = root.find("format");
    if (format == root.end() || *format != kJsonFormatName)
        return refuse(format != root.end() ? doc.spot(*format).line : rootLine,
                      std::string("not a QTX Codeplug: \"format\" must be \"") + kJsonFormatName + "\"");
    doc.spot(*format).used = true;
    const auto version = root.find("formatVersion");
    if (version == root.end() || doc.spot(*version).number != std::to_string(kJsonFormatVersion))
        return refuse(version != root.end() ? doc.spot(*version).line : rootLine,
                      "\"formatVersion\" must be " + std::to_string(kJsonFormatVersion) +
                          " (the only version this program reads)");
    doc.spot(*version).used = true;

    Codeplug cp;
    std::optional<ImportError> error;
    TreeReader r(doc, error);
    field(r, "body", cp.body);
    if (error)
        return refuse(error->line, error->what);

    const auto channels = root.find("channels");
    if (channels == root.end())
        return refuse(rootLine, "missing field channels");
    doc.spot(*channels).used = true;
    if (!channels->is_array())
        return refuse(doc.spot(*channels).line, std::string("channels: expected a list, found ") + KindName(*channels));
    const int count = cp.body.ChannelCount;
    if (count < 0 || count > kMaxChannels)
        return refuse(doc.spot(root["body"]["ChannelCount"]).line,
                      "body.ChannelCount: " + std::to_string(count) + " is outside 0.." + std::to_string(kMaxChannels));
    if (channels->size() != static_cast<size_t>(count))
        return refuse(doc.spot(*channels).line, "body.ChannelCount is " + std::to_string(count) +
                                                    " but channels lists " + std::to_string(channels->size()));

    std::map<int, int> seen; // number -> list position
    for (int i = 0; i < count; ++i) {
        r.push("channels", i);
        field(r, "", cp.channels[i]);
        r.pop();
        if (error)
            return refuse(error->line, error->what);
        const int number = cp.channels[i].Number;
        const int line = doc.spot((*channels)[static_cast<size_t>(i)]["Number"]).line;
        const std::string where = "channels[" + std::to_string(i) + "].Number: ";
        if (number < 1 || number > kMaxChannels)
            return refuse(line, where + std::to_string(number) + " is not a channel number (1-200 memory, 201 PA, "
                                                                 "202 PB, 203 VFO)");
        if (const auto [it, fresh] = seen.emplace(number, i); !fresh)
            return refuse(line, where + std::to_string(number) + " is already channels[" +
                                    std::to_string(it->second) + "]");
    }

    findUnused(doc, root, "", error);
    if (error)
        return refuse(error->line, error->what);
    return cp;
}

} // namespace qtx::cli
