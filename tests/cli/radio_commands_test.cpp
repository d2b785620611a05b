// read, write and info of qtx-cli against qtx-radiosim on a pseudo-terminal,
// and how they end when the radio refuses or is not there.

#include "cli_process.h"

#include "files/data_file.h"
#include "image/radio_image.h"
#include "support/random_codeplug.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace qtx;
using namespace qtx::testing;

namespace {

class CliRadioTest : public CliRadioTestBase {};

void putText(std::vector<uint8_t>& image, size_t at, const std::string& text)
{
    std::copy(text.begin(), text.end(), image.begin() + static_cast<long>(at));
}

bool sameFrom(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from)
{
    return a.size() == static_cast<size_t>(kImageSize) && b.size() == a.size() &&
           std::equal(a.begin() + static_cast<long>(from), a.end(), b.begin() + static_cast<long>(from));
}

// qtx-cli read on a terminal of its own; onOutput sees all output so far
// and may write to the terminal (`master`). Gives the output and the wait status.
struct TerminalRun {
    std::string seen;
    int status = 0;
};

TerminalRun readOnATerminal(const std::string& device, const std::string& out,
                            const std::function<void(int master, const std::string& seen)>& onOutput)
{
    const std::string cli = ProgramPath("qtx-cli").toStdString();
    TerminalRun run;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0) {
        ADD_FAILURE() << "forkpty failed";
        return run;
    }
    if (pid == 0) {
        execl(cli.c_str(), cli.c_str(), "read", "--port", device.c_str(), "-o", out.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0)
            break; // the program ended and closed the terminal
        run.seen.append(buf, static_cast<size_t>(n));
        onOutput(master, run.seen);
    }
    if (waitpid(pid, &run.status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &run.status, 0);
    }
    ::close(master);
    return run;
}

} // namespace

TEST_F(CliRadioTest, ReadWriteAndInfoWithTheSimulatedRadio)
{
    // The radio holds a programmed Codeplug and its identity texts.
    std::vector<uint8_t> memory = makeCodeplug(31, file("radio.dat"));
    putText(memory, 0x0020, "SN-0815");
    putText(memory, 0x0090, std::string("M\xFCller\x1B[2J", 10)); // a seller with a terminal control in it
    std::fill(memory.begin() + 0x004C, memory.begin() + 0x0050, 0xFF);
    WriteBytes(file("radio.bin"), memory);

    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({"--image", qfile("radio.bin"), "--save", qfile("saved.bin"), "--link", qfile("radio"),
                           "--band-code", "0x35"}));

    const CliRun info = RunCli({"info", "--port", qfile("radio")});
    ASSERT_EQ(info.status, 0) << info;
    EXPECT_NE(info.out.find("Model: QM-5210\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Band code: 0x35\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Serial number: SN-0815\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Seller: M\xC3\xBCller\\x1B[2J\n"), std::string::npos) << info.out;

    // Through COM99 of the program directory's [ports] section, as the desktop does.
    const std::string programDir = file("program");
    std::filesystem::create_directories(programDir + "/language");
    WriteBytes(programDir + "/language/mysetup.ini",
               [&] {
                   const std::string ini = "[ports]\nCOM99=" + file("radio") + "\n";
                   return std::vector<uint8_t>(ini.begin(), ini.end());
               }());
    const CliRun ports = RunCli({"ports", "--program-dir", Q(programDir)});
    ASSERT_EQ(ports.status, 0) << ports;
    EXPECT_NE(ports.out.find("COM99 " + file("radio") + "\n"), std::string::npos) << ports.out;

    const CliRun read = RunCli({"read", "--port", "COM99", "--program-dir", Q(programDir), "-o", qfile("read.dat")});
    ASSERT_EQ(read.status, 0) << read;
    EXPECT_EQ(read.err.find('%'), std::string::npos) << "no progress without a terminal: " << read.err;
    Codeplug got;
    ASSERT_TRUE(ReadCodeplugFiles(file("read.dat"), got).ok());
    EXPECT_EQ(got.body.BandType, 0x35); // from the identification
    // Everything the radio held comes back when the read Codeplug is built again.
    ASSERT_EQ(RunCli({"image", qfile("read.dat"), "-o", qfile("read.bin")}).status, 0);
    EXPECT_TRUE(sameFrom(ReadBytes(file("read.bin")), memory, 0x0100));

    // Writing another Codeplug: the radio ends up with exactly its image.
    const std::vector<uint8_t> next = makeCodeplug(32, file("next.dat"));
    const CliRun write = RunCli({"write", "--port", qfile("radio"), qfile("next.dat"), "--quiet"});
    ASSERT_EQ(write.status, 0) << write;
    EXPECT_TRUE(write.err.empty()) << write.err;
    const std::vector<uint8_t> saved = ReadBytes(file("saved.bin"));
    EXPECT_TRUE(sameFrom(saved, next, 0x0100));
    // Its own area is never written.
    ASSERT_EQ(saved.size(), memory.size());
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0x0100, memory.begin()));
}

