#include "json_text.h"

#include "text/short_quote.h"

#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <vector>

namespace qtx::cli {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Hands the text to the parser byte by byte and keeps how far it has read:
// the parser reports each value right after reading its last byte (a number
// one byte later, the byte that ended it), so that position gives the line.
class Cursor {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    Cursor() = default;
    Cursor(const char* at, const char** furthest) : at_(at), furthest_(furthest) {}

    reference operator*() const { return *at_; }
    Cursor& operator++()
    {
        ++at_;
        if (furthest_ && at_ > *furthest_)
            *furthest_ = at_;
        return *this;
    }
    Cursor operator++(int)
    {
        Cursor before = *this;
        ++*this;
        return before;
    }
    bool operator==(const Cursor& other) const { return at_ == other.at_; }

private:
    const char* at_ = nullptr;
    const char** furthest_ = nullptr;
};

// Builds the tree from the parser's events, noting each value's line and
// each number's literal in the order the values appear.
class Builder : public nlohmann::json_sax<Json> {
public:
    Builder(std::string_view text, const char* const& furthest, Json& root, std::vector<JsonSpot>& spots,
            JsonParseError& error)
        : text_(text), furthest_(furthest), root_(root), spots_(spots), error_(error)
    {
    }

    bool null() override { return place(nullptr, read()) != nullptr; }
    bool boolean(bool v) override { return place(v, read()) != nullptr; }
    bool number_integer(number_integer_t v) override { return number(v, std::nullopt); }
    bool number_unsigned(number_unsigned_t v) override { return number(v, std::nullopt); }
    bool number_float(number_float_t v, const string_t& literal) override { return number(v, literal); }
    bool string(string_t& v) override { return place(std::move(v), read()) != nullptr; }
    bool binary(binary_t&) override { return false; } // JSON text has none

    bool start_object(std::size_t) override { return open(Json::object()); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& key) override
    {
        Json& object = *open_.back();
        if (object.contains(key))
            return fail(lineAt(read()), "field \"" + ShortQuote(key) + "\" appears twice");
        slot_ = &object[key];
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const Json::exception& e) override
    {
        // `position` counts the byte the parser stopped at; a line break
        // there (a string left open) belongs to the line it ends.
        std::string what = e.what();
        size_t start = what.find("column ");
        start = start != std::string::npos ? what.find(": ", start) : what.find("] ");
        if (start != std::string::npos)
            what.erase(0, start + 2);
        // The bytes the parser quotes may be no UTF-8 at all.
        std::string shown;
        for (const char c : what) {
            if (static_cast<unsigned char>(c) < 0x80) {
                shown += c;
                continue;
            }
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
            shown += buf;
        }
        // The parser quotes the token it stopped in ('...'), however long.
        std::string quoted;
        size_t from = 0;
        for (bool inside = false;; inside = !inside) {
            const size_t quote = shown.find('\'', from);
            const std::string_view part = std::string_view(shown).substr(from, quote - from);
            quoted += inside ? ShortQuote(part) : std::string(part);
            if (quote == std::string::npos)
                break;
            quoted += '\'';
            from = quote + 1;
        }
        return fail(lineAt(position > 0 ? position - 1 : 0), quoted);
    }

private:
    size_t read() const { return static_cast<size_t>(furthest_ - text_.data()); }

    // The line of `end`, counted on from the last question: events come in
    // text order.
    int lineAt(size_t end)
    {
        end = std::min(end, text_.size());
        if (end < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        for (; counted_ < end; ++counted_)
            line_ += text_[counted_] == '\n' ? 1 : 0;
        return line_;
    }

    template <class T>
    bool number(T value, std::optional<std::string> literal)
    {
        size_t end = read();
        if (end > 0 && !isDigit(text_[end - 1]))
            --end; // the byte that ended the number
        if (!literal) {
            size_t start = end;
            while (start > 0 && (isDigit(text_[start - 1]) || text_[start - 1] == '-'))
                --start;
            literal = std::string(text_.substr(start, end - start));
        }
        return place(value, end, std::move(*literal)) != nullptr;
    }

    Json* place(Json value, size_t end, std::string literal = {})
    {
        spots_.push_back(JsonSpot{lineAt(end), std::move(literal)});
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Json& container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return &container.back();
        }
        *slot_ = std::move(value);
        return slot_;
    }

