#include "text/help_page.h"

#include <optional>

namespace qtx {

namespace {

bool isDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "1101" -> OTHER/1101, "OPTION:60043" -> OPTION/60043; anything else is no placeholder.
std::optional<HelpPlaceholder> parse(std::string_view inner)
{
    if (isDigits(inner))
        return HelpPlaceholder{"OTHER", std::string(inner)};
    const size_t colon = inner.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view section = inner.substr(0, colon);
    const std::string_view key = inner.substr(colon + 1);
    if ((section != "OTHER" && section != "OPTION" && section != "MSG") || key.empty())
        return std::nullopt;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return std::nullopt;
    return HelpPlaceholder{std::string(section), std::string(key)};
}

// Walks the page: `text` gets the runs between placeholders, `placeholder`
// each placeholder with its source spelling.
template <typename Text, typename Placeholder>
void walk(std::string_view page, Text text, Placeholder placeholder)
{
    size_t pos = 0;
    while (pos < page.size()) {
        const size_t open = page.find("{{", pos);
        if (open == std::string_view::npos)
            break;
        const size_t close = page.find("}}", open + 2);
        if (close == std::string_view::npos)
            break;
        const std::string_view inner = page.substr(open + 2, close - open - 2);
        if (auto p = parse(inner)) {
            text(page.substr(pos, open - pos));
            placeholder(*p, page.substr(open, close + 2 - open));
            pos = close + 2;
        } else {
            text(page.substr(pos, open + 1 - pos));
            pos = open + 1;
        }
    }
    text(page.substr(pos));
}

} // namespace

std::vector<HelpPlaceholder> HelpPlaceholders(std::string_view page)
{
    std::vector<HelpPlaceholder> found;
    walk(page, [](std::string_view) {}, [&](const HelpPlaceholder& p, std::string_view) { found.push_back(p); });
    return found;
}

std::string ExpandHelpPage(std::string_view page, const HelpTextLookup& lookup)
{
    std::string out;
    out.reserve(page.size());
    walk(
        page, [&](std::string_view run) { out += run; },
        [&](const HelpPlaceholder& p, std::string_view written) {
            const std::string text = PlainCaption(lookup(p));
            if (text.empty())
                out += written;
            else
                out += EscapeHtml(text);
        });
    return out;
}

std::string PlainCaption(std::string_view caption)
{
    std::string out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c != '&') {
            out += c;
            continue;
        }
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&';
            ++i;
            continue;
        }
        // "Tone & Code": no mnemonic marks a blank, so the "&" is a word.
        if (i + 1 == caption.size() || caption[i + 1] == ' ') {
            out += '&';
            continue;
        }
        // "(&H)" after a Chinese caption goes as a whole.
        if (!out.empty() && out.back() == '(' && i + 2 < caption.size() && caption[i + 2] == ')') {
            out.pop_back();
            i += 2;
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t' || out.back() == '\r' || out.back() == '\n'))
        out.pop_back();
    if (out.size() >= 3 && out.compare(out.size() - 3, 3, "...") == 0)
        out.resize(out.size() - 3);
    else if (out.size() >= 3 && out.compare(out.size() - 3, 3, "\xE2\x80\xA6") == 0)
        out.resize(out.size() - 3);
    return out;
}

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace qtx
