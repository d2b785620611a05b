#include "image/two_tone_codec.h"

#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

namespace qtx {

namespace im = imagemap;
using namespace image;
using T = TwoToneSettings;
using Entry = TwoToneEntry;

namespace {

int ZeroAbove14(int b) { return b > 14 ? 0 : b; }

constexpr bool kHighFirst = true;

// Own-code values go low byte first, tones A-D high byte first.
constexpr std::tuple kTwoToneHeader{
    Word{0x00, &T::OwnFirstTone, "OwnFirstTone"},
    Word{0x02, &T::OwnSecondTone, "OwnSecondTone"},
    Word{0x04, &T::OwnFirstDivider, "OwnFirstDivider"},
    Word{0x06, &T::OwnSecondDivider, "OwnSecondDivider"},
    Byte{0x08, &T::DecodeResponse, "DecodeResponse"},
    Byte{0x09, &T::Duration1, "Duration1"},
    Byte{0x0A, &T::Duration2, "Duration2"},
    Byte{0x0B, &T::Duration3, "Duration3"},
    Byte{0x0C, &T::Delay, "Delay"},
    Byte{0x0D, &T::Timer, "Timer"},
    Byte{0x0E, &T::SideTone, "SideTone"},
    Byte{0x0F, &T::OwnFormat, "OwnFormat", 255, nullptr, ZeroAbove14},
    Word{0x10, &T::ToneA, "ToneA", kHighFirst},
    Word{0x12, &T::ToneB, "ToneB", kHighFirst},
    Word{0x14, &T::ToneC, "ToneC", kHighFirst},
    Word{0x16, &T::ToneD, "ToneD", kHighFirst},
};

// A call entry; whether it is in use lives in the empty-entry bitmap.
constexpr std::tuple kTwoToneEntry{
    Word{0, &Entry::FirstDivider, "FirstDivider"},
    Word{2, &Entry::SecondDivider, "SecondDivider"},
    Word{4, &Entry::FirstTone, "FirstTone"},
    Word{6, &Entry::SecondTone, "SecondTone"},
    Text{8, 7, &Entry::Name, "Name"},
};

} // namespace

std::vector<BlockLayout> TwoToneLayouts()
{
    return {DescribeBlock("2-tone header", im::kTwoToneHeader.size, kTwoToneHeader),
            DescribeBlock("2-tone entry", im::kTwoToneEntries.size, kTwoToneEntry)};
}

Result<void> SetCommDataBy2Tone(const TwoToneSettings& t, RadioImage& image)
{
    // Every value fits its bytes.
    (void)EncodeArea(kTwoToneHeader, image, im::kTwoToneHeader, t);
    ImageWriter bitmap(image, im::kTwoToneEmptyBitmap);
    for (int e = 0; e < im::kTwoToneEntries.count; ++e) {
        if (t.Entries[e].Empty == 0)
            bitmap.setMapBit(e, false);
        (void)EncodeArea(kTwoToneEntry, image, im::kTwoToneEntries.entry(e), t.Entries[e]);
    }
    return {};
}

void ParseTwoTone(const RadioImage& image, TwoToneSettings& live)
{
    TwoToneSettings t;
    DecodeArea(kTwoToneHeader, image, im::kTwoToneHeader, t);
    ImageReader bitmap(image, im::kTwoToneEmptyBitmap);
    for (int e = 0; e < im::kTwoToneEntries.count; ++e) {
        t.Entries[e].Empty = bitmap.mapBit(e) ? 1 : 0;
        DecodeArea(kTwoToneEntry, image, im::kTwoToneEntries.entry(e), t.Entries[e]);
    }
    live = t;
}

} // namespace qtx
