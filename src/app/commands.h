#pragma once
// The file commands of the main window as sequences of questions and core
// calls. They ask through a Prompter and refresh through a callback, so
// tests run them end to end without a window.

#include "ui/prompter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qtx {
struct OpenReport;
}

namespace qtx::app {

struct AppState;

// The open Codeplug against a data file, difference by difference.
struct FileComparison {
    QString fileName;  // the compared file, without its folder
    QStringList lines; // "channel 12: receive 145.00000 → 145.02500"; empty when the same
    QStringList notes; // what reading the file found amiss (channels missing or dropped)
};

class Commands {
public:
    using Refresh = std::function<void()>;
    Commands(AppState& state, ui::Prompter& prompter, Refresh showAll);

    // Each returns true when it did what it was asked (false: cancelled,
    // refused or failed; the user has been told why).
    bool newCodeplug();
    bool initialise();
    bool open();
    bool openPath(const QString& path);
    bool save();
    bool saveAs();
    // Before the program closes: true when it may close (nothing unsaved,
    // saved, or the user chose not to save).
    bool confirmClose();
    // Before a command that replaces the Codeplug: false when the user
    // cancelled or the save they asked for did not happen.
    bool offerSave(const QString& question);

    // Asks for a data file and compares the open Codeplug with it; none when
    // cancelled or the file could not be read (the user has been told why).
    std::optional<FileComparison> compareWithFile();

    ui::FileKind dataFileKind() const;

    // Receives one line after a file command did its work ("Saved …").
    void setStatusSink(std::function<void(const QString&)> sink) { status_ = std::move(sink); }

private:
    bool saveToCurrentName();
    QStringList readNotes(const OpenReport& report) const;

    AppState& st_;
    ui::Prompter& prompter_;
    Refresh showAll_;
    std::function<void(const QString&)> status_;
};

} // namespace qtx::app
