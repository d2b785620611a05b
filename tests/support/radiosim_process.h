#pragma once
// qtx-radiosim as a child process on a pseudo-terminal, stopped when the
// test ends. The binary is found through QTX_PROGRAM_DIR (set by CTest).

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace qtx::testing {

inline QString RadioSimPath()
{
    const QString dir = qEnvironmentVariable("QTX_PROGRAM_DIR");
    const QString path = dir + QStringLiteral("/qtx-radiosim");
    return !dir.isEmpty() && QFileInfo(path).isExecutable() ? path : QString();
}

class RadioSimProcess {
public:
    // True once the simulator printed its device path.
    bool start(const QStringList& args)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(RadioSimPath(), args);
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
            return false;
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }
    void stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }
    ~RadioSimProcess() { stop(); }
    const QString& device() const { return device_; }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    QString device_;
};

} // namespace qtx::testing
