#include "ui/choice_list.h"

#include "ui/texts.h"

#include <QComboBox>

namespace qtx::ui {

QString ChoiceText(const Choice& choice, const LanguageTexts& texts)
{
    return choice.textId > 0 ? texts.text(choice.textId)
                             : QString::fromLatin1(choice.text.data(), static_cast<qsizetype>(choice.text.size()));
}

void FillChoices(QComboBox* combo, Choices table, const LanguageTexts& texts)
{
    std::vector<int> all(table.size());
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    FillChoices(combo, table, all, texts);
}

void FillChoices(QComboBox* combo, Choices table, const std::vector<int>& positions, const LanguageTexts& texts)
{
    FillChoices(combo, positions, [&](int p) { return ChoiceText(ChoiceAt(table, p), texts); });
}

void FillChoices(QComboBox* combo, const std::vector<int>& values, const std::function<QString(int)>& textOf)
{
    combo->clear();
    for (int v : values)
        combo->addItem(textOf(v), v);
}

void SelectChoice(QComboBox* combo, int value, int fallback)
{
    const int at = combo->findData(value);
    combo->setCurrentIndex(at >= 0 ? at : fallback);
}

int ChoiceValue(const QComboBox* combo, int index) { return combo->itemData(index).toInt(); }

} // namespace qtx::ui
