#pragma once
// JSON text in and out for the Codeplug exchange format, on nlohmann-json.
//
// Reading keeps, beside the parsed tree, where each value stood (its line)
// and the literal of each number, so that a refusal can point at the line
// and quote what was written, and a double field can tell "-0" from "0".
// Writing uses the format's own layout (see docs/json-format.md), which no
// setting of the library's dump() gives.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qtx::cli {

using Json = nlohmann::ordered_json;

struct JsonSpot {
    int line = 0;
    std::string number; // a number's literal as written ("-0", "1e-3")
    // Set by readers on every value they took, so that what nobody took can
    // be reported as unknown.
    mutable bool used = false;
};

struct ParsedJson {
    Json root;
    std::unordered_map<const Json*, JsonSpot> spots; // every value of `root`

    const JsonSpot& spot(const Json& value) const { return spots.at(&value); }
};

struct JsonParseError {
    int line = 0;
    std::string what;
};

inline constexpr int kMaxJsonDepth = 64;

// Parses one JSON text (UTF-8, an optional byte order mark). Refuses what
// RFC 8259 refuses, plus a key twice in one object and nesting deeper than
// kMaxJsonDepth levels.
bool ParseJson(std::string_view text, ParsedJson& out, JsonParseError& error);

// Two-space indentation, one member per line; arrays of plain values on one
// line. Strings escape '"', '\\', and the code points below U+0020 and from
// U+007F to U+009F as \u00XX; everything else is written as UTF-8. Finite
// floats are written as the shortest decimal that reads back to the same
// double.
std::string PrintJson(const Json& value);

// "an object", "a number" ... for messages.
const char* KindName(const Json& value);

// One byte as the character U+0000-U+00FF, in UTF-8.
void AppendLatin1(std::string& out, uint8_t byte);

} // namespace qtx::cli
