// qtx-radiosim: a simulated QM-5210 on a pseudo-terminal, so that qtx and
// qtx-cli can program it through a real serial device path.

#include "files/data_file.h"
#include "files/file_io.h"
#include "sim/radio_simulator.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <map>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace qtx;

namespace {

// One byte at 9600 baud, 8N1: ten bits.
constexpr double kByteSeconds = 1.0 / 960.0;
// What the radio needs between the last byte of a frame and the first byte
// of its answer, when wire timing is emulated.
constexpr double kDefaultReplyDelayMs = 2.0;
// A pause this long ends a frame cut short.
constexpr double kLineIdleSeconds = 0.050;

const char* kUsage = R"(Usage: qtx-radiosim [options]

Serves a simulated QM-5210 radio on a pseudo-terminal. The device path is
printed on the first line of standard output; point qtx or qtx-cli at it
(or at the --link path). Stops on SIGINT or SIGTERM.

Options:
  --link PATH        also make a symbolic link PATH to the device (removed on exit)
  --image FILE       load the radio's memory from FILE (16384 bytes)
  --save FILE        write the memory to FILE after each exchange that changed it
                     (when "END" arrives) and on exit when unsaved changes remain
  --password PW      programming password, up to 4 characters (stored at 0x004C)
  --model TEXT       model text of the identification (default QM-5210)
  --version TEXT     version text of the identification (default V100)
  --band-code N      band code byte (default 7; decimal or 0x..)
  --radio-flag       set the radio flag bit of the identification
  --killed           report the radio as killed
  --stunned          report the radio as stunned
  --fault-rate R     give each answer a random fault with probability R (0..1)
  --corrupt-store A  acknowledge every write of address A (decimal or 0x..) but
                     store its byte with the lowest bit flipped
  --silent-after N   answer nothing once N frames have been received
  --seed N           seed of the random faults (default 1)
  --baud-timing      let every byte take its 9600-baud wire time (1/960 s) and
                     the radio a processing delay before each answer
  --reply-delay MS   that processing delay in milliseconds (default 2)
  --help             show this text
)";

volatile std::sig_atomic_t gStop = 0;

void onSignal(int)
{
    gStop = 1;
}

double now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Options {
    std::string link;
    std::string image;
    std::string save;
    std::optional<std::string> password;
    SimIdentity identity;
    double faultRate = 0.0;
    std::optional<uint16_t> corruptStore;
    int silentAfter = -1;
    uint32_t seed = 1;
    bool baudTiming = false;
    double replyDelayMs = kDefaultReplyDelayMs;
};

[[noreturn]] void usageError(const std::string& message)
{
    std::fprintf(stderr, "qtx-radiosim: %s\nTry --help.\n", message.c_str());
    std::exit(2);
}

long parseNumber(const std::string& text, const char* option, long low, long high)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
        usageError(std::string("bad value for ") + option + ": " + text);
    return v;
}

double parseReal(const std::string& text, const char* option, double low, double high)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= low && v <= high))
        usageError(std::string("bad value for ") + option + ": " + text);
    return v;
}