    bool open(Json container)
    {
        if (open_.size() > static_cast<size_t>(kMaxJsonDepth))
            return fail(lineAt(read()), "values nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        open_.push_back(place(std::move(container), read()));
        return true;
    }

    bool close()
    {
        open_.pop_back();
        return true;
    }

    bool fail(int line, std::string what)
    {
        if (error_.what.empty())
            error_ = JsonParseError{line, std::move(what)};
        return false;
    }

    std::string_view text_;
    const char* const& furthest_;
    Json& root_;
    std::vector<JsonSpot>& spots_;
    JsonParseError& error_;
    std::vector<Json*> open_; // the containers being filled, innermost last
    Json* slot_ = nullptr;    // the member the last key named
    size_t counted_ = 0;
    int line_ = 1;
};

// The spots, noted in text order, given to the values of the finished tree,
// walked in the same order.
void attach(const Json& value, std::vector<JsonSpot>& spots, size_t& next,
            std::unordered_map<const Json*, JsonSpot>& out)
{
    out.emplace(&value, std::move(spots[next++]));
    if (value.is_structured())
        for (const Json& inner : value)
            attach(inner, spots, next, out);
}

void printString(std::string& out, std::string_view utf8)
{
    out += '"';
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned control = 0x100;
        if (c < 0x20 || c == 0x7F)
            control = c;
        else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F)
            control = static_cast<unsigned char>(utf8[++i]); // U+0080-U+009F
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (control < 0x100) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", control);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void print(std::string& out, const Json& v, int indent)
{
    const std::string pad(static_cast<size_t>(indent + 2), ' ');
    switch (v.type()) {
    case Json::value_t::boolean: out += v.get<bool>() ? "true" : "false"; break;
    case Json::value_t::number_integer: out += std::to_string(v.get<int64_t>()); break;
    case Json::value_t::number_unsigned: out += std::to_string(v.get<uint64_t>()); break;
    case Json::value_t::number_float: {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.get<double>());
        out.append(buf, r.ptr);
        break;
    }
    case Json::value_t::string: printString(out, v.get_ref<const std::string&>()); break;
    case Json::value_t::array:
    case Json::value_t::object: {
        if (v.empty()) {
            out += v.is_array() ? "[]" : "{}";
            break;
        }
        bool plain = v.is_array();
        for (const Json& item : v)
            plain = plain && !item.is_structured();
        if (plain) {
            out += '[';
            for (size_t i = 0; i < v.size(); ++i) {
                if (i)
                    out += ", ";
                print(out, v[i], indent);
            }
            out += ']';
            break;
        }
        out += v.is_array() ? "[\n" : "{\n";
        size_t left = v.size();
        for (auto it = v.begin(); it != v.end(); ++it) {
            out += pad;
            if (v.is_object()) {
                printString(out, it.key());
                out += ": ";
            }
            print(out, it.value(), indent + 2);
            out += --left ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + (v.is_array() ? ']' : '}');
        break;
    }
    default: out += "null"; break;
    }
}

} // namespace

bool ParseJson(std::string_view text, ParsedJson& out, JsonParseError& error)
{
    error = JsonParseError{};
    out = ParsedJson{};
    const char* furthest = text.data();
    std::vector<JsonSpot> spots;
    Builder builder(text, furthest, out.root, spots, error);
    const bool parsed = Json::sax_parse(Cursor(text.data(), &furthest), Cursor(text.data() + text.size(), nullptr),
                                        &builder);
    if (!parsed) {
        if (error.what.empty())
            error = JsonParseError{1, "not JSON"};
        out = ParsedJson{};
        return false;
    }
    size_t next = 0;
    out.spots.reserve(spots.size());
    attach(out.root, spots, next, out.spots);
    return true;
}

std::string PrintJson(const Json& value)
{
    std::string out;
    print(out, value, 0);
    out += '\n';
    return out;
}

const char* KindName(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null: return "null";
    case Json::value_t::boolean: return "true or false";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return "a number";
    case Json::value_t::string: return "a string";
    case Json::value_t::array: return "a list";
    case Json::value_t::object: return "an object";
    default: return "a value";
    }
}

void AppendLatin1(std::string& out, uint8_t byte)
{
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

} // namespace qtx::cli
