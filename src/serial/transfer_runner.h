#pragma once
// Runs the transfer engine over a serial port: 9600 baud 8N1, no flow
// control, DTR and RTS raised while the port is open (programming cables
// commonly draw their power from them), and the 300 ms response timer.
//
// Received bytes are collected and handed to the engine as one buffer the
// moment the frame's receive threshold is reached; the next frame is written
// at once, so the link runs as fast as the wire allows.

#include "image/radio_image.h"
#include "link/transfer_engine.h"
#include "link_prompter.h"
#include "port_access.h"

#include <QByteArray>
#include <QEventLoop>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <string>

namespace qtx {

struct LinkStats {
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0; // everything that arrived, echoes included
    int framesSent = 0;
    int timeouts = 0;
};

// Why `device` could not be opened, given the error QSerialPort reported.
PortAccess DiagnosePortOpenFailure(const QString& device, QSerialPort::SerialPortError error);

class TransferRunner : public QObject {
    Q_OBJECT
public:
    // `image` belongs to the owner and must outlive the runner; see
    // TransferEngine.
    TransferRunner(RadioImage& image, LinkPrompter& prompter, QObject* parent = nullptr);
    ~TransferRunner() override;

    // The identification a transfer accepts (default QM-5210, V100).
    void setExpectedIdent(const std::string& model, const std::string& version);
    // The password known before the next transfers start; the one a
    // transfer ended with comes back in its result.
    void setKnownPassword(const std::string& password) { engine_.setKnownPassword(password); }
    // Read a write back in the same session and compare (TransferEngine).
    void setVerifyAfterWrite(bool verify) { engine_.setVerifyAfterWrite(verify); }

    // Opens `device` and starts a transfer; a transfer still running (an
    // information read) is abandoned first. The owner prefills the image
    // before a read and builds it before a write. When the port cannot be
    // opened, returns false, result() names text "2002" and finished() is
    // not emitted.
    bool start(TransferMode mode, const QString& device);

    // start() and then wait in a local event loop until the transfer ends.
    TransferResult run(TransferMode mode, const QString& device);

    // Stops a running transfer without a result: no message, no finished().
    void abandon();

    // The user cancelled: the transfer ends at the next frame boundary,
    // after asking the radio to leave programming mode (TransferEngine::cancel).
    void cancel();

    bool isRunning() const { return running_; }
    bool isPortOpen() const { return port_.isOpen(); }
    const TransferResult& result() const { return result_; }
    const LinkStats& stats() const { return stats_; }
    // Why the port could not be opened by the last start(), in the user's terms.
    const PortAccess& portAccess() const { return access_; }
    // The device and the port's own words when the port failed under the
    // transfer, e.g. "/dev/ttyUSB0: Input/output error"; empty otherwise.
    QString lostPortText() const;
    const TransferEngine& engine() const { return engine_; }

signals:
    void progress(int percent);
    // A write's read-back started; progress() counts it from 0 again.
    void verifying();
    void finished(const qtx::TransferResult& result);

private:
    void drain();
    void onReadyRead();
    void onTimeout();
    void onPortError(QSerialPort::SerialPortError error);
    void closePort();

    TransferEngine engine_;
    LinkPrompter& prompter_;
    QSerialPort port_;
    QTimer timer_;
    QByteArray buffer_;
    int threshold_ = 0;
    bool running_ = false;
    TransferResult result_;
    std::string portError_;
    QString device_;
    LinkStats stats_;
    PortAccess access_;
    QEventLoop* loop_ = nullptr;
};

} // namespace qtx

Q_DECLARE_METATYPE(qtx::TransferResult)
