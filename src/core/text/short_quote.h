#pragma once
// Messages that quote bad input (a field name, a number as written) quote
// only its start: a message stays one readable line however long the input.

#include <cstddef>
#include <string>
#include <string_view>

namespace qtx {

inline constexpr size_t kQuoteLength = 60;

// `text` when it has at most maxChars UTF-8 characters; else its first
// maxChars characters followed by "…".
std::string ShortQuote(std::string_view text, size_t maxChars = kQuoteLength);

} // namespace qtx
