#include "app/transfers.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/progress_dialog.h"
#include "ui/prompter.h"
#include "files/adopt_read.h"
#include "image/image_codec.h"
#include "link_prompter.h"
#include "port_access.h"
#include "port_catalogue.h"
#include "transfer_runner.h"

#include <QSerialPort>

namespace qtx::app {

// The transfer's questions, asked through the program's Prompter.
class RadioTransfers::Prompts : public LinkPrompter {
public:
    Prompts(AppState& st, ui::Prompter& prompter) : st_(st), prompter_(prompter) {}
    bool askRetry() override { return prompter_.ask(st_.text(2003), ui::Buttons::RetryCancel, ui::Icon::Warning) == ui::Answer::Retry; }
    std::optional<std::string> askPassword(const std::string& current) override
    {
        return prompter_.askRadioPassword(current);
    }
    void showMessage(const std::string& name) override { prompter_.tell(st_.resolve(name), ui::Icon::Warning); }

private:
    AppState& st_;
    ui::Prompter& prompter_;
};

RadioTransfers::RadioTransfers(AppState& st, ui::Prompter& prompter, Commands& commands, QWidget* window,
                               std::function<void()> showAll)
    : st_(st), prompter_(prompter), commands_(commands), window_(window), showAll_(std::move(showAll)),
      prompts_(std::make_unique<Prompts>(st, prompter))
{
    runner_ = std::make_unique<TransferRunner>(image_, *prompts_);
    runner_->setExpectedIdent(st_.modelName.toStdString(), st_.dataVersion.toStdString());
    connect(runner_.get(), &TransferRunner::progress, this, [this](int percent) {
        if (progress_ && progress_->isVisible())
            progress_->setProgressValue(percent);
    });
    connect(runner_.get(), &TransferRunner::verifying, this, [this] {
        if (progress_)
            progress_->showVerifying();
    });
    connect(runner_.get(), &TransferRunner::finished, this, &RadioTransfers::finished);
}

RadioTransfers::~RadioTransfers() = default;

PortCatalogue RadioTransfers::catalogue() const { return PortCatalogue::FromNumbers(st_.extraPorts); }

std::optional<QString> RadioTransfers::chosenDevice() const
{
    if (st_.comPort <= 0)
        return std::nullopt;
    return ResolvePortDevice(catalogue(), "COM" + QString::number(st_.comPort));
}

QString RadioTransfers::cannotOpenText(const PortAccess& access) const
{
    const QString device = QString::fromStdString(access.device);
    switch (access.problem) {
    case PortProblem::Permission:
        return st_.text(2002) + "\n\n" +
               st_.text(7563).arg(device, access.group.empty() ? QStringLiteral("dialout")
                                                               : QString::fromStdString(access.group));
    case PortProblem::Busy:
        return st_.text(2002) + "\n\n" +
               st_.text(7564).arg(device, access.holder.empty() ? st_.text(7565) : QString::fromStdString(access.holder));
    default:
        return st_.text(2002);
    }
}

std::optional<QString> RadioTransfers::openableDevice()
{
    const auto device = chosenDevice();
    bool ok = false;
    PortAccess access;
    if (device) {
        QSerialPort probe(*device);
        ok = probe.open(QIODevice::ReadWrite);
        if (!ok)
            access = DiagnosePortOpenFailure(*device, probe.error());
        probe.close();
    }
    if (!ok) {
        prompter_.tell(cannotOpenText(access), ui::Icon::Warning);
        return std::nullopt;
    }
    return device;
}

void RadioTransfers::read()
{
    if (!commands_.offerSave(st_.message("9001")))
        return;
    const auto device = openableDevice();
    if (!device)
        return;
    if (prompter_.ask(st_.builtIn(BuiltIn::ReadConfirm), ui::Buttons::OkCancel, ui::Icon::Question) != ui::Answer::Ok)
        return;
    PrefillImage(image_);
    run(TransferMode::Read, *device);
}

void RadioTransfers::write()
{
    const auto device = openableDevice();
    if (!device)
        return;
    if (prompter_.ask(st_.builtIn(BuiltIn::WriteConfirm), ui::Buttons::OkCancel, ui::Icon::Question) != ui::Answer::Ok)
        return;
    const BuildReport built = BuildImage(st_.ws.live, image_);
    for (const std::string& notice : built.notices)
        prompter_.tell(st_.resolve(notice), ui::Icon::Warning);
    if (!built.ok()) {
        const Error& e = built.result.error();
        prompter_.tell(st_.resolve(e.message) + (e.detail.empty() ? QString() : "\n\n" + ui::fromLatin1(e.detail)),
                       ui::Icon::Warning);
        return;
    }
    runner_->setVerifyAfterWrite(st_.verifyAfterWrite);
    run(TransferMode::Write, *device);
}

void RadioTransfers::readInfo()
{
    const auto device = openableDevice();
    if (!device)
        return;
    PrefillImage(image_);
    run(TransferMode::InfoRead, *device);
}

void RadioTransfers::run(TransferMode mode, const QString& device)
{
    runner_->setKnownPassword(st_.enteredPassword);
    if (mode == TransferMode::InfoRead) {
        if (!runner_->start(mode, device))
            prompter_.tell(cannotOpenText(runner_->portAccess()), ui::Icon::Warning);
        return;
    }
    ProgressDialog progress(st_, mode == TransferMode::Write, window_);
    progress_ = &progress;
    // The transfer starts as the window opens and closes it when it ends.
    QMetaObject::invokeMethod(
        &progress,
        [this, mode, device, &progress] {
            if (!runner_->start(mode, device)) {
                progress.finish();
                prompter_.tell(cannotOpenText(runner_->portAccess()), ui::Icon::Warning);
            }
        },
        Qt::QueuedConnection);
    progress.exec();
    progress_ = nullptr;
}

void RadioTransfers::finished(const TransferResult& result)
{
    last_ = result;
    st_.enteredPassword = result.password;
    if (progress_)
        progress_->finish();
    if (!result.success) {
        if (result.verifyMismatch)
            prompter_.tell(st_.text(7562).arg(QString::asprintf("0x%04X", *result.verifyMismatch)), ui::Icon::Warning);
        else
            prompter_.tell(st_.resolve(result.endText), ui::Icon::Warning);
        emit transferEnded(false);
        return;
    }
    switch (result.mode) {
    case TransferMode::Read: {
        AdoptReadImage(st_.ws, image_, result.ident, st_.programDir.toStdString(),
                       NewOptions{st_.factoryFres == 1, false}, &info_);
        if (result.ident && st_.switches.RadioFlag == 0)
            st_.switches.RadioFlag = result.ident->radioFlag;
        st_.history.clear();
        if (showAll_)
            showAll_();
        prompter_.tell(st_.text(2004));
        break;
    }
    case TransferMode::Write:
        prompter_.tell(st_.text(2005));
        break;
    case TransferMode::InfoRead:
        info_ = ParseEmbeddedInfo(image_);
        emit infoReady(info_);
        break;
    default:
        break;
    }
    emit transferEnded(true);
}

} // namespace qtx::app
