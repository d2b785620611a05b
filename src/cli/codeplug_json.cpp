#include "codeplug_json.h"

#include "json_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

namespace qtx::cli {

namespace {

using Kind = JsonValue::Kind;

std::u32string latin1(const uint8_t* bytes, size_t n)
{
    std::u32string s;
    s.reserve(n);
    for (size_t i = 0; i < n; ++i)
        s.push_back(bytes[i]);
    return s;
}

// Finite doubles as the shortest decimal that reads back to the same bits;
// infinities and NaNs (which JSON numbers cannot hold) as their bit pattern.
JsonValue doubleValue(double v)
{
    if (std::isfinite(v)) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        return JsonValue::Number(std::string(buf, r.ptr));
    }
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%016llX", static_cast<unsigned long long>(bits));
    std::u32string s;
    for (const char* p = buf; *p; ++p)
        s.push_back(static_cast<unsigned char>(*p));
    return JsonValue::String(std::move(s));
}

// Builds the tree while the field list is walked.
class TreeWriter {
public:
    explicit TreeWriter(JsonValue& root) { stack_.push_back(Frame{&root, false}); }

    void u8(const char* n, uint8_t& v) { put(n, JsonValue::Number(std::to_string(v))); }
    void i16(const char* n, int16_t& v) { put(n, JsonValue::Number(std::to_string(v))); }
    void u16be(const char* n, uint16_t& v) { put(n, JsonValue::Number(std::to_string(v))); }
    void u16le(const char* n, uint16_t& v) { put(n, JsonValue::Number(std::to_string(v))); }
    void f64(const char* n, double& v) { put(n, doubleValue(v)); }
    void text(const char* n, uint8_t* bytes, size_t size) { put(n, JsonValue::String(latin1(bytes, size))); }

    void push(const char* name, int index)
    {
        if (index >= 0) {
            JsonValue& parent = *stack_.back().node;
            JsonValue* list = const_cast<JsonValue*>(parent.find(name));
            if (!list)
                list = &parent.add(name, JsonValue::Array());
            stack_.push_back(Frame{list, true});
            return;
        }
        stack_.push_back(Frame{&put(name, JsonValue::Object()), false});
    }
    void pop() { stack_.pop_back(); }

private:
    struct Frame {
        JsonValue* node;
        bool element; // the next value is an entry of this list
    };

    JsonValue& put(const char* name, JsonValue v)
    {
        Frame& top = stack_.back();
        if (top.element) {
            top.node->items.push_back(std::move(v));
            return top.node->items.back();
        }
        return top.node->add(name, std::move(v));
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
    TreeReader(const JsonValue& root, std::optional<ImportError>& error) : error_(error)
    {
        stack_.push_back(Frame{&root, "", false, 0});
    }

    void u8(const char* n, uint8_t& v) { integer(n, v, 0, 255); }
    void i16(const char* n, int16_t& v) { integer(n, v, -32768, 32767); }
    void u16be(const char* n, uint16_t& v) { integer(n, v, 0, 65535); }
    void u16le(const char* n, uint16_t& v) { integer(n, v, 0, 65535); }

    void f64(const char* n, double& v)
    {
        const JsonValue* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (j->kind == Kind::String) {
            if (!bitPattern(j->text, v))
                fail(*j, where + ": a double is a number or its bit pattern as \"0x\" and 16 hexadecimal digits");
            return;
        }
        if (j->kind != Kind::Number) {
            fail(*j, where + ": expected a number, found " + KindName(j->kind));
            return;
        }
        const char* first = j->number.data();
        const char* last = first + j->number.size();
        const auto r = std::from_chars(first, last, v);
        if (r.ec != std::errc() || r.ptr != last)
            fail(*j, where + ": " + j->number + " is too large or too small for a double");
    }

    void text(const char* n, uint8_t* bytes, size_t size)
    {
        const JsonValue* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (j->kind != Kind::String) {
            fail(*j, where + ": expected a string of " + std::to_string(size) + " characters, found " +
                         KindName(j->kind));
            return;
        }
        for (char32_t c : j->text) {
            if (c > 0xFF) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
                fail(*j, where + ": character " + buf + " does not fit in one byte (only U+0000 to U+00FF can be stored)");
                return;
            }
        }
        if (j->text.size() != size) {
            fail(*j, where + ": holds " + std::to_string(j->text.size()) + " characters; the field holds exactly " +
                         std::to_string(size) + " (pad with spaces or \\u0000 as the original did)");
            return;
        }
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(j->text[i]);
    }

