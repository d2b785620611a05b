#pragma once
// The program's own settings: mysetup.ini (section "language": IsFirstRun,
// comPort, FactoryFres; section "ports": extra COM numbers for devices),
// and where it and Setting.ini live.

#include <QMap>
#include <QString>

#include <functional>

namespace qtx::app {

// The folder for mysetup.ini and Setting.ini: the program directory when it
// is writable, else the per-user configuration folder (seeded once with the
// program's shipped mysetup.ini so nothing in it is lost).
struct SettingsPaths {
    QString programSettings; // .../mysetup.ini
    QString switches;        // .../Setting.ini
};
// `writable` tells whether a file may be written in a folder (the default
// asks the file system).
using WritableCheck = std::function<bool(const QString& dir, const QString& file)>;
bool WritableFileIn(const QString& dir, const QString& file);
SettingsPaths LocateSettings(const QString& programDir, const QString& userConfigDir,
                             const WritableCheck& writable = WritableFileIn);

struct ProgramSettingsValues {
    bool isFirstRun = false;
    int comPort = 0;
    int factoryFres = 0;
    bool fixedPortList = false;   // "FixedPortList": offer COM1-COM255 instead of the ports found
    QMap<int, QString> ports;     // [ports] COMn=device
};

// Missing or malformed keys read as the safe defaults above. The file is
// created when it is absent.
ProgramSettingsValues ReadProgramSettings(const QString& path);

// Writes one key of section "language", keeping the rest of the file.
bool WriteProgramSetting(const QString& path, const QString& key, const QString& value);

} // namespace qtx::app