TEST_F(CliRadioTest, RefusalsByTheRadioEndWithStatusFour)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat")}).status, 0);
    SimulatedRadio locked;
    ASSERT_TRUE(locked.start({"--password", "ab12", "--save", qfile("locked.bin")}));
    struct Expectation {
        QStringList args;
        int status;
        const char* words;
    };
    const Expectation cases[] = {
        {{"read", "-o", qfile("r.dat")}, 4, "the radio has a password; give it with --password"},
        {{"info", "--password", "AB12"}, 4, "refused the password given with --password"},
        {{"write", qfile("new.dat"), "--password", "ab1"}, 4, "refused the password given with --password"},
        {{"read", "-o", qfile("r.dat"), "--password", "ab12"}, 0, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = RunCli(QStringList(c.args) << "--port" << locked.device());
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString() << ": " << r;
        if (c.status != 0) {
            EXPECT_TRUE(r.oneLine()) << r;
            EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(file("locked.bin"))); // nothing was written

    SimulatedRadio killed;
    ASSERT_TRUE(killed.start({"--killed", "--save", qfile("killed.bin")}));
    const CliRun w = RunCli({"write", "--port", killed.device(), qfile("new.dat")});
    EXPECT_EQ(w.status, 4) << w;
    EXPECT_TRUE(w.oneLine()) << w;
    EXPECT_NE(w.err.find("killed"), std::string::npos) << w.err;
    EXPECT_EQ(RunCli({"read", "--port", killed.device(), "-o", qfile("k.dat")}).status, 0); // reading is allowed
    EXPECT_FALSE(std::filesystem::exists(file("killed.bin")));

    SimulatedRadio other;
    ASSERT_TRUE(other.start({"--model", "QM-9999"}));
    const CliRun m = RunCli({"info", "--port", other.device()});
    EXPECT_EQ(m.status, 4) << m;
    EXPECT_NE(m.err.find("QM-9999"), std::string::npos) << m.err;
}

TEST_F(CliRadioTest, MissingPortsSilentRadiosAndBadFiles)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat")}).status, 0);
    for (const QString& port : {QStringLiteral("COM30000"), qfile("no-such-device")}) {
        const CliRun r = RunCli({"write", "--port", port, qfile("new.dat")});
        EXPECT_EQ(r.status, 3) << r;
        EXPECT_TRUE(r.oneLine()) << r;
    }

    // A garbage data file is refused before the radio is touched.
    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({"--save", qfile("sim.bin")}));
    std::vector<uint8_t> garbage(kDataFileSize, 0xA5);
    WriteBytes(file("garbage.dat"), garbage);
    const CliRun g = RunCli({"write", "--port", sim.device(), qfile("garbage.dat")});
    EXPECT_EQ(g.status, 2) << g;
    EXPECT_TRUE(g.oneLine()) << g;
    EXPECT_FALSE(std::filesystem::exists(file("sim.bin")));

    // A terminal nobody answers on: three tries, one restart, then status 3.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    QElapsedTimer clock;
    clock.start();
    const CliRun silent = RunCli({"read", "--port", name, "-o", qfile("s.dat"), "--retries", "1"});
    const qint64 ms = clock.elapsed();
    ::close(slave);
    ::close(master);
    EXPECT_EQ(silent.status, 3) << silent;
    EXPECT_TRUE(silent.oneLine()) << silent;
    EXPECT_NE(silent.err.find("does not answer"), std::string::npos) << silent.err;
    EXPECT_NE(silent.err.find("gave up after 1 restart"), std::string::npos) << silent.err;
    EXPECT_GE(ms, 1100); // 3 x 300 ms for "PROGRAM", 300 ms for the restart's "END"
    EXPECT_FALSE(std::filesystem::exists(file("s.dat")));
}

