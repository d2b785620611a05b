#pragma once
// The start-up steps before the main window and the settings written at
// shutdown.

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

namespace qtx::app {

struct AppState;

struct StartupInputs {
    QString programDir;
    // An installed program directory is never written to, whoever runs the
    // program: settings go to userConfigDir.
    bool sharedProgramDir = false;
    QString userConfigDir;
    QString localeName; // the system locale, e.g. "zh_CN"
    // The COM numbers the system lists, given the extra [ports] entries.
    std::function<QList<int>(const QMap<int, QString>& extraPorts)> listedPorts;
};

// Language, shell state, band, program settings, port check, first-run
// flag, a new Codeplug and the switch file.
void StartUp(AppState& state, const StartupInputs& inputs);

// 1 English, 2 Chinese: Chinese only for the Chinese (China) locale.
int LanguageForLocale(const QString& localeName);

// Writes Setting.ini (a failure is ignored).
void SaveSwitches(const AppState& state);

} // namespace qtx::app