    void push(const char* name, int index)
    {
        if (failed()) {
            stack_.push_back(Frame{nullptr, "", false, 0});
            return;
        }
        if (index < 0) {
            const JsonValue* j = take(name);
            const std::string where = path(name);
            if (j && j->kind != Kind::Object) {
                fail(*j, where + ": expected an object, found " + KindName(j->kind));
                j = nullptr;
            }
            stack_.push_back(Frame{j, where, false, 0});
            return;
        }
        const std::string listPath = path(name);
        const JsonValue* list = take(name);
        if (list && list->kind != Kind::Array) {
            fail(*list, listPath + ": expected a list, found " + KindName(list->kind));
            list = nullptr;
        } else if (list && static_cast<size_t>(index) >= list->items.size()) {
            fail(*list, listPath + ": holds " + std::to_string(list->items.size()) + " entries, too few");
            list = nullptr;
        }
        stack_.push_back(Frame{list, listPath + "[" + std::to_string(index) + "]", true, static_cast<size_t>(index)});
    }
    void pop() { stack_.pop_back(); }

    bool failed() const { return error_.has_value(); }

    void fail(const JsonValue& at, std::string what)
    {
        if (!error_)
            error_ = ImportError{at.line, std::move(what)};
    }

    // The member (or the current list entry) for a field, marked as taken.
    const JsonValue* take(const char* name)
    {
        if (failed())
            return nullptr;
        const Frame& top = stack_.back();
        if (!top.node)
            return nullptr;
        const JsonValue* j;
        if (top.element) {
            j = &top.node->items[top.index];
        } else {
            j = top.node->find(name);
            if (!j) {
                fail(*top.node, "missing field " + path(name));
                return nullptr;
            }
        }
        j->used = true;
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
        const JsonValue* node; // null once something failed
        std::string path;
        bool element;          // the entry `index` of the list `node`
        size_t index;
    };

