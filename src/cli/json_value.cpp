#include "json_value.h"

#include <cstdio>

namespace qtx::cli {

namespace {

constexpr int kMaxDepth = 64;

class Parser {
public:
    Parser(std::string_view text, JsonParseError& error) : s_(text), error_(error) {}

    bool document(JsonValue& out)
    {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        skipBlanks();
        if (!value(out, 0))
            return false;
        skipBlanks();
        if (pos_ != s_.size())
            return fail("unexpected " + describeHere() + " after the end of the document");
        return true;
    }

private:
    bool fail(std::string what)
    {
        if (error_.what.empty()) {
            error_.line = line_;
            error_.what = std::move(what);
        }
        return false;
    }

    std::string describeHere() const
    {
        if (pos_ >= s_.size())
            return "end of the text";
        const unsigned char c = static_cast<unsigned char>(s_[pos_]);
        char buf[32];
        if (c >= 0x21 && c < 0x7F)
            std::snprintf(buf, sizeof buf, "'%c'", c);
        else
            std::snprintf(buf, sizeof buf, "byte 0x%02X", c);
        return buf;
    }

    void skipBlanks()
    {
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '\n')
                ++line_;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++pos_;
        }
    }

    bool literal(std::string_view word)
    {
        if (s_.substr(pos_, word.size()) != word)
            return fail("unexpected " + describeHere());
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth)
    {
        if (depth > kMaxDepth)
            return fail("values nested deeper than " + std::to_string(kMaxDepth) + " levels");
        out.line = line_;
        if (pos_ >= s_.size())
            return fail("unexpected end of the text");
        switch (s_[pos_]) {
        case '{': return object(out, depth);
        case '[': return array(out, depth);
        case '"':
            out.kind = JsonValue::Kind::String;
            return string(out.text);
        case 't':
            out.kind = JsonValue::Kind::Boolean;
            out.boolean = true;
            return literal("true");
        case 'f':
            out.kind = JsonValue::Kind::Boolean;
            return literal("false");
        case 'n':
            out.kind = JsonValue::Kind::Null;
            return literal("null");
        default:
            return number(out);
        }
    }

    bool digits()
    {
        const size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9')
            ++pos_;
        return pos_ > start;
    }

    bool number(JsonValue& out)
    {
        const size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '0') {
            ++pos_;
        } else if (!(pos_ < s_.size() && s_[pos_] >= '1' && s_[pos_] <= '9') || !digits()) {
            pos_ = start;
            return fail("unexpected " + describeHere());
        }
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (!digits())
                return fail("a number needs digits after its '.'");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-'))
                ++pos_;
            if (!digits())
                return fail("a number needs digits in its exponent");
        }
        out.kind = JsonValue::Kind::Number;
        out.number = std::string(s_.substr(start, pos_ - start));
        return true;
    }

    bool hex4(char32_t& v)
    {
        if (pos_ + 4 > s_.size())
            return fail("a \\u escape needs four hexadecimal digits");
        v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = s_[pos_++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<char32_t>(c - 'A' + 10);
            else
                return fail("a \\u escape needs four hexadecimal digits");
        }
        return true;
    }

    // One UTF-8 sequence starting at pos_; refuses overlong forms,
    // surrogates and truncated sequences.
    bool utf8(char32_t& c)
    {
        const auto b0 = static_cast<unsigned char>(s_[pos_]);
        int extra;
        char32_t min;
        if (b0 < 0x80) {
            c = b0;
            ++pos_;
            return true;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, c = b0 & 0x1F;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, c = b0 & 0x0F;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, c = b0 & 0x07;
        } else {
            return fail("the text is not UTF-8 (" + describeHere() + ")");
        }
        const size_t start = pos_;
        ++pos_;
        for (int i = 0; i < extra; ++i, ++pos_) {
            if (pos_ >= s_.size() || (static_cast<unsigned char>(s_[pos_]) & 0xC0) != 0x80) {
                pos_ = start;
                return fail("the text is not UTF-8 (" + describeHere() + ")");
            }
            c = (c << 6) | (static_cast<unsigned char>(s_[pos_]) & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            pos_ = start;
            return fail("the text is not UTF-8 (" + describeHere() + ")");
        }
        return true;
    }

    bool string(std::u32string& out)
    {
        ++pos_; // the opening quote
        out.clear();
        while (true) {
            if (pos_ >= s_.size())
                return fail("a string is not closed");
            const char c = s_[pos_];
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail(c == '\n' ? "a string is not closed before the end of its line"
                                      : "a control character inside a string must be written as \\u00XX");
            if (c != '\\') {
                char32_t cp;
                if (!utf8(cp))
                    return false;
                out.push_back(cp);
                continue;
            }
            ++pos_;
            if (pos_ >= s_.size())
                return fail("a string is not closed");
            const char e = s_[pos_++];
            switch (e) {
            case '"': out.push_back(U'"'); break;
            case '\\': out.push_back(U'\\'); break;
            case '/': out.push_back(U'/'); break;
            case 'b': out.push_back(U'\b'); break;
            case 'f': out.push_back(U'\f'); break;
            case 'n': out.push_back(U'\n'); break;
            case 'r': out.push_back(U'\r'); break;
            case 't': out.push_back(U'\t'); break;
            case 'u': {
                char32_t v;
                if (!hex4(v))
                    return false;
                if (v >= 0xD800 && v <= 0xDBFF) {
                    char32_t low;
                    if (s_.substr(pos_, 2) != "\\u")
                        return fail("a \\u escape holds half a surrogate pair");
                    pos_ += 2;
                    if (!hex4(low))
                        return false;
                    if (low < 0xDC00 || low > 0xDFFF)
                        return fail("a \\u escape holds half a surrogate pair");
                    v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                } else if (v >= 0xDC00 && v <= 0xDFFF) {
                    return fail("a \\u escape holds half a surrogate pair");
                }
                out.push_back(v);
                break;
            }
            default:
                --pos_;
                return fail("unknown escape \\" + describeHere());
            }
        }
    }

    bool array(JsonValue& out, int depth)
    {
        out.kind = JsonValue::Kind::Array;
        ++pos_;
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            out.items.push_back(std::move(item));
            skipBlanks();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                skipBlanks();
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == ']') {
                ++pos_;
                return true;
            }
            return fail("expected ',' or ']' in a list, found " + describeHere());
        }
    }

    bool object(JsonValue& out, int depth)
    {
        out.kind = JsonValue::Kind::Object;
        ++pos_;
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            if (pos_ >= s_.size() || s_[pos_] != '"')
                return fail("expected a field name in quotes, found " + describeHere());
            std::u32string key32;
            if (!string(key32))
                return false;
            std::string key;
            for (char32_t c : key32)
                AppendUtf8(key, c);
            if (out.find(key))
                return fail("field \"" + key + "\" appears twice");
            skipBlanks();
            if (pos_ >= s_.size() || s_[pos_] != ':')
                return fail("expected ':' after field \"" + key + "\", found " + describeHere());
            ++pos_;
            skipBlanks();
            JsonValue v;
            if (!value(v, depth + 1))
                return false;
            out.members.emplace_back(std::move(key), std::move(v));
            skipBlanks();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                skipBlanks();
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == '}') {
                ++pos_;
                return true;
            }
            return fail("expected ',' or '}' in an object, found " + describeHere());
        }
    }

    std::string_view s_;
    JsonParseError& error_;
    size_t pos_ = 0;
    int line_ = 1;
};

