#pragma once
// The language a window is shown in: the current language file and the
// built-in texts of that language. Windows receive it from their caller.

#include "text/builtin_texts.h"
#include "text/language_table.h"

#include <QString>

#include <string>

namespace qtx::ui {

struct LanguageTexts {
    // 1 English, 2 Chinese.
    int language = kLanguageEnglish;
    LanguageTable table;

    // Text lookups in the current language.
    QString text(int id) const;
    QString message(const QString& key) const;
    QString option(const QString& key) const;
    QString builtIn(BuiltIn entry) const;
    // What the user sees for a core error's message name.
    QString resolve(const std::string& message) const;
};

// Core fixed texts are Latin-1 bytes; language texts are UTF-8.
inline QString fromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
inline QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace qtx::ui
