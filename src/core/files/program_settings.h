#pragma once
// The program's own settings: mysetup.ini (section "language": IsFirstRun,
// comPort, FactoryFres, FixedPortList; section "ports": extra COM numbers
// for devices), and where it and Setting.ini live. The desktop program and
// qtx-cli find and read them the same way.

#include <functional>
#include <map>
#include <string>

namespace qtx {

// mysetup.ini and Setting.ini live in the program directory when it is
// writable, else in the per-user configuration folder.
struct SettingsPaths {
    std::string programSettings; // .../mysetup.ini
    std::string switches;        // .../Setting.ini
    std::string shipped;         // <program directory>/language/mysetup.ini
};

// Whether a file may be written in a folder (the default asks the file system).
using WritableCheck = std::function<bool(const std::string& dir, const std::string& file)>;
bool WritableFileIn(const std::string& dir, const std::string& file);

// Decides only; nothing is created.
SettingsPaths LocateSettings(const std::string& programDir, const std::string& userConfigDir,
                             const WritableCheck& writable = WritableFileIn);
// An installed program directory is shared: its settings are always per-user.
SettingsPaths LocateSettingsFor(const std::string& programDir, const std::string& userConfigDir, bool sharedProgramDir);

// Makes sure paths.programSettings exists: the per-user copy is seeded once
// from the shipped file so nothing in it is lost, and a file that is nowhere
// is created with the defaults so the user has one to edit.
void PrepareProgramSettings(const SettingsPaths& paths);

struct ProgramSettingsValues {
    bool isFirstRun = false;
    int comPort = 0;
    int factoryFres = 0;
    bool fixedPortList = false;         // "FixedPortList": offer COM1-COM255 instead of the ports found
    std::map<int, std::string> ports;   // [ports] COMn=device, n 1-255
};

// Missing or malformed keys read as the safe defaults above. Until the
// per-user copy exists, the shipped file is read (it is what the copy will
// hold). Nothing is written.
ProgramSettingsValues ReadProgramSettings(const SettingsPaths& paths);

// Writes one key of section "language", keeping the rest of the file.
bool WriteProgramSetting(const std::string& path, const std::string& key, const std::string& value);

} // namespace qtx
