#include "app/startup.h"

#include "app/app_state.h"
#include "app/program_settings.h"
#include "files/defaults.h"
#include "model/band_plan.h"

namespace qtx::app {

int LanguageForLocale(const QString& localeName)
{
    return localeName == "zh_CN" ? kLanguageChinese : kLanguageEnglish;
}

void StartUp(AppState& st, const StartupInputs& in)
{
    st.programDir = in.programDir;
    const WritableCheck perUserOnly = [](const QString&, const QString&) { return false; };
    const SettingsPaths paths =
        LocateSettings(in.programDir, in.userConfigDir, in.sharedProgramDir ? perUserOnly : WritableCheck(WritableFileIn));
    st.settingsFile = paths.programSettings;
    st.switchFile = paths.switches;

    st.setLanguage(LanguageForLocale(in.localeName));

    st.editRow = 0;
    st.enteredPassword.clear();
    st.modelName = kModelName;
    st.modelLabel = QString::fromStdString(ModelCheck(kModelName));
    st.dataVersion = "V100";

    st.ws.bandType = kModelBandType;
    st.ws.live.body.Band = BandPlan{};

    const ProgramSettingsValues settings = ReadProgramSettings(st.settingsFile);
    st.isFirstRun = settings.isFirstRun;
    st.comPort = settings.comPort;
    st.factoryFres = settings.factoryFres;
    st.fixedPortList = settings.fixedPortList;
    st.extraPorts = settings.ports;

    if (!st.fixedPortList && in.listedPorts) {
        const QList<int> listed = in.listedPorts(st.extraPorts);
        if (!listed.contains(st.comPort))
            st.comPort = listed.isEmpty() ? 0 : listed.first();
    }
    if (st.isFirstRun)
        WriteProgramSetting(st.settingsFile, "IsFirstRun", "0");
    WriteProgramSetting(st.settingsFile, "comPort", QString::number(st.comPort));

    NewCodeplug(st.ws, st.programDir.toStdString(), NewOptions{st.factoryFres == 1, false});
    st.switches = ReadSignalViewSwitches(st.switchFile.toStdString());
}

void SaveSwitches(const AppState& st)
{
    (void)WriteSignalViewSwitches(st.switchFile.toStdString(), st.switches);
}

} // namespace qtx::app
