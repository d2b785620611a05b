#pragma once
// Runs the built qtx-cli (and qtx-radiosim) from the program directory CTest
// names in QTX_PROGRAM_DIR, as a script would: no terminal, standard input
// empty.

#include "files/data_file.h"
#include "model/workspace.h"
#include "support/random_codeplug.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qtx::testing {

inline void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

inline QString ProgramPath(const char* program)
{
    const QString dir = qEnvironmentVariable("QTX_PROGRAM_DIR");
    const QString path = dir + QLatin1Char('/') + QLatin1String(program);
    return !dir.isEmpty() && QFileInfo(path).isExecutable() ? path : QString();
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;

    // What a failure must look like: exactly one line, from the tool.
    bool oneLine() const
    {
        return err.rfind("qtx-cli: ", 0) == 0 && err.find('\n') == err.size() - 1;
    }
};

inline CliRun RunCli(const QStringList& args, int timeoutMs = 20000)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(ProgramPath("qtx-cli"), args);
    CliRun r;
    if (!p.waitForStarted(5000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        r.err = "qtx-cli did not finish in time";
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

inline std::ostream& operator<<(std::ostream& os, const CliRun& r)
{
    return os << "status " << r.status << ", stderr: " << r.err;
}

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// qtx-radiosim as a child process, stopped when the test ends.
class SimulatedRadio {
public:
    bool start(const QStringList& args)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(ProgramPath("qtx-radiosim"), args);
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
            return false;
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }
    ~SimulatedRadio() { stop(); }
    void stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }
    const QString& device() const { return device_; }

private:
    QProcess process_;
    QString device_;
};

// Writes a Codeplug as a data file pair the way the programs save it.
inline void SavePair(const Codeplug& cp, const std::string& dataFile)
{
    Workspace ws;
    CopyCodeplug(cp, ws.live);
    ws.bandType = cp.body.BandType;
    ws.fileName = dataFile;
    ASSERT_TRUE(SaveCodeplug(ws).ok()) << dataFile;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        if (ProgramPath("qtx-cli").isEmpty())
            GTEST_SKIP() << "qtx-cli is not built (QTX_PROGRAM_DIR)";
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    QString qfile(const std::string& name) const { return Q(dir.file(name)); }

    TempDir dir;
};

// Tests that talk to qtx-radiosim.
class CliRadioTestBase : public CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        if (!IsSkipped() && ProgramPath("qtx-radiosim").isEmpty())
            GTEST_SKIP() << "qtx-radiosim is not built (QTX_PROGRAM_DIR)";
    }

    // A random Codeplug saved as a pair; the image a write sends, through `image`.
    std::vector<uint8_t> makeCodeplug(uint32_t seed, const std::string& dataFile)
    {
        CodeplugGenerator gen(seed);
        auto cp = std::make_unique<Codeplug>(gen.make());
        SavePair(*cp, dataFile);
        const std::string bin = dataFile + ".bin";
        const CliRun r = RunCli({"image", Q(dataFile), "-o", Q(bin)});
        EXPECT_EQ(r.status, 0) << r;
        return ReadBytes(bin);
    }
};

} // namespace qtx::testing
