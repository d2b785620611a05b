// qtx-cli: the command-line programmer for the QM-5210: every capability of
// the core behind a scriptable command (read, write, image, JSON export and
// import ...). See "qtx-cli --help".

#include "command_line.h"
#include "commands.h"
#include "files/program_dir.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QStandardPaths>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

using namespace qtx::cli;

namespace {

// One line: whatever a file name or a radio put into the text, no line
// breaks or terminal controls reach the output.
std::string oneLine(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    return out;
}

int finish(const Failure& failure)
{
    std::fprintf(stderr, "qtx-cli: %s\n", oneLine(failure.line).c_str());
    return failure.status;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const Parsed parsed = ParseCommandLine(args);
    if (parsed.error)
        return finish(*parsed.error);
    const Invocation& inv = parsed.invocation;
    if (inv.help) {
        std::fputs((inv.command.empty() ? ToolHelp() : CommandHelp(inv.command)).c_str(), stdout);
        return kExitOk;
    }

    // A report is laid out with fonts, on the offscreen platform: no display needed.
    std::unique_ptr<QCoreApplication> app;
    if (inv.command == "report") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Failures are reported in the tool's one line; Qt's notes about the
        // session (no runtime folder and such) are not for the script.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtFatalMsg)
                std::fprintf(stderr, "qtx-cli: %s\n", qPrintable(text));
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The desktop program's names, so both find the same per-user settings.
    QCoreApplication::setOrganizationName("QTX");
    QCoreApplication::setApplicationName("QTX");
    // Qt takes the user's locale for the C library; numbers in data and
    // messages are always written with ".".
    std::setlocale(LC_NUMERIC, "C");

    Context ctx;
    ctx.invocation = inv;
    ctx.stderrIsTerminal = isatty(STDERR_FILENO);
    ctx.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
    if (inv.programDir) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*inv.programDir, ec))
            return finish(Fail(kExitUsage, "--program-dir: there is no directory " + *inv.programDir));
        ctx.programDir = *inv.programDir;
    } else {
        const auto located = qtx::LocateProgramDir(QCoreApplication::applicationDirPath().toStdString());
        ctx.programDir = located.path;
        ctx.sharedProgramDir = located.installed;
    }

    try {
        if (const Outcome failed = RunCommand(ctx))
            return finish(*failed);
    } catch (const std::bad_alloc&) {
        // Inputs are bounded; this is a machine short of memory.
        return finish(Fail(kExitFile, "not enough memory"));
    }
    return kExitOk;
}
