#include "app/application.h"

#include "app/about_dialog.h"
#include "app/help_window.h"
#include "ui/help_topic.h"
#include "editors/alarm_editor.h"
#include "editors/channel_editor.h"
#include "editors/key_editor.h"
#include "editors/option_editor.h"
#include "editors/scan_editor.h"
#include "signalling/five_tone_editor.h"
#include "signalling/five_tone_special_dialog.h"
#include "signalling/two_tone_editor.h"
#include "editors/comm_book_editor.h"
#include "signalling/dtmf_editor.h"
#include "app/main_window.h"
#include "app/commands.h"
#include "app/info_dialog.h"
#include "app/model_dialog.h"
#include "app/password_dialog.h"
#include "app/print_dialog.h"
#include "app/port_dialog.h"
#include "app/transfers.h"
#include "port_catalogue.h"
#include "app/splash.h"
#include "app/startup.h"

#include <QApplication>
#include <QDir>

namespace qtx::app {

Application::Application(const StartupInputs& inputs)
{
    StartUp(state_, inputs);
    // The password prompt fills the field with `current`; what the user typed
    // is returned, and the run's own password stays as it was.
    auto password = [this](const std::string& current, QWidget* parent) -> std::optional<std::string> {
        PasswordDialog dialog(state_, current, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.typed();
    };
    dialogPrompter_ = std::make_unique<ui::DialogPrompter>(password, nullptr);
    prompter_ = dialogPrompter_.get();
    window_ = std::make_unique<MainWindow>(state_, *prompter_);
    dialogPrompter_->setParent(window_.get());
    wireCommands();
    auto* helpKey = new ui::HelpKey(this);
    qApp->installEventFilter(helpKey);
    connect(helpKey, &ui::HelpKey::requested, this, &Application::showHelp);
}

Application::~Application() = default;

HelpWindow* Application::helpWindow() const { return help_.data(); }

void Application::showHelp(const QString& topic)
{
    if (!help_) {
        help_ = new HelpWindow(state_, window_.get());
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->showTopic(topic);
}

void Application::setPrompter(ui::Prompter* prompter)
{
    prompter_ = prompter ? prompter : dialogPrompter_.get();
    // The window keeps its own reference; rebuild it around the new prompter.
    window_ = std::make_unique<MainWindow>(state_, *prompter_);
    dialogPrompter_->setParent(window_.get());
    wireCommands();
}

void Application::start(int splashMilliseconds)
{
    const QString picture =
        QDir(state_.programDir).filePath(state_.language == kLanguageChinese ? "StartC.jpg" : "StartE.jpg");
    splash_ = new Splash(picture, splashMilliseconds);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash_, &Splash::finished, this, [this] {
        splash_ = nullptr;
        showMainWindow();
    });
    splash_->show();
}

void Application::showMainWindow()
{
    window_->load();
    window_->show();
}

void Application::wireCommands()
{
    MainWindow* w = window_.get();
    transfers_ = std::make_unique<RadioTransfers>(state_, *prompter_, w->commands(), w, [w] { w->showListByData(); });
    connect(w, &MainWindow::readRequested, transfers_.get(), &RadioTransfers::read);
    connect(w, &MainWindow::writeRequested, transfers_.get(), &RadioTransfers::write);
    connect(w, &MainWindow::infoReadRequested, transfers_.get(), &RadioTransfers::readInfo);
    connect(transfers_.get(), &RadioTransfers::statusChanged, w, &MainWindow::showStatus);
    connect(transfers_.get(), &RadioTransfers::infoReady, this, [this, w](const EmbeddedInfo& info) {
        InfoDialog viewer(state_, info, w);
        connect(&viewer, &InfoDialog::helpRequested, this, [this, &viewer] { showHelp(ui::HelpTopicOf(&viewer)); });
        viewer.exec();
    });
    connect(w, &MainWindow::portDialogRequested, this, [this, w] {
        const PortCatalogue ports = transfers_->catalogue();
        PortDialog dialog(state_, ports, w);
        dialog.exec();
    });
    connect(w, &MainWindow::closing, this, &Application::shutdown);
    connect(w, &MainWindow::modelDialogRequested, this, [this, w] {
        ModelDialog dialog(state_, w);
        state_.history.edit({kStepBandChange}, [&] { dialog.exec(); });
        w->showListByData();
    });
    connect(w, &MainWindow::passwordDialogRequested, this, [this, w] {
        PasswordDialog dialog(state_, state_.enteredPassword, w);
        if (dialog.exec() == QDialog::Accepted)
            state_.enteredPassword = dialog.typed();
    });
    connect(w, &MainWindow::aboutRequested, this, [this, w] {
        AboutDialog dialog(state_, [this] { return portLines(); }, w);
        dialog.exec();
    });
    connect(w, &MainWindow::channelEditorRequested, this, [this, w](int row) {
        editors::ChannelEditor editor(state_.ws.live, state_.switches, state_, *prompter_, row, w);
        state_.history.edit(ChannelStep(row), [&] { editor.exec(); });
        w->reShowGrid(row);
    });
    connect(w, &MainWindow::settingEditorRequested, this, [this, w](const QString& node) { openSettingEditor(node, w); });
    connect(w, &MainWindow::twoToneEditorRequested, this, [this, w] {
        signalling::TwoToneEditor editor(state_.ws.live, state_, w);
        state_.history.edit({kStepTwoTone}, [&] { editor.exec(); });
        // OK may have moved channels to other calls.
        w->showListByData();
    });
    connect(w, &MainWindow::fiveToneEditorRequested, this, [this, w] {
        signalling::FiveToneEditor editor(state_.ws.live, state_, *prompter_, w);
        editor.setSpecialComposer([this, &editor](SpecialCallTarget target, int entry, const QString& ownId) {
            signalling::FiveToneSpecialDialog dialog(target, entry, ownId, state_, *prompter_, &editor);
            dialog.exec();
            return dialog.result();
        });
        state_.history.edit({kStepFiveTone}, [&] { editor.exec(); });
        w->showListByData();
    });
    connect(w, &MainWindow::commBookRequested, this, [this, w] {
        editors::CommBookEditor editor(state_.ws, state_, *prompter_, w);
        state_.history.edit({kStepCommBook}, [&] { editor.exec(); });
    });
    connect(w, &MainWindow::dtmfEditorRequested, this, [this, w] {
        // Opening corrects out-of-range values: they belong to the same step.
        state_.history.edit({kStepDtmf}, [&] {
            signalling::DtmfEditor editor(state_.ws.live.body.Settings.Dtmf, state_, *prompter_, w);
            editor.exec();
        });
    });
    connect(w, &MainWindow::printRequested, this, [this, w] {
        PrintDialog dialog(state_, *prompter_, w);
        dialog.exec();
    });
    connect(w, &MainWindow::helpRequested, this, [this] { showHelp(QString()); });
    connect(w, &MainWindow::languageChanged, this, [this] {
        if (help_)
            help_->reload();
    });
}

void Application::openSettingEditor(const QString& node, MainWindow* w)
{
    Codeplug& cp = state_.ws.live;
    if (node == "N4") {
        editors::OptionEditor editor(cp, state_, w);
        state_.history.edit({kStepOptions}, [&] { editor.exec(); });
        w->loadShowTree(); // the options decide which nodes the tree shows
    } else if (node == "N12") {
        editors::KeyEditor editor(cp, state_, w);
        state_.history.edit({kStepKeys}, [&] { editor.exec(); });
    } else if (node == "N10") {
        editors::ScanEditor editor(cp, state_, w);
        state_.history.edit({kStepScan}, [&] { editor.exec(); });
    } else if (node == "N11") {
        editors::AlarmEditor editor(cp, state_, w);
        state_.history.edit({kStepAlarm}, [&] { editor.exec(); });
    }
}

QStringList Application::portLines() const
{
    QStringList lines;
    for (const PortEntry& p : transfers_->catalogue().ports())
        lines << p.name + "  " + p.device;
    return lines;
}

void Application::shutdown()
{
    // Every other window closes with the main one, last opened first.
    const auto windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != window_.get() && (*it)->isVisible())
            (*it)->close();
    SaveSwitches(state_);
}

} // namespace qtx::app