// On a terminal: the percentage is shown and a password is asked for
// without echo.
TEST_F(CliRadioTest, PasswordPromptAndProgressOnATerminal)
{
    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({"--password", "Qx7"}));
    const std::string out = file("t.dat");
    bool answered = false;
    const TerminalRun run = readOnATerminal(sim.device().toStdString(), out, [&](int master, const std::string& seen) {
        if (!answered && seen.find("Password:") != std::string::npos) {
            ASSERT_EQ(::write(master, "Qx7\n", 4), 4);
            answered = true;
        }
    });
    EXPECT_TRUE(answered) << run.seen;
    ASSERT_TRUE(WIFEXITED(run.status)) << run.seen;
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.seen;
    EXPECT_EQ(run.seen.find("Qx7"), std::string::npos) << "the password was echoed: " << run.seen;
    EXPECT_NE(run.seen.find("100%"), std::string::npos) << run.seen;
    EXPECT_TRUE(std::filesystem::exists(out));
}

// Ctrl-C at the password prompt cancels like Ctrl-C at any other moment: the
// terminal gets its echo back and the program ends with the cancelled
// status instead of being killed while the radio is in programming mode.
TEST_F(CliRadioTest, CtrlCAtThePasswordPromptCancelsTheTransfer)
{
    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({"--password", "Qx7"}));
    const std::string out = file("c.dat");
    bool interrupted = false;
    bool echoBack = false;
    const TerminalRun run = readOnATerminal(sim.device().toStdString(), out, [&](int master, const std::string& seen) {
        if (!interrupted && seen.find("Password:") != std::string::npos) {
            ASSERT_EQ(::write(master, "\x03", 1), 1); // the terminal's interrupt key
            interrupted = true;
        }
        if (interrupted && !echoBack && seen.find("cancelled") != std::string::npos) {
            struct termios t;
            echoBack = tcgetattr(master, &t) == 0 && (t.c_lflag & ECHO) != 0;
        }
    });
    ASSERT_TRUE(interrupted) << run.seen;
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by a signal: " << run.seen;
    EXPECT_EQ(WEXITSTATUS(run.status), 3) << run.seen;
    EXPECT_NE(run.seen.find("reading the radio was cancelled"), std::string::npos) << run.seen;
    EXPECT_TRUE(echoBack) << run.seen;
    EXPECT_FALSE(std::filesystem::exists(out));
}

