#pragma once
// The shell's process-wide state: language, program directory, the Codeplug
// being edited with its file names, the port, the switches and everything
// that lives for one run of the program.

#include "app/edit_history.h"
#include "files/signal_switches.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "text/builtin_texts.h"
#include "text/language_table.h"

#include <QMap>
#include <QString>

#include <string>

namespace qtx::app {

struct AppState {
    // 1 English, 2 Chinese; chosen from the system locale at each start.
    int language = kLanguageEnglish;
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

    ChannelClipboard clipboard;
    bool clipboardArmed = false;
    std::string enteredPassword; // the radio password typed this run
    bool verifyAfterWrite = false; // Set-up > Verify after writing (remembered)

    LanguageTable table;

    // Text lookups in the current language.
    QString text(int id) const;
    QString message(const QString& key) const;
    QString option(const QString& key) const;
    QString builtIn(BuiltIn entry) const;
    // What the user sees for a core error's message name.
    QString resolve(const std::string& message) const;

    void setLanguage(int lang);
    QString languageFile() const;
    QString helpDir() const;
    QString fileName() const { return QString::fromStdString(ws.fileName); }
};

// Core fixed texts are Latin-1 bytes; language texts are UTF-8.
inline QString fromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
inline QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace qtx::app
