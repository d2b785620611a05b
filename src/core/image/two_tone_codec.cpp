#include "image/two_tone_codec.h"

#include "image/codec_support.h"
#include "image/image_access.h"
#include "image/image_map.h"

namespace qtx {

namespace im = imagemap;
namespace tt = imagemap::twotone;

Result<void> SetCommDataBy2Tone(const TwoToneSettings& t, RadioImage& image)
{
    ImageWriter h(image, im::kTwoToneHeader);
    // Own-code values go low byte first, tones A-D high byte first.
    h.setU16le(tt::kOwnFirstTone, t.OwnFirstTone);
    h.setU16le(tt::kOwnSecondTone, t.OwnSecondTone);
    h.setU16le(tt::kOwnFirstDivider, t.OwnFirstDivider);
    h.setU16le(tt::kOwnSecondDivider, t.OwnSecondDivider);
    h.setByte(tt::kDecodeResponse, t.DecodeResponse);
    h.setByte(tt::kDuration1, t.Duration1);
    h.setByte(tt::kDuration2, t.Duration2);
    h.setByte(tt::kDuration3, t.Duration3);
    h.setByte(tt::kDelay, t.Delay);
    h.setByte(tt::kTimer, t.Timer);
    h.setByte(tt::kSideTone, t.SideTone);
    h.setByte(tt::kOwnFormat, t.OwnFormat);
    h.setU16be(tt::kToneA, t.ToneA);
    h.setU16be(tt::kToneB, t.ToneB);
    h.setU16be(tt::kToneC, t.ToneC);
    h.setU16be(tt::kToneD, t.ToneD);

    ImageWriter bitmap(image, im::kTwoToneEmptyBitmap);
    for (int e = 0; e < im::kTwoToneEntries.count; ++e) {
        const TwoToneEntry& entry = t.Entries[e];
        if (entry.Empty == 0)
            bitmap.setMapBit(e, false);
        ImageWriter w(image, im::kTwoToneEntries.entry(e));
        w.setU16le(tt::kFirstDivider, entry.FirstDivider);
        w.setU16le(tt::kSecondDivider, entry.SecondDivider);
        w.setU16le(tt::kFirstTone, entry.FirstTone);
        w.setU16le(tt::kSecondTone, entry.SecondTone);
        const std::string name = entry.Name.trimmed();
        w.setChars(tt::kName, tt::kNameSize, name, name.empty() ? 0x00 : 0x20);
    }
    return {};
}

void ParseTwoTone(const RadioImage& image, TwoToneSettings& live)
{
    TwoToneSettings t;
    ImageReader h(image, im::kTwoToneHeader);
    t.OwnFirstTone = h.u16le(tt::kOwnFirstTone);
    t.OwnSecondTone = h.u16le(tt::kOwnSecondTone);
    t.OwnFirstDivider = h.u16le(tt::kOwnFirstDivider);
    t.OwnSecondDivider = h.u16le(tt::kOwnSecondDivider);
    t.DecodeResponse = h.byte(tt::kDecodeResponse);
    t.Duration1 = h.byte(tt::kDuration1);
    t.Duration2 = h.byte(tt::kDuration2);
    t.Duration3 = h.byte(tt::kDuration3);
    t.Delay = h.byte(tt::kDelay);
    t.Timer = h.byte(tt::kTimer);
    t.SideTone = h.byte(tt::kSideTone);
    t.OwnFormat = h.byte(tt::kOwnFormat);
    if (t.OwnFormat > 14)
        t.OwnFormat = 0;
    t.ToneA = h.u16be(tt::kToneA);
    t.ToneB = h.u16be(tt::kToneB);
    t.ToneC = h.u16be(tt::kToneC);
    t.ToneD = h.u16be(tt::kToneD);

    ImageReader bitmap(image, im::kTwoToneEmptyBitmap);
    for (int e = 0; e < im::kTwoToneEntries.count; ++e) {
        TwoToneEntry& entry = t.Entries[e];
        entry.Empty = bitmap.mapBit(e) ? 1 : 0;
        ImageReader r(image, im::kTwoToneEntries.entry(e));
        entry.FirstDivider = r.u16le(tt::kFirstDivider);
        entry.SecondDivider = r.u16le(tt::kSecondDivider);
        entry.FirstTone = r.u16le(tt::kFirstTone);
        entry.SecondTone = r.u16le(tt::kSecondTone);
        const auto name = r.collect(tt::kName, tt::kNameSize, true, true);
        StoreCollected(entry.Name, name.text, name.stopped);
    }
    live = t;
}

} // namespace qtx
