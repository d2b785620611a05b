#pragma once
// A JSON text is sized up before any parser builds a tree of it: a tree
// takes many times the memory of its text, so a text of tens of megabytes
// made of tiny values could exhaust the memory on its own.

#include <cstddef>
#include <string_view>

namespace qtx::cli {

// A full Codeplug (203 channels) has about 11 000 values.
inline constexpr size_t kMaxJsonValues = 100'000;

// The number of values (objects, lists, strings, numbers ...) in `text`,
// counted from its brackets and commas outside strings; exact for valid
// JSON, a fair estimate for anything else.
size_t CountJsonValues(std::string_view text);

} // namespace qtx::cli