void printString(std::string& out, const std::u32string& text)
{
    out += '"';
    for (char32_t c : text) {
        if (c == U'"') {
            out += "\\\"";
        } else if (c == U'\\') {
            out += "\\\\";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        } else {
            AppendUtf8(out, c);
        }
    }
    out += '"';
}

bool isPlain(const JsonValue& v)
{
    return v.kind != JsonValue::Kind::Array && v.kind != JsonValue::Kind::Object;
}

void print(std::string& out, const JsonValue& v, int indent)
{
    const std::string pad(static_cast<size_t>(indent + 2), ' ');
    switch (v.kind) {
    case JsonValue::Kind::Null: out += "null"; break;
    case JsonValue::Kind::Boolean: out += v.boolean ? "true" : "false"; break;
    case JsonValue::Kind::Number: out += v.number; break;
    case JsonValue::Kind::String: printString(out, v.text); break;
    case JsonValue::Kind::Array: {
        if (v.items.empty()) {
            out += "[]";
            break;
        }
        bool plain = true;
        for (const auto& item : v.items)
            plain = plain && isPlain(item);
        if (plain) {
            out += '[';
            for (size_t i = 0; i < v.items.size(); ++i) {
                if (i)
                    out += ", ";
                print(out, v.items[i], indent);
            }
            out += ']';
            break;
        }
        out += "[\n";
        for (size_t i = 0; i < v.items.size(); ++i) {
            out += pad;
            print(out, v.items[i], indent + 2);
            out += i + 1 < v.items.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + ']';
        break;
    }
    case JsonValue::Kind::Object: {
        if (v.members.empty()) {
            out += "{}";
            break;
        }
        out += "{\n";
        for (size_t i = 0; i < v.members.size(); ++i) {
            out += pad;
            std::u32string key;
            for (unsigned char c : v.members[i].first)
                key.push_back(c); // keys are the model's ASCII field names
            printString(out, key);
            out += ": ";
            print(out, v.members[i].second, indent + 2);
            out += i + 1 < v.members.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + '}';
        break;
    }
    }
}

} // namespace

JsonValue JsonValue::Number(std::string literal)
{
    JsonValue v;
    v.kind = Kind::Number;
    v.number = std::move(literal);
    return v;
}

JsonValue JsonValue::String(std::u32string codePoints)
{
    JsonValue v;
    v.kind = Kind::String;
    v.text = std::move(codePoints);
    return v;
}

const JsonValue* JsonValue::find(std::string_view key) const
{
    for (const auto& [k, v] : members)
        if (k == key)
            return &v;
    return nullptr;
}

JsonValue& JsonValue::add(std::string key, JsonValue value)
{
    members.emplace_back(std::move(key), std::move(value));
    return members.back().second;
}

const char* KindName(JsonValue::Kind kind)
{
    switch (kind) {
    case JsonValue::Kind::Null: return "null";
    case JsonValue::Kind::Boolean: return "true or false";
    case JsonValue::Kind::Number: return "a number";
    case JsonValue::Kind::String: return "a string";
    case JsonValue::Kind::Array: return "a list";
    case JsonValue::Kind::Object: return "an object";
    }
    return "a value";
}

bool ParseJson(std::string_view text, JsonValue& out, JsonParseError& error)
{
    error = JsonParseError{};
    out = JsonValue{};
    Parser parser(text, error);
    return parser.document(out);
}

std::string PrintJson(const JsonValue& value)
{
    std::string out;
    print(out, value, 0);
    out += '\n';
    return out;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace qtx::cli
