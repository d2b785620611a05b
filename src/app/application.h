#pragma once
// The running program: start-up, the splash, the main window and the
// windows and transfers its commands open, and shutdown.

#include "app/app_state.h"
#include "ui/prompter.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace qtx::app {

class HelpWindow;
class MainWindow;
class RadioTransfers;
class Splash;
struct StartupInputs;

class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(const StartupInputs& inputs);
    ~Application() override;

    // Shows the splash; the main window follows when it closes.
    void start(int splashMilliseconds = 2000);
    // Without the splash (tests).
    void showMainWindow();

    AppState& state() { return state_; }
    MainWindow* mainWindow() const { return window_.get(); }
    RadioTransfers& transfers() { return *transfers_; }
    ui::Prompter& prompter() { return *prompter_; }
    // Tests answer the questions themselves.
    void setPrompter(ui::Prompter* prompter);
    // The help window on `topic`'s page (Contents for "" or an unknown topic).
    void showHelp(const QString& topic);
    HelpWindow* helpWindow() const;

private:
    void wireCommands();
    void openSettingEditor(const QString& node, MainWindow* w);
    QStringList portLines() const;
    void shutdown();

    AppState state_;
    std::unique_ptr<ui::DialogPrompter> dialogPrompter_;
    ui::Prompter* prompter_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<RadioTransfers> transfers_;
    Splash* splash_ = nullptr;
    QPointer<HelpWindow> help_;
};

} // namespace qtx::app
