#include "image/image_codec.h"

#include "image/channel_codec.h"
#include "image/dtmf_codec.h"
#include "image/five_tone_codec.h"
#include "image/settings_codec.h"
#include "image/two_tone_codec.h"

namespace qtx {

BuildReport BuildImage(Codeplug& cp, RadioImage& image)
{
    BuildReport report;
    RadioSettings& s = cp.body.Settings;

    // The entry bitmaps are built by clearing bits, so they must start all
    // set; everything a build does not write goes out as its prefill value.
    PrefillImage(image);

    EncodeKeys(s.Keys, image);
    EncodeScan(s.Scan, image);
    EncodeEmergency(s.Emergency, image);

    report.result = SetCommDataByFrequency(cp, image, report.notices);
    if (!report.ok())
        return report;
    report.result = SetCommDataByOption(s.Options, s.Dtmf, image);
    if (!report.ok())
        return report;
    report.result = SetCommDataBy5Tone(s.FiveTone, cp.body.FiveToneCodeFormat, image);
    if (!report.ok())
        return report;
    report.result = SetCommDataBy2Tone(s.TwoTone, image);
    if (!report.ok())
        return report;
    report.result = SetCommDataByDTMF(s.Dtmf, image);
    if (!report.ok())
        return report;
    report.result = SetCommDataByDTMFCommuBook(cp.body.Book, image);
    return report;
}

void ParseImage(RadioImage& image, Codeplug& cp, EmbeddedInfo* info)
{
    RadioSettings& s = cp.body.Settings;
    cp.body.ChannelCount = 0;
    ParseChannels(image, cp);
    ParseKeys(image, s.Keys);
    ParseScan(image, s.Scan);
    ParseEmergency(image, s.Emergency);
    if (info) {
        const std::string version = info->Version;
        *info = ParseEmbeddedInfo(image);
        info->Version = version;
    }
    ParseOptions(image, s.Options, s.Dtmf);
    ParseFiveTone(image, s.FiveTone, cp.body.FiveToneCodeFormat);
    ParseTwoTone(image, s.TwoTone);
    ParseDtmf(image, s.Dtmf);
    ParseCommBook(image, cp.body.Book);
}

} // namespace qtx