Options parseOptions(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= argc)
                usageError(arg + " needs a value");
            return argv[++i];
        };
        auto flag = [&] {
            if (inlineValue)
                usageError(arg + " takes no value");
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--link") {
            o.link = value();
        } else if (arg == "--image") {
            o.image = value();
        } else if (arg == "--save") {
            o.save = value();
        } else if (arg == "--password") {
            o.password = value();
            if (o.password->size() > 4)
                usageError("a password has at most 4 characters");
        } else if (arg == "--model") {
            o.identity.model = value();
            if (o.identity.model.size() > 7)
                usageError("a model text has at most 7 characters");
        } else if (arg == "--version") {
            o.identity.version = value();
            if (o.identity.version.size() > 4)
                usageError("a version text has at most 4 characters");
        } else if (arg == "--band-code") {
            o.identity.bandCode = static_cast<uint8_t>(parseNumber(value(), "--band-code", 0, 255));
        } else if (arg == "--radio-flag") {
            flag();
            o.identity.flags |= 0x10;
        } else if (arg == "--killed") {
            flag();
            o.identity.killed = true;
        } else if (arg == "--stunned") {
            flag();
            o.identity.stunned = true;
        } else if (arg == "--fault-rate") {
            o.faultRate = parseReal(value(), "--fault-rate", 0.0, 1.0);
        } else if (arg == "--corrupt-store") {
            o.corruptStore = static_cast<uint16_t>(parseNumber(value(), "--corrupt-store", 0x0100, 0x3FFF));
        } else if (arg == "--silent-after") {
            o.silentAfter = static_cast<int>(parseNumber(value(), "--silent-after", 0, 1000000000L));
        } else if (arg == "--seed") {
            o.seed = static_cast<uint32_t>(parseNumber(value(), "--seed", 0, 0xFFFFFFFFL));
        } else if (arg == "--baud-timing") {
            flag();
            o.baudTiming = true;
        } else if (arg == "--reply-delay") {
            o.replyDelayMs = parseReal(value(), "--reply-delay", 0.0, 1000.0);
        } else {
            usageError("unknown option " + arg);
        }
    }
    return o;
}

class Server {
public:
    Server(RadioSimulator& radio, const Options& options, int master)
        : radio_(radio)
        , options_(options)
        , master_(master)
    {
    }

    // Runs until a signal asks to stop; false when the device failed.
    bool run()
    {
        uint8_t buf[4096];
        double lastInput = 0.0;
        bool partial = false;
        while (!gStop) {
            pollfd fds[1] = {{master_, POLLIN, 0}};
            if (writeBlocked_)
                fds[0].events |= POLLOUT;
            const double t = now();
            double wait = 0.5;
            if (!schedule_.empty())
                wait = std::min(wait, schedule_.begin()->first - t);
            if (partial)
                wait = std::min(wait, lastInput + kLineIdleSeconds - t);
            wait = std::max(wait, 0.0);
            timespec ts{static_cast<time_t>(wait), static_cast<long>((wait - static_cast<double>(static_cast<time_t>(wait))) * 1e9)};
            sigset_t none;
            sigemptyset(&none);
            const int n = ppoll(fds, 1, &ts, &none);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                std::perror("qtx-radiosim: poll");
                return false;
            }
            if (fds[0].revents & POLLIN) {
                const ssize_t got = ::read(master_, buf, sizeof buf);
                if (got > 0) {
                    lastInput = now();
                    partial = true;
                    received(buf, static_cast<size_t>(got), lastInput);
                } else if (got < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
                    std::perror("qtx-radiosim: read");
                    return false;
                }
            } else if (partial && now() - lastInput >= kLineIdleSeconds) {
                radio_.lineIdle();
                partial = false;
            }
            releaseDue(now());
            flush();
        }
        return true;
    }

    void saveIfChanged()
    {
        if (options_.save.empty() || !radio_.memoryChanged())
            return;
        const auto& m = radio_.memory();
        const auto r = ReplaceFile(options_.save, std::vector<uint8_t>(m.begin(), m.end()));
        if (!r)
            std::fprintf(stderr, "qtx-radiosim: %s\n", r.error().detail.c_str());
        else
            radio_.clearMemoryChanged();
    }

