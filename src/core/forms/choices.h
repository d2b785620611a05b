#pragma once
// Every list a window or the grid shows, written once. An entry is a
// language text ID or, where every language shows the same words, a literal
// text. A stored value is a position in its list.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

struct Choice {
    int textId = 0;        // language text; 0 = the literal text
    std::string_view text; // ASCII
};

constexpr Choice TextChoice(int id) { return {id, {}}; }
constexpr Choice LiteralChoice(std::string_view text) { return {0, text}; }

using Choices = std::span<const Choice>;

// The entry at `value`, or the one at `fallback` when value is outside the list.
const Choice& ChoiceAt(Choices choices, int value, int fallback = 0);
// The entry's text: the language text of its ID (`text` looks it up), else the literal.
template <class Lookup> std::string ChoiceText(const Choice& c, const Lookup& text)
{
    return c.textId > 0 ? std::string(text(c.textId)) : std::string(c.text);
}

// --- Channel settings ----------------------------------------------------------

inline constexpr std::array kStepChoices{
    LiteralChoice("2.5K"), LiteralChoice("5K"),    LiteralChoice("6.25K"), LiteralChoice("8.33K"),
    LiteralChoice("10K"),  LiteralChoice("12.5K"), LiteralChoice("20K"),   LiteralChoice("25K"),
    LiteralChoice("30K"),  LiteralChoice("50K")};
inline constexpr std::array kBandwidthChoices{LiteralChoice("25KHz"), LiteralChoice("20KHz"),
                                              LiteralChoice("12.5KHz")};
// The grid's short form of the same bandwidths.
inline constexpr std::array kBandwidthGridChoices{LiteralChoice("25K"), LiteralChoice("20K"),
                                                  LiteralChoice("12.5K")};
inline constexpr std::array kTxPowerChoices{TextChoice(1204), TextChoice(1221), TextChoice(1205)};
inline constexpr std::array kScramblerChoices{TextChoice(1755), TextChoice(1756)};
inline constexpr std::array kPttIdChoices{TextChoice(1755), TextChoice(1765), TextChoice(1766), TextChoice(1767)};
inline constexpr std::array kBusyLockChoices{TextChoice(1755), LiteralChoice("Repeater"), LiteralChoice("Busy")};
// Tone types 0 none, 1 CTCSS, 2 DCS.
inline constexpr std::array kToneTypeChoices{TextChoice(1206), LiteralChoice("CTCSS"), LiteralChoice("DCS")};
// The optional-signalling kinds by the value OptionalSignal stores.
inline constexpr std::array kSignalKindChoices{TextChoice(1206), LiteralChoice("DTMF"), LiteralChoice("2Tone"),
                                               LiteralChoice("5Tone")};
// The full squelch-mode list F0-F4; SquelchMode stores a position in it.
inline constexpr std::array kSquelchModeChoices{TextChoice(1784), TextChoice(1785), TextChoice(1786),
                                                TextChoice(1787), TextChoice(1788)};
// The hidden additional-display list (ten entries; 1213 is not one).
inline constexpr std::array kExtraDisplayChoices{TextChoice(1210), TextChoice(1211), TextChoice(1212),
                                                 TextChoice(1214), TextChoice(1215), TextChoice(1216),
                                                 TextChoice(1217), TextChoice(1218), TextChoice(1219),
                                                 TextChoice(1220)};

inline constexpr int kStepCount = static_cast<int>(kStepChoices.size());
inline constexpr int kBandwidthCount = static_cast<int>(kBandwidthChoices.size());
inline constexpr int kTxPowerCount = static_cast<int>(kTxPowerChoices.size());
inline constexpr int kScramblerCount = static_cast<int>(kScramblerChoices.size());
inline constexpr int kPttIdCount = static_cast<int>(kPttIdChoices.size());
inline constexpr int kBusyLockCount = static_cast<int>(kBusyLockChoices.size());
inline constexpr int kToneTypeCount = static_cast<int>(kToneTypeChoices.size());
inline constexpr int kSquelchModeCount = static_cast<int>(kSquelchModeChoices.size());
inline constexpr int kExtraDisplayCount = static_cast<int>(kExtraDisplayChoices.size());

// The tone list of a tone type: the 51 CTCSS tones for 1, the 512 DCS codes
// ("000"-"777") for 2, nothing for none.
Choices ToneChoices(int toneType);

} // namespace qtx
