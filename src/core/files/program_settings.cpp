#include "files/program_settings.h"

#include "convert/numeric.h"
#include "text/ini_file.h"

#include <filesystem>
#include <limits>
#include <unistd.h>

namespace qtx {

namespace {

namespace fs = std::filesystem;

// The highest COM number of the [ports] section that is read.
constexpr int kConfiguredPortLimit = 255;

std::string trimmed(std::string s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.back()))
        s.pop_back();
    size_t start = 0;
    while (start < s.size() && blank(s[start]))
        ++start;
    return s.substr(start);
}

std::string iniText(const IniFile& ini, const char* section, const std::string& key)
{
    return trimmed(ini.Get(section, key, 1024));
}

int iniInteger(const IniFile& ini, const char* key, int otherwise)
{
    const auto v = ParseInteger(iniText(ini, "language", key));
    return v && *v >= 0 && *v <= std::numeric_limits<int16_t>::max() ? static_cast<int>(*v) : otherwise;
}

} // namespace

bool WritableFileIn(const std::string& dir, const std::string& file)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec) || ::access(dir.c_str(), W_OK) != 0)
        return false;
    const fs::path path = fs::path(dir) / file;
    return !fs::exists(path, ec) || ::access(path.c_str(), W_OK) == 0;
}

SettingsPaths LocateSettings(const std::string& programDir, const std::string& userConfigDir,
                             const WritableCheck& writable)
{
    SettingsPaths paths;
    const fs::path languageDir = fs::path(programDir) / "language";
    paths.shipped = (languageDir / "mysetup.ini").string();
    paths.programSettings = writable(languageDir.string(), "mysetup.ini")
                                ? paths.shipped
                                : (fs::path(userConfigDir) / "mysetup.ini").string();
    paths.switches = (fs::path(writable(programDir, "Setting.ini") ? programDir : userConfigDir) / "Setting.ini").string();
    return paths;
}

SettingsPaths LocateSettingsFor(const std::string& programDir, const std::string& userConfigDir, bool sharedProgramDir)
{
    if (!sharedProgramDir)
        return LocateSettings(programDir, userConfigDir, WritableFileIn);
    return LocateSettings(programDir, userConfigDir, [](const std::string&, const std::string&) { return false; });
}

void PrepareProgramSettings(const SettingsPaths& paths)
{
    std::error_code ec;
    if (fs::exists(paths.programSettings, ec))
        return;
    const fs::path folder = fs::path(paths.programSettings).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, ec);
    if (paths.programSettings != paths.shipped && fs::exists(paths.shipped, ec)) {
        // Seeded only from a shipped copy that is a settings file at all.
        if (auto shipped = ReadBoundedFile(paths.shipped, kIniFileShape))
            (void)ReplaceFile(paths.programSettings, shipped.value());
        return;
    }
    IniFile fresh;
    (void)fresh.Set("language", "IsFirstRun", "0");
    (void)fresh.Set("language", "comPort", "0");
    (void)fresh.Set("language", "FactoryFres", "0");
    (void)fresh.Save(paths.programSettings);
}

ProgramSettingsValues ReadProgramSettings(const SettingsPaths& paths)
{
    ProgramSettingsValues v;
    std::error_code ec;
    const std::string& path = fs::exists(paths.programSettings, ec) ? paths.programSettings : paths.shipped;
    auto loaded = IniFile::Load(path);
    if (!loaded)
        return v;
    const IniFile& ini = loaded.value();

    std::string first = iniText(ini, "language", "IsFirstRun");
    for (char& c : first)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    v.isFirstRun = first == "1" || first == "true" || first == "-1";
    v.comPort = iniInteger(ini, "comPort", 0);
    v.factoryFres = iniInteger(ini, "FactoryFres", 0) == 1 ? 1 : 0;
    v.fixedPortList = iniInteger(ini, "FixedPortList", 0) == 1;

    for (int n = 1; n <= kConfiguredPortLimit; ++n) {
        std::string device = iniText(ini, "ports", "COM" + std::to_string(n));
        if (!device.empty())
            v.ports.emplace(n, std::move(device));
    }
    return v;
}

bool WriteProgramSetting(const std::string& path, const std::string& key, const std::string& value)
{
    return WriteProfileString(path, "language", key, value).ok();
}

} // namespace qtx
