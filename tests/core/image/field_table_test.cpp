// The field tables: rows stay inside their block and apart from each other,
// every byte a block leaves uncarried is one we know of, and the rows check,
// write and read as their layout says.

#include "image/channel_codec.h"
#include "image/dtmf_codec.h"
#include "image/embedded_info.h"
#include "image/field_table.h"
#include "image/five_tone_codec.h"
#include "image/settings_codec.h"
#include "image/two_tone_codec.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace qtx;
using namespace qtx::image;

namespace {

std::vector<BlockLayout> AllLayouts()
{
    std::vector<BlockLayout> all;
    for (auto part : {ChannelLayouts(), SettingsLayouts(), DtmfLayouts(), TwoToneLayouts(), FiveToneLayouts()})
        all.insert(all.end(), part.begin(), part.end());
    all.push_back(EmbeddedInfoLayout());
    return all;
}

// Byte offsets of a block no row touches.
std::set<int> Uncarried(const BlockLayout& block)
{
    std::set<int> bytes;
    for (int i = 0; i < block.size; ++i)
        bytes.insert(i);
    for (const FieldSpan& f : block.fields)
        for (int bit = 0; bit < f.width; ++bit)
            bytes.erase(f.offset + (f.shift + bit) / 8);
    return bytes;
}

TEST(FieldTables, RowsStayInsideTheirBlockAndApart)
{
    for (const BlockLayout& block : AllLayouts()) {
        SCOPED_TRACE(block.name);
        ASSERT_FALSE(block.fields.empty());
        std::map<int, std::string> owner; // bit index -> row
        for (const FieldSpan& f : block.fields) {
            ASSERT_GT(f.width, 0) << f.name;
            ASSERT_TRUE(f.width % 8 == 0 ? f.shift == 0 : f.shift + f.width <= 8) << f.name;
            const int first = 8 * f.offset + f.shift;
            ASSERT_GE(f.offset, 0) << f.name;
            ASSERT_LE(first + f.width, 8 * block.size) << f.name << " reaches past the block";
            for (int bit = first; bit < first + f.width; ++bit) {
                auto [at, fresh] = owner.emplace(bit, f.name);
                EXPECT_TRUE(fresh) << f.name << " overlaps " << at->second << " at byte " << bit / 8;
            }
        }
    }
}

TEST(FieldTables, OnlyKnownBytesAreLeftUncarried)
{
    // A row dropped from a table shows up here as a byte nobody carries.
    const std::map<std::string, std::set<int>> expected = {
        {"channel entry", {}},
        {"channel PTT-ID code", {}},
        {"band limits", {}},
        {"keys", {}},
        {"scan", {}},
        {"emergency", {7}},
        {"options", {0x04, 0x16, 0x17}},
        {"power-on password", {}},
        {"power-on message", {}},
        {"DTMF header", {0x06, 0x0A, 0x0B, 0x0C}},
        {"DTMF kill code", {}},
        {"DTMF code", {}},
        {"book call ID", {}},
        {"book name", {}},
        {"2-tone header", {}},
        {"2-tone entry", {}},
        {"5-tone header", {0x0A}},
        {"5-tone user tones", {}},
        {"5-tone PTT-ID code", {0}},
        {"5-tone call entry", {0}},
        {"5-tone information code", {0x0F}},
        {"embedded information", {0, 1, 2, 3, 4, 5, 6, 7, 8, 0x0D, 0x0E, 0x0F, 0x3C, 0x3D, 0x3E, 0x3F}},
    };
    const auto all = AllLayouts();
    EXPECT_EQ(all.size(), expected.size());
    for (const BlockLayout& block : all) {
        const auto it = expected.find(block.name);
        ASSERT_NE(it, expected.end()) << block.name;
        EXPECT_EQ(Uncarried(block), it->second) << block.name;
    }
}

// A small record to drive the rows themselves.
struct Sample {
    int16_t Level = 0;
    int16_t Mode = 0;
    int16_t On = 0;
    int16_t Answer = 0;
    FixedText<4> Label;
};

int ZeroAboveTwo(int v) { return v > 2 ? 0 : v; }

constexpr std::tuple kSample{
    Byte{0, &Sample::Level, "Level", 200},
    Bits{1, 0, 3, &Sample::Mode, "Mode"},
    Flag{1, 3, &Sample::On, "On"},
    Fixed{1, 4, 4, 0x5},
    Byte{2, &Sample::Answer, "Answer", 255, ZeroAboveTwo, ZeroAboveTwo, true},
    Text{3, 4, &Sample::Label, "Label"},
};

class SampleBlock : public ::testing::Test {
protected:
    RadioImage image{};
    imagemap::Area area{0x100, 7};
    ImageWriter w{image, area};
};

TEST_F(SampleBlock, ABadValueNamesTheFirstBadRowAndWritesNothing)
{
    Sample s;
    s.Level = 201;
    s.Mode = 8;
    EXPECT_EQ(EncodeFields(kSample, w, s), "Level 201 is outside 0-200");
    s.Level = 200;
    EXPECT_EQ(EncodeFields(kSample, w, s), "Mode 8 is outside 0-7");
    s.Mode = 7;
    s.On = 2;
    EXPECT_EQ(EncodeFields(kSample, w, s), "On 2 is neither 0 nor 1");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(w.byte(i), 0) << i;
}

TEST_F(SampleBlock, RowsSharingAByteKeepToTheirBits)
{
    w.setByte(1, 0xFF);
    Sample s;
    s.Level = 9;
    s.Mode = 2;
    s.On = 0;
    s.Answer = 5; // sent as 0
    s.Label.setTerminated("AB");
    ASSERT_FALSE(EncodeFields(kSample, w, s));
    EXPECT_EQ(w.byte(0), 9);
    EXPECT_EQ(w.byte(1), 0x52); // fixed 0101, flag 0, mode 010
    EXPECT_EQ(w.byte(2), 0);
    EXPECT_EQ(w.chars(3, 4), std::string("AB  "));

    Sample back;
    DecodeFields(kSample, w, back);
    EXPECT_EQ(back.Level, 9);
    EXPECT_EQ(back.Mode, 2);
    EXPECT_EQ(back.On, 0);
    EXPECT_EQ(back.Label.trimmed(), "AB");
}

TEST_F(SampleBlock, RepairsReachTheImageOnlyThroughAWriter)
{
    w.setByte(2, 9);
    Sample s;
    const ImageReader r(image, area);
    DecodeFields(kSample, r, s);
    EXPECT_EQ(s.Answer, 0);
    EXPECT_EQ(image[0x102], 9);
    DecodeFields(kSample, w, s);
    EXPECT_EQ(image[0x102], 0);
}

} // namespace
