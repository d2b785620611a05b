#pragma once
// The file commands of the main window as sequences of questions and core
// calls. They ask through a Prompter and refresh through a callback, so
// tests run them end to end without a window.

#include <QString>

#include <functional>

namespace qtx::app {

struct AppState;
class Prompter;

class Commands {
public:
    using Refresh = std::function<void()>;
    Commands(AppState& state, Prompter& prompter, Refresh showAll);

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

    QString dataFileFilter() const;

private:
    bool saveToCurrentName();

    AppState& st_;
    Prompter& prompter_;
    Refresh showAll_;
};

} // namespace qtx::app
