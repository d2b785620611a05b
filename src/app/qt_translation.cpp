#include "app/qt_translation.h"

#include "text/language_table.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace qtx::app {

namespace {

std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

QString QtTranslationsDir() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool UseQtTranslation(int language)
{
    if (!QCoreApplication::instance())
        return false;
    auto& current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    if (language != kLanguageChinese)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_zh_CN", QtTranslationsDir()))
        return false;
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}

} // namespace qtx::app
