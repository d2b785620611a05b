#include "app/program_settings.h"

#include "convert/numeric.h"
#include "text/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace qtx::app {

namespace {

bool writableDir(const QString& dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}


QString iniText(const IniFile& ini, const char* section, const char* key)
{
    return QString::fromStdString(ini.Get(section, key, 1024)).trimmed();
}

} // namespace

bool WritableFileIn(const QString& dir, const QString& name)
{
    const QFileInfo file(QDir(dir).filePath(name));
    return writableDir(dir) && (!file.exists() || file.isWritable());
}

SettingsPaths LocateSettings(const QString& programDir, const QString& userConfigDir, const WritableCheck& writable)
{
    SettingsPaths paths;
    const QString languageDir = QDir(programDir).filePath("language");
    if (writable(languageDir, "mysetup.ini")) {
        paths.programSettings = QDir(languageDir).filePath("mysetup.ini");
    } else {
        QDir().mkpath(userConfigDir);
        paths.programSettings = QDir(userConfigDir).filePath("mysetup.ini");
        const QString shipped = QDir(languageDir).filePath("mysetup.ini");
        if (!QFileInfo::exists(paths.programSettings) && QFileInfo::exists(shipped))
            QFile::copy(shipped, paths.programSettings);
    }
    paths.switches = writable(programDir, "Setting.ini") ? QDir(programDir).filePath("Setting.ini")
                                                                : QDir(userConfigDir).filePath("Setting.ini");
    return paths;
}

ProgramSettingsValues ReadProgramSettings(const QString& path)
{
    ProgramSettingsValues v;
    auto loaded = IniFile::Load(path.toStdString());
    if (!loaded) {
        // Created with the defaults so the user has a file to edit.
        IniFile fresh;
        (void)fresh.Set("language", "IsFirstRun", "0");
        (void)fresh.Set("language", "comPort", "0");
        (void)fresh.Set("language", "FactoryFres", "0");
        (void)fresh.Save(path.toStdString());
        return v;
    }
    const IniFile& ini = loaded.value();

    const QString first = iniText(ini, "language", "IsFirstRun").toLower();
    v.isFirstRun = first == "1" || first == "true" || first == "-1";

    const auto port = ParseInteger(iniText(ini, "language", "comPort").toStdString());
    if (port && *port >= 0 && *port <= std::numeric_limits<int16_t>::max())
        v.comPort = *port;

    const auto fres = ParseInteger(iniText(ini, "language", "FactoryFres").toStdString());
    v.factoryFres = fres && *fres == 1 ? 1 : 0;

    const auto fixed = ParseInteger(iniText(ini, "language", "FixedPortList").toStdString());
    v.fixedPortList = fixed && *fixed == 1;

    for (int n = 1; n <= 255; ++n) {
        const QString device = iniText(ini, "ports", ("COM" + std::to_string(n)).c_str());
        if (!device.isEmpty())
            v.ports.insert(n, device);
    }
    return v;
}

bool WriteProgramSetting(const QString& path, const QString& key, const QString& value)
{
    return WriteProfileString(path.toStdString(), "language", key.toStdString(), value.toStdString()).ok();
}

} // namespace qtx::app