    template <class T>
    void integer(const char* n, T& v, long long lo, long long hi)
    {
        const JsonValue* j = take(n);
        if (!j)
            return;
        const std::string where = path(n);
        if (j->kind != Kind::Number) {
            fail(*j, where + ": expected a whole number, found " + KindName(j->kind));
            return;
        }
        if (j->number.find_first_of(".eE") != std::string::npos) {
            fail(*j, where + ": " + j->number + " is not a whole number");
            return;
        }
        long long value = 0;
        const char* first = j->number.data();
        const char* last = first + j->number.size();
        const auto r = std::from_chars(first, last, value);
        if (r.ec != std::errc() || r.ptr != last || value < lo || value > hi) {
            fail(*j, where + ": " + j->number + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
            return;
        }
        v = static_cast<T>(value);
    }

    static bool bitPattern(const std::u32string& s, double& v)
    {
        if (s.size() != 18 || s[0] != U'0' || (s[1] != U'x' && s[1] != U'X'))
            return false;
        uint64_t bits = 0;
        for (size_t i = 2; i < s.size(); ++i) {
            const char32_t c = s[i];
            int d;
            if (c >= U'0' && c <= U'9')
                d = static_cast<int>(c - U'0');
            else if (c >= U'a' && c <= U'f')
                d = static_cast<int>(c - U'a' + 10);
            else if (c >= U'A' && c <= U'F')
                d = static_cast<int>(c - U'A' + 10);
            else
                return false;
            bits = bits << 4 | static_cast<uint64_t>(d);
        }
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }

    std::optional<ImportError>& error_;
    std::vector<Frame> stack_;
};

// Whatever the reader did not take: a member no field list names, or list
// entries past the field's length.
void findUnused(const JsonValue& v, const std::string& path, std::optional<ImportError>& error)
{
    if (error)
        return;
    if (v.kind == Kind::Object) {
        for (const auto& [key, member] : v.members) {
            const std::string p = path.empty() ? key : path + "." + key;
            if (!member.used) {
                error = ImportError{member.line, "unknown field " + p};
                return;
            }
            findUnused(member, p, error);
            if (error)
                return;
        }
    } else if (v.kind == Kind::Array) {
        size_t taken = 0;
        for (const auto& item : v.items)
            taken += item.used ? 1 : 0;
        if (taken != v.items.size()) {
            error = ImportError{v.line, path + ": holds " + std::to_string(v.items.size()) + " entries; " +
                                            std::to_string(taken) + " are expected"};
            return;
        }
        for (size_t i = 0; i < v.items.size(); ++i) {
            findUnused(v.items[i], path + "[" + std::to_string(i) + "]", error);
            if (error)
                return;
        }
    }
}

bool isText(const JsonValue* v, std::u32string_view expected)
{
    return v && v->kind == Kind::String && v->text == expected;
}

} // namespace

std::string CodeplugToJson(const Codeplug& cp)
{
    Codeplug copy = cp; // the field lists take non-const references; writing only reads them
    JsonValue root = JsonValue::Object();
    std::u32string format;
    for (const char* p = kJsonFormatName; *p; ++p)
        format.push_back(static_cast<unsigned char>(*p));
    root.add("format", JsonValue::String(format));
    root.add("formatVersion", JsonValue::Number(std::to_string(kJsonFormatVersion)));
    TreeWriter w(root);
    field(w, "body", copy.body);
    root.add("channels", JsonValue::Array());
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

    JsonValue root;
    JsonParseError parseError;
    if (!ParseJson(text, root, parseError))
        return refuse(parseError.line, "not valid JSON: " + parseError.what);
    if (root.kind != Kind::Object)
        return refuse(root.line, std::string("expected an object at the top, found ") + KindName(root.kind));

    const JsonValue* format = root.find("format");
    if (!isText(format, U"qtx-codeplug"))
        return refuse(format ? format->line : root.line,
                      std::string("not a QTX Codeplug: \"format\" must be \"") + kJsonFormatName + "\"");
    format->used = true;
    const JsonValue* version = root.find("formatVersion");
    if (!version || version->kind != Kind::Number || version->number != std::to_string(kJsonFormatVersion))
        return refuse(version ? version->line : root.line,
                      "\"formatVersion\" must be " + std::to_string(kJsonFormatVersion) +
                          " (the only version this program reads)");
    version->used = true;

    Codeplug cp;
    std::optional<ImportError> error;
    TreeReader r(root, error);
    field(r, "body", cp.body);
    if (error)
        return refuse(error->line, error->what);

    const JsonValue* channels = root.find("channels");
    if (!channels)
        return refuse(root.line, "missing field channels");
    channels->used = true;
    if (channels->kind != Kind::Array)
        return refuse(channels->line, std::string("channels: expected a list, found ") + KindName(channels->kind));
    const int count = cp.body.ChannelCount;
    if (count < 0 || count > kMaxChannels)
        return refuse(root.find("body")->find("ChannelCount")->line,
                      "body.ChannelCount: " + std::to_string(count) + " is outside 0.." + std::to_string(kMaxChannels));
    if (channels->items.size() != static_cast<size_t>(count))
        return refuse(channels->line, "body.ChannelCount is " + std::to_string(count) + " but channels lists " +
                                          std::to_string(channels->items.size()));

    std::map<int, int> seen; // number -> list position
    for (int i = 0; i < count; ++i) {
        r.push("channels", i);
        field(r, "", cp.channels[i]);
        r.pop();
        if (error)
            return refuse(error->line, error->what);
        const int number = cp.channels[i].Number;
        const int line = channels->items[i].find("Number")->line;
        const std::string where = "channels[" + std::to_string(i) + "].Number: ";
        if (number < 1 || number > kMaxChannels)
            return refuse(line, where + std::to_string(number) + " is not a channel number (1-200 memory, 201 PA, "
                                                                 "202 PB, 203 VFO)");
        if (const auto [it, fresh] = seen.emplace(number, i); !fresh)
            return refuse(line, where + std::to_string(number) + " is already channels[" +
                                    std::to_string(it->second) + "]");
    }

    findUnused(root, "", error);
    if (error)
        return refuse(error->line, error->what);
    return cp;
}

} // namespace qtx::cli
