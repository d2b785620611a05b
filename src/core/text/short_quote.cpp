#include "text/short_quote.h"

#include "text/ini_file.h"

namespace qtx {

std::string ShortQuote(std::string_view text, size_t maxChars)
{
    std::string cut = CutUtf8(text, maxChars);
    if (cut.size() < text.size())
        cut += "\xE2\x80\xA6"; // …
    return cut;
}

} // namespace qtx
