// Help pages put in the captions of the current language file.

#include "text/help_page.h"

#include <gtest/gtest.h>

#include <map>

using namespace qtx;

namespace {

HelpTextLookup table(std::map<std::string, std::string> texts)
{
    return [texts](const HelpPlaceholder& p) {
        const auto it = texts.find(p.section + ":" + p.key);
        return it == texts.end() ? std::string() : it->second;
    };
}

} // namespace

TEST(HelpPage, PlaceholdersOfEverySectionAreExpandedAsPlainEscapedWords)
{
    const auto lookup = table({{"OTHER:1002", "&Open..."},
                               {"OTHER:1003", "保存(&S)"},
                               {"OPTION:60043", "Tone <A> & \"B\""},
                               {"MSG:9001", "Save && close?"}});
    EXPECT_EQ(ExpandHelpPage("<b>{{1002}}</b>, <b>{{1003}}</b>: {{OPTION:60043}} / {{MSG:9001}}", lookup),
              "<b>Open</b>, <b>保存</b>: Tone &lt;A&gt; &amp; &quot;B&quot; / Save &amp; close?");
    EXPECT_EQ(HelpPlaceholders("{{1002}} x {{OPTION:60043}} {{MSG:9001}} {{OTHER:1003}}"),
              (std::vector<HelpPlaceholder>{{"OTHER", "1002"}, {"OPTION", "60043"}, {"MSG", "9001"}, {"OTHER", "1003"}}));
}

TEST(HelpPage, TextThatIsNoPlaceholderOrHasNoTextStaysAsWritten)
{
    const auto lookup = table({{"OTHER:1101", "RX Freq"}});
    // A missing text leaves its placeholder visible instead of a hole.
    EXPECT_EQ(ExpandHelpPage("{{4242}} and {{1101}}", lookup), "{{4242}} and RX Freq");
    // Braces that name nothing: other sections, letters, unclosed, empty.
    for (const char* page : {"{{abc}}", "{{FOO:12}}", "{{OPTION:}}", "{{}}", "{{1101", "{{OPTION:1 2}}", "{1101}"})
        EXPECT_EQ(ExpandHelpPage(page, lookup), page) << page;
    EXPECT_TRUE(HelpPlaceholders("{{abc}} {{1101").empty());
    // An extra brace before a placeholder is kept; the placeholder still counts.
    EXPECT_EQ(ExpandHelpPage("{{{1101}}}", lookup), "{RX Freq}");
    EXPECT_EQ(ExpandHelpPage("", lookup), "");
}

TEST(HelpPage, PlainCaptionDropsMnemonicsAndEllipsis)
{
    EXPECT_EQ(PlainCaption("&File"), "File");
    EXPECT_EQ(PlainCaption("Save &As..."), "Save As");
    EXPECT_EQ(PlainCaption("另存为(&A)..."), "另存为");
    EXPECT_EQ(PlainCaption("打开(&O)\xE2\x80\xA6"), "打开");
    EXPECT_EQ(PlainCaption("R&&D"), "R&D");
    EXPECT_EQ(PlainCaption("(&Keep) me"), "(Keep) me");
    EXPECT_EQ(PlainCaption("Ends with &"), "Ends with &");
    EXPECT_EQ(PlainCaption("Tone & &Code"), "Tone & Code");
    EXPECT_EQ(PlainCaption("Scan list\r\n"), "Scan list");
    EXPECT_EQ(PlainCaption(""), "");
}
