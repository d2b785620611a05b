#pragma once
// A Prompter that answers from a script and remembers what it was asked.

#include "app/prompter.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace qtx::testing {

class ScriptedPrompter : public app::Prompter {
public:
    std::deque<app::Answer> answers;
    std::deque<QString> files; // answers of the file dialogs; "" = cancelled
    QStringList asked;
    QStringList filterSeen;
    QStringList presetSeen;

    app::Answer ask(const QString& text, app::Buttons buttons, app::Icon) override
    {
        asked << text;
        if (answers.empty())
            return buttons == app::Buttons::Ok ? app::Answer::Ok : app::Answer::Cancel;
        const app::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(const QString& filter, const QString&) override { return nextFile(filter, {}); }
    QString saveFileName(const QString& filter, const QString& preset) override { return nextFile(filter, preset); }

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
    QString nextFile(const QString& filter, const QString& preset)
    {
        filterSeen << filter;
        presetSeen << preset;
        if (files.empty())
            return {};
        const QString f = files.front();
        files.pop_front();
        return f;
    }
};

} // namespace qtx::testing
