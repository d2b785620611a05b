#pragma once
// The shell's process-wide state: language, program directory, the Codeplug
// being edited with its file names, the port, the switches and everything
// that lives for one run of the program.

#include "app/edit_history.h"
#include "files/signal_switches.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "ui/texts.h"

#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qtx {
struct EmbeddedInfo;
enum class ReportSection;
} // namespace qtx

namespace qtx::app {

// The language (chosen from the system locale at each start) and its table
// are the LanguageTexts every window is shown in.
struct AppState : ui::LanguageTexts {
    QString programDir;   // language/, Init/, help/ and the start-up pictures
    QString settingsFile; // mysetup.ini
    QString switchFile;   // Setting.ini

    QString modelName = "QM-5210";
    QString modelLabel = "QM-5210";
    QString dataVersion = "V100";

    Workspace ws;
    EditHistory history{ws}; // undo and redo of every change to ws

    int comPort = 0;
    int factoryFres = 0;
    bool initRequested = false;
    bool isFirstRun = false;
    bool fixedPortList = false; // COM1-COM255 instead of the ports found
    QMap<int, QString> extraPorts; // [ports] of mysetup.ini: COM number -> device
    int editRow = 0;
    SignalViewSwitches switches;

    ChannelRows clipboard; // the grid's Copy and Cut, one entry per row
    bool clipboardArmed = false;
    std::string enteredPassword; // the radio password typed this run
    bool verifyAfterWrite = false; // Set-up > Verify after writing (remembered)
    std::shared_ptr<const EmbeddedInfo> radioInfo; // from the last radio or information read of this run
    std::optional<std::vector<ReportSection>> printSections; // File > Print's choice for the run

    void setLanguage(int lang);
    QString languageFile() const;
    QString helpDir() const;
    QString fileName() const { return QString::fromStdString(ws.fileName); }
};

} // namespace qtx::app
