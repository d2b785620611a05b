#include "app/app_state.h"

#include <QDir>

namespace qtx::app {

QString AppState::text(int id) const { return fromUtf8(table.TextLookup(id)); }

QString AppState::message(const QString& key) const { return fromUtf8(table.MessageLookup(key.toStdString())); }

QString AppState::option(const QString& key) const { return fromUtf8(table.OptionLookup(key.toStdString())); }

QString AppState::builtIn(BuiltIn entry) const
{
    const auto t = BuiltInText(entry, language);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString AppState::resolve(const std::string& message) const { return fromUtf8(ResolveMessage(message, language, table)); }

void AppState::setLanguage(int lang)
{
    language = lang == kLanguageChinese ? kLanguageChinese : kLanguageEnglish;
    table.SetPath(LanguageFilePath(programDir.toStdString(), language));
}

QString AppState::languageFile() const { return fromUtf8(table.Path()); }

QString AppState::helpDir() const
{
    return QDir(programDir).filePath(language == kLanguageChinese ? "help/zh" : "help/en");
}

} // namespace qtx::app
