// qtx: the desktop programmer for the QM-5210.

#include "app/application.h"
#include "app/startup.h"
#include "files/program_dir.h"
#include "port_catalogue.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QTX");
    // No display name: Qt would append it to every window title.
    QApplication::setOrganizationName("QTX");
    QApplication::setApplicationVersion(QTX_VERSION);
    // Ties the windows to the installed desktop entry and its icon.
    QApplication::setDesktopFileName(QTX_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(QTX_APP_ID));
    // Numbers are always read and written with "."; the user's locale is
    // left as it is.
    const QString systemLocale = QLocale::system().name();
    QLocale::setDefault(QLocale::c());

    qtx::app::StartupInputs inputs;
    const qtx::ProgramDir programDir = qtx::LocateProgramDir(QCoreApplication::applicationDirPath().toStdString());
    inputs.programDir = QString::fromStdString(programDir.path);
    inputs.sharedProgramDir = programDir.installed;
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
