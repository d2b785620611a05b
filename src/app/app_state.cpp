#include "app/app_state.h"

#include "app/qt_translation.h"

#include <QDir>

namespace qtx::app {

void AppState::setLanguage(int lang)
{
    language = lang == kLanguageChinese ? kLanguageChinese : kLanguageEnglish;
    table.SetPath(LanguageFilePath(programDir.toStdString(), language));
    UseQtTranslation(language);
}

QString AppState::languageFile() const { return ui::fromUtf8(table.Path()); }

QString AppState::helpDir() const
{
    return QDir(programDir).filePath(language == kLanguageChinese ? "help/zh" : "help/en");
}

} // namespace qtx::app
