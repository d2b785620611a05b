#pragma once
// The 5-tone standards: each maps the code digits 0-F to tone frequencies
// and has a default tone length. The record keeps only a standard's number
// and the tone length; the frequencies are shown to the user only.

#include "forms/choices.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qtx {

// The lists offer rows 0-13; 14 is EIA (catalogued, not listed) and 15 the
// user-defined tone set.
inline constexpr int kFiveToneListedStandards = 14;
inline constexpr int kFiveToneStandardEia = 14;
inline constexpr int kFiveToneStandardUser = 15;
inline constexpr int kUserSetTextId = 7301;

using UserToneTable = std::array<int16_t, 16>; // Hz x 10 per digit 0-F

// The name of a stored standard: 0-14 the catalogue's, 15 the user-set
// text; anything else shows as standard 0.
const Choice& StandardName(int standard);

// The catalogue standard of that name, none for a name outside it.
std::optional<int> StandardOfName(std::string_view name);

// Default tone length in ms of a named standard; 70 outside the catalogue.
int DefaultToneLength(std::string_view name);

// The headings of the information box as the language gives them (texts
// 60085-60088: tone frequency, tone length, group tone, repeat tone).
struct StandardInfoHeadings {
    std::string frequency, toneLength, groupTone, repeatTone;
};

// The information box, lines separated by CR LF: the name, the frequency
// of each digit, tone length, group and repeat tone. A name outside the
// catalogue shows the user-defined tones. Each heading is trimmed and loses
// its last character (the language's colon).
std::string StandardInfoText(std::string_view name, const UserToneTable& user, const StandardInfoHeadings& headings);

// --- User-defined tone set --------------------------------------------------

inline constexpr int kUserToneTextLength = 6;

// A stored value as its box shows it (24000 -> "2400.0").
std::string UserToneText(int16_t tenthsHz);
// A box being left: a number below 288.5 or above 3106 is brought inside;
// anything else stays as typed.
std::string UserToneOnLeave(std::string_view text);
// OK: the box's value after the leave rule (a box need not have been left),
// or the stored value when the text is not a number.
int16_t UserToneAtOk(std::string_view text, int16_t stored);

} // namespace qtx
