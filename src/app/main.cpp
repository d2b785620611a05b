// qtx: the desktop programmer for the QM-5210.

#include "app/application.h"
#include "app/startup.h"
#include "port_catalogue.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>

namespace {

// The build tree and portable copies keep everything beside the program;
// an installed copy keeps it under <prefix>/share/qtx.
QString locateProgramDir()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QDir(exeDir).exists("language"))
        return exeDir;
    const QString shared = QDir(exeDir).filePath("../share/qtx");
    if (QDir(shared).exists("language"))
        return QDir(shared).canonicalPath();
    return exeDir;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QTX");
    QApplication::setApplicationDisplayName("QTX");
    QApplication::setOrganizationName("QTX");
    QApplication::setApplicationVersion(QTX_VERSION);
    // Numbers are always read and written with "."; the user's locale is
    // left as it is.
    const QString systemLocale = QLocale::system().name();
    QLocale::setDefault(QLocale::c());

    qtx::app::StartupInputs inputs;
    inputs.programDir = locateProgramDir();
    inputs.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    inputs.localeName = systemLocale;
    inputs.listedPorts = [](const QMap<int, QString>& extra) {
        QList<int> numbers;
        for (const qtx::PortEntry& p : qtx::PortCatalogue::FromNumbers(extra).ports())
            numbers << p.number;
        return numbers;
    };
    qtx::app::Application program(inputs);
    program.start();
    return app.exec();
}
