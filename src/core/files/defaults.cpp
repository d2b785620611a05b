#include "files/defaults.h"

#include "convert/frequency.h"
#include "convert/numeric.h"
#include "files/data_file.h"
#include "model/band_plan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qtx {

ChannelRecord VfoChannel(const BandPlan& band)
{
    ChannelRecord vfo;
    vfo.Number = kChannelVfo;
    vfo.InUse = 1;
    vfo.ScanSkip = 1;
    const double middle = (RoundHalfEven(band.RxHigh) + band.RxLow) / 2;
    const std::string digits = FreqTextToDigits(FixedDecimal(middle, 3, 4));
    // A band that gives no usable middle leaves the VFO without a frequency.
    vfo.RxFrequency.setPadded(digits.empty() ? kNoFrequencyDigits : std::string_view(digits));
    vfo.Offset.setPadded("000000000");
    vfo.Name.setTerminated("");
    vfo.Step = 0;
    vfo.TxCtcss = 20;
    vfo.RxCtcss = 20;
    vfo.PttIdCode.setPadded("00000");
    return vfo;
}

std::string FactoryFilePath(const std::string& programDir)
{
    return (std::filesystem::path(programDir) / "Init" / (ModelCheck(kModelName) + ".dat")).string();
}

bool NewCodeplug(Workspace& ws, const std::string& programDir, const NewOptions& options)
{
    ws.fileName = kUntitledFileName;
    ws.bookFileName = kUntitledBookFileName;
    ws.isUntitled = true;

    CodeplugBody body;
    body.BandType = ws.live.body.BandType;
    body.Band = ws.live.body.Band;
    body.ChannelCount = 1;
    ws.live.body = body;
    std::fill(ws.live.channels.begin(), ws.live.channels.end(), ChannelRecord{});
    ws.live.channels[0] = VfoChannel(body.Band);

    const std::string factory = FactoryFilePath(programDir);
    std::error_code ec;
    if (std::filesystem::is_regular_file(factory, ec)) {
        // A pair that does not read back whole (channel file missing or
        // short, damaged records) is not used at all: half a template could
        // leave a new Codeplug without even its VFO channel.
        Codeplug probe;
        const auto report = ReadCodeplugFiles(factory, probe);
        if (report && report.value().complete() &&
            LoadTemplate(ws, factory, options.factoryFres || options.initRequested))
            return true;
    }
    TakeSnapshot(ws);
    return false;
}

} // namespace qtx
