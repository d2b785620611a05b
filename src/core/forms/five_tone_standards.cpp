#include "forms/five_tone_standards.h"

#include "convert/numeric.h"
#include "model/fixed_text.h"

#include <cmath>

namespace qtx {

namespace {

struct Standard {
    std::string_view name;
    std::array<std::string_view, 16> tones; // "" = the digit has no tone
    int toneLength;
};

// clang-format off
constexpr std::array<Standard, 15> kCatalogue = {{
    {"ZVEI1", {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "2800", "810", "970", "885", "2600", "680"}, 70},
    {"ZVEI2", {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "885", "810", "740", "680", "970", "2600"}, 70},
    {"ZVEI3", {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "885", "", "", "", "2400", ""}, 70},
    {"PZVEI", {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "970", "810", "2800", "885", "2600", "680"}, 70},
    {"DZVEI", {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825/885", "740", "2600", "885", "2400", "680"}, 70},
    {"PDZVEI", {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825", "886", "2600", "856", "2400", ""}, 70},
    {"CCIR1", {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400", "930", "2247", "991", "2110", "1055"}, 100},
    {"CCIR2", {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400", "930", "2247", "991", "2110", "1055"}, 70},
    {"PCCIR", {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1050", "930", "2400", "991", "2110", ""}, 100},
    {"EEA", {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1055", "930", "2400", "991", "2110", "2247"}, 40},
    {"EURO SIGNAL", {"979.8", "903.1", "832.5", "767.4", "707.4", "652.0", "601.0", "554.0", "510.7", "470.8", "", "", "", "", "1062.9", ""}, 100},
    {"NATEL", {"1633", "631", "697", "770", "852", "941", "1040", "1209", "1336", "1477", "1995", "571", "2205", "2437", "1805", "2694"}, 70},
    {"MODAT", {"637.5", "787.5", "937.5", "1087.5", "1237.5", "1387.5", "1537.5", "1687.5", "1837.5", "1987.5", "", "", "", "", "487.5", ""}, 40},
    {"CCITT", {"400.0", "697.0", "770.0", "852.0", "941.0", "1209.0", "1335.0", "1477.0", "1663.0", "1800.0", "1900.0", "2000.0", "2100.0", "2200.0", "2300.0", "0.0"}, 70},
    {"EIA", {"600.0", "741.0", "882.0", "1023.0", "1164.0", "1305.0", "1446.0", "1587.0", "1728.0", "1869.0", "2151.0", "2433.0", "2010.0", "2292.0", "459.0", "1091.0"}, 33},
}};
// clang-format on

constexpr std::array<Choice, 16> kNames = {
    LiteralChoice(kCatalogue[0].name),  LiteralChoice(kCatalogue[1].name),  LiteralChoice(kCatalogue[2].name),
    LiteralChoice(kCatalogue[3].name),  LiteralChoice(kCatalogue[4].name),  LiteralChoice(kCatalogue[5].name),
    LiteralChoice(kCatalogue[6].name),  LiteralChoice(kCatalogue[7].name),  LiteralChoice(kCatalogue[8].name),
    LiteralChoice(kCatalogue[9].name),  LiteralChoice(kCatalogue[10].name), LiteralChoice(kCatalogue[11].name),
    LiteralChoice(kCatalogue[12].name), LiteralChoice(kCatalogue[13].name), LiteralChoice(kCatalogue[14].name),
    TextChoice(kUserSetTextId)};

constexpr std::string_view kDigits = "0123456789ABCDEF";

// Trimmed, without its last (UTF-8) character.
std::string heading(std::string_view text)
{
    std::string s = TrimFixed(text);
    if (s.empty())
        return s;
    size_t end = s.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    s.erase(end);
    return s;
}

constexpr double kUserToneLow = 288.5;
constexpr double kUserToneHigh = 3106.0;

} // namespace

const Choice& StandardName(int standard)
{
    return ChoiceAt(kNames, standard);
}

std::optional<int> StandardOfName(std::string_view name)
{
    for (size_t i = 0; i < kCatalogue.size(); ++i)
        if (kCatalogue[i].name == name)
            return static_cast<int>(i);
    return std::nullopt;
}

int DefaultToneLength(std::string_view name)
{
    const auto standard = StandardOfName(name);
    return standard ? kCatalogue[*standard].toneLength : 70;
}

std::string StandardInfoText(std::string_view name, const UserToneTable& user, const StandardInfoHeadings& headings)
{
    const auto standard = StandardOfName(name);
    constexpr std::string_view crlf = "\r\n";
    std::string out(name);
    out += crlf;
    out += heading(headings.frequency) + "(Hz)";
    for (size_t d = 0; d < kDigits.size(); ++d) {
        out += crlf;
        out += kDigits[d];
        out += ' ';
        if (standard)
            out += kCatalogue[*standard].tones[d];
        else
            out += UserToneText(user[d]);
    }
    out += crlf;
    out += heading(headings.toneLength) + "(ms) " + std::to_string(standard ? kCatalogue[*standard].toneLength : 70);
    out += crlf;
    out += heading(headings.groupTone) + " A";
    out += crlf;
    out += heading(headings.repeatTone) + " E";
    return out;
}

std::string UserToneText(int16_t tenthsHz)
{
    return FixedDecimal(tenthsHz / 10.0, 1, 1);
}

std::string UserToneOnLeave(std::string_view text)
{
    const auto hz = ParseDecimal(text);
    if (hz && *hz < kUserToneLow)
        return FixedDecimal(kUserToneLow, 1, 1);
    if (hz && *hz > kUserToneHigh)
        return FixedDecimal(kUserToneHigh, 1, 1);
    return std::string(text);
}

int16_t UserToneAtOk(std::string_view text, int16_t stored)
{
    const auto hz = ParseDecimal(UserToneOnLeave(text));
    if (!hz)
        return stored;
    return static_cast<int16_t>(RoundHalfAway(*hz * 10.0));
}

} // namespace qtx
