#include "ui/texts.h"

namespace qtx::ui {

QString LanguageTexts::text(int id) const { return fromUtf8(table.TextLookup(id)); }

QString LanguageTexts::message(const QString& key) const { return fromUtf8(table.MessageLookup(key.toStdString())); }

QString LanguageTexts::option(const QString& key) const { return fromUtf8(table.OptionLookup(key.toStdString())); }

QString LanguageTexts::builtIn(BuiltIn entry) const
{
    const auto t = BuiltInText(entry, language);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString LanguageTexts::resolve(const std::string& message) const
{
    return fromUtf8(ResolveMessage(message, language, table));
}

} // namespace qtx::ui