// Installed, the program directory is not writable: the desktop program keeps
// mysetup.ini in the per-user folder, and qtx-cli finds the ports there too.
TEST_F(CliRadioTest, PortsOfThePerUserSettingsWhenTheProgramDirectoryIsReadOnly)
{
    namespace fs = std::filesystem;
    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({}));
    const std::string programDir = file("program");
    fs::create_directories(programDir + "/language");
    std::ofstream(programDir + "/language/mysetup.ini") << "[language]\nFactoryFres=0\n";
    const std::string config = file("config");
    fs::create_directories(config + "/QTX/QTX");
    std::ofstream(config + "/QTX/QTX/mysetup.ini") << "[ports]\nCOM99=" << sim.device().toStdString() << "\n";
    fs::create_directories(file("empty-config"));
    for (const std::string& d : {programDir + "/language", programDir})
        fs::permissions(d, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);

    // Permissions do not stop root: as root, qtx-cli runs in a user
    // namespace of its own, where it is nobody.
    QStringList prefix;
    if (::geteuid() == 0) {
        QProcess probe;
        probe.start("unshare", {"-U", "true"});
        if (!probe.waitForFinished(5000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            GTEST_SKIP() << "running as root without user namespaces: cannot make a directory read-only";
        prefix = {"-U", ProgramPath("qtx-cli")};
        fs::permissions(sim.device().toStdString(), fs::perms::others_read | fs::perms::others_write,
                        fs::perm_options::add);
    }
    auto run = [&](const std::string& configHome) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", Q(configHome));
        p.setProcessEnvironment(env);
        p.setStandardInputFile(QProcess::nullDevice());
        const QStringList args = {"info", "--port", "COM99", "--program-dir", Q(programDir)};
        p.start(prefix.isEmpty() ? ProgramPath("qtx-cli") : QStringLiteral("unshare"), prefix + args);
        CliRun r;
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
            r.status = p.exitCode();
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    };

    const CliRun reached = run(config);
    EXPECT_EQ(reached.status, 0) << reached;
    EXPECT_NE(reached.out.find("Model: QM-5210\n"), std::string::npos) << reached.out;
    // The per-user file is what made COM99 known.
    const CliRun unknown = run(file("empty-config"));
    EXPECT_EQ(unknown.status, 3) << unknown;
    EXPECT_NE(unknown.err.find("COM99"), std::string::npos) << unknown.err;
}

TEST_F(CliRadioTest, InterruptedTransfersEndCancelledAndFreeTheRadio)
{
    SimulatedRadio sim;
    ASSERT_TRUE(sim.start({"--baud-timing", "--save", qfile("saved.bin"), "--link", qfile("radio")}));
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        QProcess read;
        read.setStandardInputFile(QProcess::nullDevice());
        read.start(ProgramPath("qtx-cli"), {"read", "--port", qfile("radio"), "-o", qfile("read.dat")});
        ASSERT_TRUE(read.waitForStarted(5000));
        QThread::msleep(1500);
        ASSERT_EQ(read.state(), QProcess::Running) << "the read ended before the signal";
        QElapsedTimer t;
        t.start();
        ::kill(static_cast<pid_t>(read.processId()), signal);
        ASSERT_TRUE(read.waitForFinished(5000));
        EXPECT_LT(t.elapsed(), 1000);
        EXPECT_EQ(read.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(read.exitCode(), 3);
        EXPECT_EQ(read.readAllStandardError().toStdString(), "qtx-cli: reading the radio was cancelled\n");
        EXPECT_FALSE(std::filesystem::exists(file("read.dat")));
        EXPECT_FALSE(std::filesystem::exists(file("read.fre")));
    }
    // Out of programming mode: the radio answers the next transfer at once.
    const CliRun info = RunCli({"info", "--port", qfile("radio")}, 10000);
    EXPECT_EQ(info.status, 0) << info;

    // A write interrupted after its first blocks says what that means.
    makeCodeplug(33, file("next.dat"));
    QProcess write;
    write.setStandardInputFile(QProcess::nullDevice());
    write.start(ProgramPath("qtx-cli"), {"write", "--port", qfile("radio"), qfile("next.dat")});
    ASSERT_TRUE(write.waitForStarted(5000));
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(write.processId()), SIGINT);
    ASSERT_TRUE(write.waitForFinished(5000));
    EXPECT_EQ(write.exitCode(), 3);
    const std::string err = write.readAllStandardError().toStdString();
    EXPECT_EQ(err.rfind("qtx-cli: writing the radio was cancelled; the radio may now hold a partly written memory", 0),
              0u)
        << err;
}
