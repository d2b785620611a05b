#pragma once
// A Prompter that answers from a script and remembers what it was asked.

#include "ui/prompter.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace qtx::testing {

class ScriptedPrompter : public ui::Prompter {
public:
    std::deque<ui::Answer> answers;
    std::deque<QString> files; // answers of the file dialogs; "" = cancelled
    QStringList asked;
    QStringList filterSeen;
    QStringList suffixSeen;
    QStringList presetSeen;

    ui::Answer ask(const QString& text, ui::Buttons buttons, ui::Icon) override
    {
        asked << text;
        if (answers.empty())
            return buttons == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::Cancel;
        const ui::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(const ui::FileKind& kind, const QString&) override { return nextFile(kind, {}); }
    QString saveFileName(const ui::FileKind& kind, const QString& preset) override { return nextFile(kind, preset); }

    std::deque<std::optional<std::string>> passwords; // none = Cancel
    std::vector<std::string> passwordPrefills;
    std::optional<std::string> askRadioPassword(const std::string& current) override
    {
        passwordPrefills.push_back(current);
        if (passwords.empty())
            return std::nullopt;
        auto p = passwords.front();
        passwords.pop_front();
        return p;
    }

private:
    QString nextFile(const ui::FileKind& kind, const QString& preset)
    {
        filterSeen << kind.filters;
        suffixSeen << kind.defaultSuffix;
        presetSeen << preset;
        if (files.empty())
            return {};
        const QString f = files.front();
        files.pop_front();
        return f;
    }
};

} // namespace qtx::testing
