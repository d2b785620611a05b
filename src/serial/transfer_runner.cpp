#include "transfer_runner.h"

#include <QEventLoop>

#include <cerrno>

#include <span>
#include <utility>

namespace qtx {

namespace {

// Errors that mean the device is gone or unusable. Others (a time-out of a
// blocking call, a modem line a pseudo-terminal cannot set) are not.
bool isFatal(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::UnsupportedOperationError:
        return false;
    default:
        return true;
    }
}

} // namespace

PortAccess DiagnosePortOpenFailure(const QString& device, QSerialPort::SerialPortError error)
{
    PortAccess access = CheckPortAccess(device.toStdString());
    // Qt's own lock file is not seen by a plain open: the port is in use.
    if (access.problem == PortProblem::None && error == QSerialPort::PermissionError)
        access = ClassifyPortError(device.toStdString(), EBUSY);
    return access;
}

TransferRunner::TransferRunner(RadioImage& image, LinkPrompter& prompter, QObject* parent)
    : QObject(parent)
    , engine_(image)
    , prompter_(prompter)
{
    qRegisterMetaType<qtx::TransferResult>();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(TransferEngine::kResponseTimeoutMs);
    connect(&timer_, &QTimer::timeout, this, &TransferRunner::onTimeout);
    connect(&port_, &QSerialPort::readyRead, this, &TransferRunner::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &TransferRunner::onPortError);
}

TransferRunner::~TransferRunner()
{
    timer_.stop();
    closePort();
}

void TransferRunner::setExpectedIdent(const std::string& model, const std::string& version)
{
    engine_.setExpectedIdent(model, version);
}

bool TransferRunner::start(TransferMode mode, const QString& device)
{
    if (running_)
        abandon();
    stats_ = LinkStats{};
    result_ = TransferResult{};
    portError_.clear();
    access_ = PortAccess{};
    result_.mode = mode;

    closePort();
    device_ = device;
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        result_.success = false;
        result_.endText = "2002";
        access_ = DiagnosePortOpenFailure(device, port_.error());
        result_.detail = access_.problem == PortProblem::None || access_.problem == PortProblem::Other
                             ? "cannot open " + device.toStdString() + ": " + port_.errorString().toStdString()
                             : PortAccessWords(access_);
        port_.clearError();
        return false;
    }
    // Best effort: a pseudo-terminal has no modem lines.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    port_.clearError();

    buffer_.clear();
    threshold_ = 0;
    running_ = true;
    engine_.start(mode);
    drain();
    return true;
}

TransferResult TransferRunner::run(TransferMode mode, const QString& device)
{
    if (!start(mode, device))
        return result_;
    if (running_) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    return result_;
}

void TransferRunner::abandon()
{
    if (!running_)
        return;
    running_ = false;
    timer_.stop();
    engine_.portFailed(); // ends the engine's transfer; its result is dropped
    while (engine_.nextAction()) {
    }
    closePort();
    if (loop_)
        loop_->quit();
}

void TransferRunner::cancel()
{
    if (!running_)
        return;
    engine_.cancel();
    drain();
}

QString TransferRunner::lostPortText() const
{
    if (!result_.portLost)
        return {};
    return portError_.empty() ? device_ : device_ + ": " + QString::fromStdString(portError_);
}

void TransferRunner::closePort()
{
    if (port_.isOpen())
        port_.close();
    buffer_.clear();
    threshold_ = 0;
}

void TransferRunner::drain()
{
    // Prompts may run a nested event loop in which port or timer events end
    // the transfer; every action is taken from the one queue in order, so a
    // nested drain simply carries on where this one stands.
    while (auto action = engine_.nextAction()) {
        if (auto* send = std::get_if<link::Send>(&*action)) {
            port_.clear(QSerialPort::AllDirections);
            buffer_.clear();
            threshold_ = send->threshold;
            const auto n = port_.write(reinterpret_cast<const char*>(send->bytes.data()),
                                       static_cast<qint64>(send->bytes.size()));
            if (n > 0)
                stats_.bytesSent += n;
            ++stats_.framesSent;
            port_.flush();
        } else if (std::holds_alternative<link::StartTimer>(*action)) {
            timer_.start();
        } else if (std::holds_alternative<link::StopTimer>(*action)) {
            timer_.stop();
        } else if (auto* p = std::get_if<link::Progress>(&*action)) {
            if (p->verifying && p->percent == 0)
                emit verifying();
            emit progress(p->percent);
        } else if (auto* m = std::get_if<link::ShowMessage>(&*action)) {
            prompter_.showMessage(m->name);
        } else if (std::holds_alternative<link::AskRetry>(*action)) {
            const bool retry = prompter_.askRetry();
            engine_.answerRetry(retry);
        } else if (auto* ask = std::get_if<link::AskPassword>(&*action)) {
            auto typed = prompter_.askPassword(ask->current);
            engine_.answerPassword(std::move(typed));
        } else if (auto* fin = std::get_if<link::Finished>(&*action)) {
            timer_.stop();
            closePort();
            running_ = false;
            result_ = fin->result;
            if (!portError_.empty())
                result_.detail += " (" + portError_ + ")";
            if (loop_)
                loop_->quit();
            emit finished(result_);
        }
    }
}

void TransferRunner::onReadyRead()
{
    const QByteArray got = port_.readAll();
    stats_.bytesReceived += got.size();
    if (!running_)
        return;
    buffer_.append(got);
    if (threshold_ <= 0 || buffer_.size() < threshold_)
        return;
    const QByteArray all = std::exchange(buffer_, QByteArray());
    engine_.bytesReceived(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(all.constData()),
                                                   static_cast<size_t>(all.size())));
    drain();
}

void TransferRunner::onTimeout()
{
    if (!running_)
        return;
    ++stats_.timeouts;
    engine_.timerExpired();
    drain();
}

void TransferRunner::onPortError(QSerialPort::SerialPortError error)
{
    if (!running_ || !isFatal(error))
        return;
    portError_ = port_.errorString().toStdString();
    closePort();
    engine_.portFailed();
    drain();
}

} // namespace qtx
