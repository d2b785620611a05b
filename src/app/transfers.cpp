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
        if (progress_ && progress_->isVisible()) {
            progress_->setProgressValue(percent);
            progress_->setDetail(progressDetail());
        }
    });
    connect(runner_.get(), &TransferRunner::verifying, this, [this] {
        paceBlocks_ = -1; // the read-back is timed on its own
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

QString RadioTransfers::portText() const { return "COM" + QString::number(st_.comPort); }

QString RadioTransfers::progressDetail()
{
    const TransferProgress p = DescribeProgress(runner_->engine().state());
    if (p.phase == TransferPhase::Identifying && p.blocksDone == 0)
        return st_.text(7406);
    QString text = st_.text(p.phase == TransferPhase::Identifying ? 7406 : mode_ == TransferMode::Write ? 7408 : 7407);
    text += ", " + st_.text(7409).arg(p.blocksDone).arg(p.blocksTotal);
    if (paceBlocks_ < 0) {
        paceBlocks_ = p.blocksDone;
        paceClock_.start();
    }
    if (const auto left = SecondsLeft(p.blocksTotal - p.blocksDone, p.blocksDone - paceBlocks_, paceClock_.elapsed()))
        text += ", " + st_.text(7410).arg(*left);
    return text;
}

void RadioTransfers::run(TransferMode mode, const QString& device)
{
    runner_->setKnownPassword(st_.enteredPassword);
    mode_ = mode;
    paceBlocks_ = -1;
    clock_.start();
    if (mode == TransferMode::InfoRead) {
        if (!runner_->start(mode, device))
            prompter_.tell(cannotOpenText(runner_->portAccess()), ui::Icon::Warning);
        return;
    }
    ProgressDialog progress(st_, mode == TransferMode::Write, window_);
    progress_ = &progress;
    connect(&progress, &ProgressDialog::cancelled, runner_.get(), &TransferRunner::cancel);
    progress.setDetail(st_.text(7406));
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

QString RadioTransfers::endMessage(const TransferResult& result) const
{
    QStringList parts;
    for (const std::string& id : EndTextIds(result)) {
        QString text = st_.resolve(id);
        if (result.portLost && text.contains("%1"))
            text = text.arg(portText() + ", " + runner_->lostPortText());
        parts << text;
    }
    return parts.join("\n\n");
}

void RadioTransfers::finished(const TransferResult& result)
{
    last_ = result;
    st_.enteredPassword = result.password;
    if (progress_)
        progress_->finish();
    if (!result.success) {
        const QString message = result.verifyMismatch
                                    ? st_.text(7562).arg(QString::asprintf("0x%04X", *result.verifyMismatch))
                                    : endMessage(result);
        emit statusChanged(message.section("\n\n", 0, 0));
        prompter_.tell(message, result.cancelled && !result.partlyWritten ? ui::Icon::Information : ui::Icon::Warning);
        emit transferEnded(false);
        return;
    }
    if (result.mode != TransferMode::InfoRead) {
        const QString model = result.ident ? ui::fromLatin1(result.ident->model) : st_.modelLabel;
        const QString seconds = QString::number(clock_.elapsed() / 1000.0, 'f', 1);
        emit statusChanged(st_.text(result.mode == TransferMode::Write ? 7414 : 7413)
                               .arg(model.trimmed(), portText(), seconds));
    }
    switch (result.mode) {
    case TransferMode::Read: {
        AdoptReadImage(st_.ws, image_, result.ident, st_.programDir.toStdString(),
                       NewOptions{st_.factoryFres == 1, false}, &info_);
        st_.radioInfo = std::make_shared<const EmbeddedInfo>(info_);
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
        st_.radioInfo = std::make_shared<const EmbeddedInfo>(info_);
        emit infoReady(info_);
        break;
    default:
        break;
    }
    emit transferEnded(true);
}

} // namespace qtx::app
