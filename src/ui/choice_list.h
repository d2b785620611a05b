#pragma once
// Drop-down lists filled from the lists of forms/choices.h. Each entry
// carries its value (its position in the table, or the value given), so a
// window selects and reads values, never list positions.

#include "forms/choices.h"

#include <functional>
#include <vector>

class QComboBox;
class QString;

namespace qtx::ui {

struct LanguageTexts;

QString ChoiceText(const Choice& choice, const LanguageTexts& texts);

// The whole table; the values are the positions 0, 1, ...
void FillChoices(QComboBox* combo, Choices table, const LanguageTexts& texts);
// Only the given positions of the table, in that order.
void FillChoices(QComboBox* combo, Choices table, const std::vector<int>& positions, const LanguageTexts& texts);
// Values with texts made for them (call numbers and the like).
void FillChoices(QComboBox* combo, const std::vector<int>& values, const std::function<QString(int)>& textOf);

// Selects the entry holding `value`; a value not in the list selects the
// entry at position `fallback` (-1: nothing selected).
void SelectChoice(QComboBox* combo, int value, int fallback);
// The value of the entry at `index`.
int ChoiceValue(const QComboBox* combo, int index);

} // namespace qtx::ui