private:
    void received(const uint8_t* bytes, size_t n, double at)
    {
        const double byte = kByteSeconds;
        for (size_t i = 0; i < n; ++i) {
            const SimOutput out = radio_.receiveByte(bytes[i]);
            if (!options_.baudTiming) {
                pending_.push_back(out.echo);
                pending_.insert(pending_.end(), out.reply.begin(), out.reply.end());
            } else {
                // The byte crosses the wire after the ones before it; its
                // echo comes back while it is sent.
                const double arrived = std::max(at, rxBusyUntil_) + byte;
                rxBusyUntil_ = arrived;
                schedule_.emplace(arrived, out.echo);
                if (!out.reply.empty()) {
                    double t = std::max(arrived + options_.replyDelayMs / 1000.0, txBusyUntil_);
                    for (uint8_t b : out.reply) {
                        t += byte;
                        schedule_.emplace(t, b);
                    }
                    txBusyUntil_ = t;
                }
            }
            if (out.endAnswered)
                saveIfChanged();
        }
    }

    void releaseDue(double t)
    {
        while (!schedule_.empty() && schedule_.begin()->first <= t) {
            pending_.push_back(schedule_.begin()->second);
            schedule_.erase(schedule_.begin());
        }
    }

    void flush()
    {
        writeBlocked_ = false;
        while (!pending_.empty()) {
            const ssize_t w = ::write(master_, pending_.data(), pending_.size());
            if (w > 0) {
                pending_.erase(pending_.begin(), pending_.begin() + w);
                continue;
            }
            if (w < 0 && errno == EINTR)
                continue;
            writeBlocked_ = true; // the terminal's buffer is full; wait until it drains
            return;
        }
    }

    RadioSimulator& radio_;
    const Options& options_;
    int master_;
    std::multimap<double, uint8_t> schedule_; // bytes not yet on the wire, by the time they arrive
    std::vector<uint8_t> pending_;            // bytes due, not yet written
    bool writeBlocked_ = false;
    double rxBusyUntil_ = 0.0;
    double txBusyUntil_ = 0.0;
};

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);

    RadioSimulator radio;
    if (!options.image.empty()) {
        auto data = ReadBoundedFile(options.image, kRadioImageFileShape);
        if (!data) {
            std::fprintf(stderr, "qtx-radiosim: %s\n", data.error().detail.c_str());
            return 1;
        }
        RadioImage m;
        std::copy(data.value().begin(), data.value().end(), m.begin());
        radio.setMemory(m);
    }
    if (options.password)
        radio.setPassword(*options.password);
    radio.setIdentity(options.identity);
    if (options.faultRate > 0.0)
        radio.setRandomFaults(options.faultRate, options.seed);
    if (options.corruptStore) {
        // Writes go in 16-byte blocks from 0x0100.
        const auto block = static_cast<uint16_t>(*options.corruptStore & ~0x0F);
        radio.addFault(SimFrame::Write, SimFaultSpec{SimFault::CorruptStore, *options.corruptStore & 0x0F, 0x01},
                       std::numeric_limits<int>::max(), block);
    }
    radio.setSilentAfter(options.silentAfter);

    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("qtx-radiosim: openpty");
        return 1;
    }
    termios tio;
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(slave, TCSANOW, &tio);
    // The slave stays open here too, so the master never sees a hang-up
    // while no program has the device open.
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // Block the stop signals except while waiting, so none slips in between
    // the check and the wait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    prctl(PR_SET_TIMERSLACK, 1UL);

    bool linked = false;
    if (!options.link.empty()) {
        struct stat st;
        if (lstat(options.link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                std::fprintf(stderr, "qtx-radiosim: %s exists and is not a symbolic link\n", options.link.c_str());
                return 1;
            }
            ::unlink(options.link.c_str());
        }
        if (::symlink(name, options.link.c_str()) != 0) {
            std::fprintf(stderr, "qtx-radiosim: cannot link %s: %s\n", options.link.c_str(), std::strerror(errno));
            return 1;
        }
        linked = true;
    }

    std::printf("%s\n", name);
    std::fflush(stdout);

    Server server(radio, options, master);
    const bool ok = server.run();
    server.saveIfChanged();
    if (linked)
        ::unlink(options.link.c_str());
    ::close(slave);
    ::close(master);
    return ok ? 0 : 1;
}
