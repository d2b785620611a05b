#pragma once
// Help pages name captions by text ID so that they always use the words on
// screen: "{{1101}}" is text 1101 of section OTHER, "{{OPTION:60043}}" and
// "{{MSG:9001}}" name the other sections. Expansion puts in the current
// language file's text without its "&" mnemonic, HTML-escaped.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

struct HelpPlaceholder {
    std::string section; // "OTHER", "OPTION" or "MSG"
    std::string key;     // decimal ID or key within the section
    bool operator==(const HelpPlaceholder&) const = default;
};

// The text of a placeholder; empty when the language file lacks it.
using HelpTextLookup = std::function<std::string(const HelpPlaceholder&)>;

// Every well-formed placeholder of a page, in page order.
std::vector<HelpPlaceholder> HelpPlaceholders(std::string_view page);

// The page with each placeholder replaced by its text. A placeholder whose
// text is missing stays as written, so the gap shows instead of vanishing.
std::string ExpandHelpPage(std::string_view page, const HelpTextLookup& lookup);

// A caption as prose: "&Open..." -> "Open", "打开(&O)..." -> "打开", "&&" -> "&".
std::string PlainCaption(std::string_view caption);

// "<", ">", "&" and quotes as HTML entities.
std::string EscapeHtml(std::string_view text);

} // namespace qtx
