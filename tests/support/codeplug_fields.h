#pragma once
// Every field of a Codeplug as "path=value" lines, in declaration order, so
// two Codeplugs can be compared field by field with a readable difference.

#include "model/codeplug.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace qtx::testing {

// The text as the editors show it: trailing spaces removed, cut before the
// first NUL, and trailing spaces before that NUL removed too.
inline std::string ShownText(std::string_view raw)
{
    std::string t = TrimFixed(raw);
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    return t;
}

class FieldLister {
public:
    // rawTexts: list text fields byte for byte; otherwise as shown.
    explicit FieldLister(bool rawTexts) : raw_(rawTexts) {}

    std::vector<std::string> lines;

    void u8(const char* n, uint8_t& v) { add(n, std::to_string(v)); }
    void i16(const char* n, int16_t& v) { add(n, std::to_string(v)); }
    void u16be(const char* n, uint16_t& v) { add(n, std::to_string(v)); }
    void u16le(const char* n, uint16_t& v) { add(n, std::to_string(v)); }
    void f64(const char* n, double& v)
    {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        add(n, buf);
    }
    void text(const char* n, uint8_t* bytes, size_t size)
    {
        const std::string s(bytes, bytes + size);
        std::string shown = raw_ ? s : ShownText(s);
        std::string out = "\"";
        for (unsigned char c : shown) {
            if (c < 0x20 || c >= 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
        add(n, out + "\"");
    }
    void push(const char* n, int index)
    {
        std::string part = n;
        if (index >= 0)
            part += "[" + std::to_string(index) + "]";
        path_.push_back(part);
    }
    void pop() { path_.pop_back(); }

private:
    void add(const char* n, const std::string& value)
    {
        std::string p;
        for (const std::string& part : path_)
            if (!part.empty())
                p += (p.empty() || part[0] == '[' ? "" : ".") + part;
        if (*n)
            p += (p.empty() ? "" : ".") + std::string(n);
        lines.push_back(p + "=" + value);
    }

    bool raw_;
    std::vector<std::string> path_;
};

// The body and the first ChannelCount channels.
inline std::vector<std::string> ListFields(const Codeplug& cp, bool rawTexts = false)
{
    Codeplug copy = cp;
    FieldLister lister(rawTexts);
    field(lister, "body", copy.body);
    const int count = std::max(0, std::min<int>(copy.body.ChannelCount, kMaxChannels));
    for (int i = 0; i < count; ++i) {
        lister.push("channel", i);
        field(lister, "", copy.channels[i]);
        lister.pop();
    }
    return lister.lines;
}

// The first differing line of two listings, for a failure message.
inline std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] + "  vs  " + b[i];
    if (a.size() != b.size())
        return "field counts differ: " + std::to_string(a.size()) + " vs " + std::to_string(b.size());
    return {};
}

} // namespace qtx::testing
