#include "image/two_tone_codec.h"

#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

namespace qtx {

namespace im = imagemap;
namespace tt = imagemap::twotone;
using namespace image;
using T = TwoToneSettings;
using Entry = TwoToneEntry;

namespace {

int ZeroAbove14(int b) { return b > 14 ? 0 : b; }

constexpr bool kHighFirst = true;

// Own-code values go low byte first, tones A-D high byte first.
constexpr std::tuple kTwoToneHeader{
    Word{tt::kOwnFirstTone, &T::OwnFirstTone, "OwnFirstTone"},
    Word{tt::kOwnSecondTone, &T::OwnSecondTone, "OwnSecondTone"},
    Word{tt::kOwnFirstDivider, &T::OwnFirstDivider, "OwnFirstDivider"},
    Word{tt::kOwnSecondDivider, &T::OwnSecondDivider, "OwnSecondDivider"},
    Byte{tt::kDecodeResponse, &T::DecodeResponse, "DecodeResponse"},
    Byte{tt::kDuration1, &T::Duration1, "Duration1"},
    Byte{tt::kDuration2, &T::Duration2, "Duration2"},
    Byte{tt::kDuration3, &T::Duration3, "Duration3"},
    Byte{tt::kDelay, &T::Delay, "Delay"},
    Byte{tt::kTimer, &T::Timer, "Timer"},
    Byte{tt::kSideTone, &T::SideTone, "SideTone"},
    Byte{tt::kOwnFormat, &T::OwnFormat, "OwnFormat", 255, nullptr, ZeroAbove14},
    Word{tt::kToneA, &T::ToneA, "ToneA", kHighFirst},
    Word{tt::kToneB, &T::ToneB, "ToneB", kHighFirst},
    Word{tt::kToneC, &T::ToneC, "ToneC", kHighFirst},
    Word{tt::kToneD, &T::ToneD, "ToneD", kHighFirst},
};

// A call entry; whether it is in use lives in the empty-entry bitmap.
constexpr std::tuple kTwoToneEntry{
    Word{tt::kFirstDivider, &Entry::FirstDivider, "FirstDivider"},
    Word{tt::kSecondDivider, &Entry::SecondDivider, "SecondDivider"},
    Word{tt::kFirstTone, &Entry::FirstTone, "FirstTone"},
    Word{tt::kSecondTone, &Entry::SecondTone, "SecondTone"},
    Text{tt::kName, tt::kNameSize, &Entry::Name, "Name"},
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
