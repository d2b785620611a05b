#pragma once
// A small, strict JSON tree for the Codeplug exchange format: every value
// remembers the line it started on so that a refusal can point at it,
// numbers keep their literal text so that integers and doubles are read
// exactly, and strings keep their code points so that single-byte texts can
// be checked character by character.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qtx::cli {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind = Kind::Null;
    int line = 0;
    bool boolean = false;
    std::string number;   // the literal as written ("-12", "136.5", "1e-3")
    std::u32string text;  // a string's code points
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members; // keys in UTF-8, in file order
    // Set by readers on every value they took, so that what nobody took can
    // be reported as unknown.
    mutable bool used = false;

    static JsonValue Object() { JsonValue v; v.kind = Kind::Object; return v; }
    static JsonValue Array() { JsonValue v; v.kind = Kind::Array; return v; }
    static JsonValue Number(std::string literal);
    static JsonValue String(std::u32string codePoints);

    // The member of an object with that key, or null.
    const JsonValue* find(std::string_view key) const;
    JsonValue& add(std::string key, JsonValue value);
};

// "an object", "a number" ... for messages.
const char* KindName(JsonValue::Kind kind);

struct JsonParseError {
    int line = 0;
    std::string what;
};

// Parses one JSON text (UTF-8, an optional byte order mark) into `out`.
// Refuses what RFC 8259 refuses, plus duplicate keys in an object and
// nesting deeper than 64 levels.
bool ParseJson(std::string_view text, JsonValue& out, JsonParseError& error);

// Two-space indentation, one member per line; arrays of plain values on one
// line. Strings escape '"', '\\', and the code points below U+0020 and from
// U+007F to U+009F as \u00XX; everything else is written as UTF-8.
std::string PrintJson(const JsonValue& value);

// Encodes one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

} // namespace qtx::cli
