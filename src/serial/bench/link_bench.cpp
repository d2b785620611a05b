// qtx-linkbench: times a full read and a full write through the serial
// runner against qtx-radiosim on a pseudo-terminal. With --baud-timing the
// simulator lets every byte take its 9600-baud wire time, and the figures
// are compared with the ideal time of the traffic: every byte of every frame
// and every reply at 960 bytes per second (an echo crosses the wire while its
// byte is sent, so the bytes received count them once) plus the simulator's
// processing delay once per reply.

#include "image/radio_image.h"
#include "transfer_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <cstring>
#include <random>

using namespace qtx;

namespace {

class NoPrompts : public LinkPrompter {
public:
    bool askRetry() override
    {
        std::fprintf(stderr, "qtx-linkbench: the radio did not answer; giving up\n");
        return false;
    }
    std::optional<std::string> askPassword(const std::string&) override { return std::nullopt; }
    void showMessage(const std::string& name) override { std::fprintf(stderr, "qtx-linkbench: %s\n", name.c_str()); }
};

const char* kUsage = R"(Usage: qtx-linkbench [options]

Runs a full read and then a full write of a simulated radio and prints how
long each took.

Options:
  --baud-timing      let the simulator emulate 9600-baud wire timing
  --reply-delay MS   the simulator's processing delay per reply (default 2)
  --mode MODE        read, write or both (default both)
  --sim PATH         the simulator program (default: qtx-radiosim beside this one)
  --help             show this text
)";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool baud = false;
    double delayMs = 2.0;
    QString mode = QStringLiteral("both");
    QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/qtx-radiosim");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "qtx-linkbench: %s needs a value\n", qPrintable(a));
                std::exit(2);
            }
            return args[++i];
        };
        if (a == QLatin1String("--baud-timing"))
            baud = true;
        else if (a == QLatin1String("--reply-delay"))
            delayMs = value().toDouble();
        else if (a == QLatin1String("--mode"))
            mode = value();
        else if (a == QLatin1String("--sim"))
            sim = value();
        else if (a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "qtx-linkbench: unknown option %s\n", qPrintable(a));
            return 2;
        }
    }
    if (mode != QLatin1String("read") && mode != QLatin1String("write") && mode != QLatin1String("both")) {
        std::fprintf(stderr, "qtx-linkbench: --mode is read, write or both\n");
        return 2;
    }

    QProcess radio;
    QStringList simArgs;
    if (baud)
        simArgs << QStringLiteral("--baud-timing") << QStringLiteral("--reply-delay") << QString::number(delayMs);
    radio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    radio.start(sim, simArgs);
    if (!radio.waitForStarted(5000) || !radio.waitForReadyRead(5000)) {
        std::fprintf(stderr, "qtx-linkbench: cannot start %s\n", qPrintable(sim));
        return 1;
    }
    const QString device = QString::fromLocal8Bit(radio.readLine()).trimmed();

    RadioImage image;
    NoPrompts prompts;
    TransferRunner runner(image, prompts);
    int failures = 0;

    auto once = [&](TransferMode m) {
        QElapsedTimer clock;
        clock.start();
        const TransferResult r = runner.run(m, device);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        const LinkStats& s = runner.stats();
        std::printf("%-5s %s  %.3f s  %d frames  %lld bytes sent  %lld bytes received", TransferModeName(m),
                    r.success ? "ok    " : "FAILED", seconds, s.framesSent, static_cast<long long>(s.bytesSent),
                    static_cast<long long>(s.bytesReceived));
        if (baud) {
            const double ideal = static_cast<double>(s.bytesReceived) / 960.0 + s.framesSent * delayMs / 1000.0;
            std::printf("  ideal %.3f s  ratio %.4f", ideal, seconds / ideal);
        }
        std::printf("\n");
        std::fflush(stdout);
        if (!r.success) {
            std::fprintf(stderr, "qtx-linkbench: %s failed: %s\n", TransferModeName(m), r.detail.c_str());
            ++failures;
        }
    };

    if (mode != QLatin1String("write")) {
        PrefillImage(image);
        once(TransferMode::Read);
    }
    if (mode != QLatin1String("read")) {
        std::mt19937 rng(5210);
        for (int a = 0x0100; a < kImageSize; ++a)
            image[a] = static_cast<uint8_t>(rng());
        once(TransferMode::Write);
    }

    radio.terminate();
    radio.waitForFinished(5000);
    return failures ? 1 : 0;
}
