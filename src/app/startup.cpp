#include "app/startup.h"

#include "app/app_state.h"
#include "files/defaults.h"
#include "files/program_settings.h"
#include "model/band_plan.h"

namespace qtx::app {

int LanguageForLocale(const QString& localeName)
{
    return localeName == "zh_CN" ? kLanguageChinese : kLanguageEnglish;
}

void StartUp(AppState& st, const StartupInputs& in)
{
    st.programDir = in.programDir;
    const SettingsPaths paths =
        LocateSettingsFor(in.programDir.toStdString(), in.userConfigDir.toStdString(), in.sharedProgramDir);
    PrepareProgramSettings(paths);
    st.settingsFile = QString::fromStdString(paths.programSettings);
    st.switchFile = QString::fromStdString(paths.switches);

    st.setLanguage(LanguageForLocale(in.localeName));

    st.editRow = 0;
    st.enteredPassword.clear();
    st.modelName = kModelName;
    st.modelLabel = QString::fromStdString(ModelCheck(kModelName));
    st.dataVersion = "V100";

    st.ws.bandType = kModelBandType;
    st.ws.live.body.Band = BandPlan{};

    const ProgramSettingsValues settings = ReadProgramSettings(paths);
    st.isFirstRun = settings.isFirstRun;
    st.comPort = settings.comPort;
    st.factoryFres = settings.factoryFres;
    st.fixedPortList = settings.fixedPortList;
    st.extraPorts.clear();
    for (const auto& [number, device] : settings.ports)
        st.extraPorts.insert(number, QString::fromStdString(device));

    if (!st.fixedPortList && in.listedPorts) {
        const QList<int> listed = in.listedPorts(st.extraPorts);
        if (!listed.contains(st.comPort))
            st.comPort = listed.isEmpty() ? 0 : listed.first();
    }
    if (st.isFirstRun)
        WriteProgramSetting(paths.programSettings, "IsFirstRun", "0");
    WriteProgramSetting(paths.programSettings, "comPort", std::to_string(st.comPort));

    NewCodeplug(st.ws, st.programDir.toStdString(), NewOptions{st.factoryFres == 1, false});
    st.switches = ReadSignalViewSwitches(st.switchFile.toStdString());
}

void SaveSwitches(const AppState& st)
{
    (void)WriteSignalViewSwitches(st.switchFile.toStdString(), st.switches);
}

} // namespace qtx::app
