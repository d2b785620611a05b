#pragma once
// Qt's own texts (message-box buttons, file dialogs, context menus) in the
// program's language: Qt's Chinese translation is installed while the
// language is Chinese and removed again for English.

#include <QString>

namespace qtx::app {

// Where Qt's translation files are looked for.
QString QtTranslationsDir();

// Switches Qt's texts to the language (kLanguageChinese or English). False
// when Chinese was asked for but Qt's translation file is not installed;
// Qt's texts then stay English.
bool UseQtTranslation(int language);

} // namespace qtx::app
