#pragma once
// The key window's decisions: one function row per key press.

#include "forms/form_lists.h"
#include "model/codeplug.h"

#include <array>

namespace qtx {

inline constexpr int kKeyPresses = 15;     // 0-4 short, 5-9 long, 10-14 FUNC + P1-P5
inline constexpr int kShortPresses = 5;
inline constexpr int kKeyFunctions = 21;   // texts 6050-6070
inline constexpr int kRestrictedFunction = 10; // short presses only while Item1716 is on
inline constexpr int kKeyLabelFirst = 6001;
inline constexpr int kKeyFunctionTextFirst = 6050;

ListEntries KeyFunctionEntries();

struct KeyForm {
    std::array<int, kKeyPresses> rows{};
    bool function10OnShort = false; // Item1716 not 0
};

// A byte above 20 shows function 0; so does a short press holding 10 while
// the options forbid it there.
KeyForm LoadKeyForm(const Codeplug& cp);
// The user picked `row` for press i; returns the row now shown.
int PickKeyFunction(KeyForm& form, int press, int row);
void ApplyKeyForm(Codeplug& cp, const KeyForm& form);

// Short presses holding function 10 become function 0.
void ClearShortPressFunction10(KeySettings& keys);

} // namespace qtx
