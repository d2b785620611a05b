#include "files/signal_switches.h"

#include "files/file_io.h"

#include <cerrno>
#include <sys/stat.h>

namespace qtx {

namespace {

// Ten bytes are used; what follows them is kept, within reason.
constexpr FileShape kSwitchesFileShape{"a switches file", 0, 64 * 1024};

int16_t at(const std::vector<uint8_t>& b, size_t i)
{
    return static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
}

void put(std::vector<uint8_t>& b, size_t i, int16_t v)
{
    b[2 * i] = static_cast<uint8_t>(v & 0xFF);
    b[2 * i + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

} // namespace

SignalViewSwitches ReadSignalViewSwitches(const std::string& path)
{
    auto data = ReadBoundedFile(path, kSwitchesFileShape);
    if (!data || data.value().size() < 10)
        return {};
    const auto& b = data.value();
    return SignalViewSwitches{at(b, 0), at(b, 1), at(b, 2), at(b, 3), at(b, 4)};
}

Result<void> WriteSignalViewSwitches(const std::string& path, const SignalViewSwitches& s)
{
    std::vector<uint8_t> bytes;
    // A file that is there but cannot be read is not replaced: whatever it
    // is, it is not ours to overwrite.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 || errno != ENOENT) {
        auto old = ReadBoundedFile(path, kSwitchesFileShape);
        if (!old)
            return old.error();
        bytes = std::move(old.value());
    }
    if (bytes.size() < 10)
        bytes.resize(10, 0);
    put(bytes, 0, s.FiveTone);
    put(bytes, 1, s.TwoTone);
    put(bytes, 2, s.Dtmf);
    put(bytes, 3, s.RadioFlag);
    put(bytes, 4, s.SwitchMenuShown);
    return ReplaceFile(path, bytes);
}

} // namespace qtx
