#include "files/change_tracking.h"
#include "files/data_file.h"
#include "files/defaults.h"
#include "model/band_plan.h"
#include "model/channel_list.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

using namespace qtx;

namespace {

ChannelRecord FullChannel(int number)
{
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded("014512500");
    ch.Offset.setPadded("000060000");
    ch.Name.setPadded("CHANNEL");
    ch.PttIdCode.setPadded("12345");
    return ch;
}

// Two channels, the settings as a New leaves them, snapshot taken.
Workspace Saved()
{
    Workspace ws;
    ws.live.channels[0] = FullChannel(12);
    ws.live.channels[1] = FullChannel(203);
    ws.live.body.ChannelCount = 2;
    TakeSnapshot(ws);
    return ws;
}

// Every text filled to its last character and every code length at its
// field size, so that every byte of the record means something.
Workspace SavedWithEveryByteInUse()
{
    Workspace ws = Saved();
    CodeplugBody& b = ws.live.body;
    auto fill = [](auto& text, char c) { text.setPadded(std::string(text.size, c)); };
    auto& dtmf = b.Settings.Dtmf;
    for (auto& code : dtmf.Codes) {
        fill(code.Code, '1');
        code.Length = 24;
    }
    for (auto* code : {&dtmf.PttIdBegin, &dtmf.PttIdEnd}) {
        fill(code->Code, '2');
        code->Length = 24;
    }
    for (auto* code : {&dtmf.KillCode, &dtmf.StunCode}) {
        fill(code->Code, '3');
        code->Length = 14;
    }
    for (auto& entry : b.Settings.TwoTone.Entries)
        fill(entry.Name, 'N');
    auto& five = b.Settings.FiveTone;
    fill(five.OwnCode, '4');
    five.OwnIdLength = 6;
    for (auto& info : five.InfoCodes) {
        fill(info.Code, '5');
        info.CodeLength = 12;
        fill(info.Name, 'I');
    }
    auto fillCode = [&](FiveToneCode& code) {
        fill(code.Code, '6');
        code.CodeLength = 40;
        fill(code.Name, 'C');
    };
    fillCode(five.PttIdBegin);
    fillCode(five.PttIdEnd);
    for (auto& code : five.CallList)
        fillCode(code);
    fill(b.Settings.Options.PowerOnMessage, 'W');
    fill(b.Settings.Options.PowerOnPassword, 'P');
    for (auto& entry : b.Book) {
        fill(entry.CallId, '7');
        fill(entry.Name, 'B');
    }
    TakeSnapshot(ws);
    return ws;
}

bool InRange(size_t offset, size_t begin, size_t size) { return offset >= begin && offset < begin + size; }

// Changes the n-th field a field list names, whatever its kind, and says
// which: "CommBook.Index", the innermost named record and the field.
class ChangeNthField {
public:
    explicit ChangeNthField(size_t n) : left_(n) {}

    std::string changed; // empty when the list names fewer fields

    void u8(const char* f, uint8_t& v) { flip(f, v); }
    void i16(const char* f, int16_t& v) { flip(f, v); }
    void u16be(const char* f, uint16_t& v) { flip(f, v); }
    void u16le(const char* f, uint16_t& v) { flip(f, v); }
    void f64(const char* f, double& v)
    {
        if (hit(f))
            v += 1;
    }
    void text(const char* f, uint8_t* bytes, size_t)
    {
        if (hit(f))
            bytes[0] ^= 1;
    }
    void push(const char* f, int) { records_.push_back(f); }
    void pop() { records_.pop_back(); }

private:
    template <class T>
    void flip(const char* f, T& v)
    {
        if (hit(f))
            v ^= 1;
    }
    bool hit(const char* f)
    {
        if (left_-- != 0)
            return false;
        const auto named = std::find_if(records_.rbegin(), records_.rend(), [](auto& r) { return !r.empty(); });
        changed = (named == records_.rend() ? "" : *named + ".") + f;
        return true;
    }

    size_t left_;
    std::vector<std::string> records_;
};

} // namespace

TEST(ChangeTracking, UnchangedAfterSnapshotNewAndSave)
{
    Workspace ws = Saved();
    EXPECT_FALSE(IsModified(ws));
    EXPECT_TRUE(CodeplugEqualsBaseline(ws));
    EXPECT_EQ(FirstDifference(ws), std::nullopt);

    qtx::testing::TempDir dir;
    ws.live.body.Settings.Keys.Keys[0] = 4;
    EXPECT_TRUE(IsModified(ws));
    NewCodeplug(ws, dir.path().string(), {});
    EXPECT_FALSE(IsModified(ws));

    ws.live.body.Settings.Keys.Keys[0] = 4;
    ws.fileName = dir.file("site.dat");
    ASSERT_TRUE(SaveCodeplug(ws).ok());
    EXPECT_FALSE(IsModified(ws));
}

TEST(ChangeTracking, ChannelsAreMatchedByNumber)
{
    Workspace ws = Saved();
    std::swap(ws.live.channels[0], ws.live.channels[1]);
    EXPECT_FALSE(IsModified(ws));

    // Same count, different members.
    ws = Saved();
    ws.live.channels[1] = FullChannel(7);
    EXPECT_EQ(FirstDifference(ws), "channel 203 missing");

    ws = Saved();
    ws.live.channels[ws.live.count()] = FullChannel(7);
    ws.live.body.ChannelCount = 3;
    EXPECT_EQ(FirstDifference(ws), "ChannelCount");

    // A live entry partners one baseline entry only.
    ws = Saved();
    ws.baseline.channels[1] = FullChannel(12);
    ws.live.channels[1] = FullChannel(99);
    EXPECT_TRUE(IsModified(ws));

    // Entries past the count are nobody's business.
    ws = Saved();
    ws.live.channels[5] = FullChannel(40);
    EXPECT_FALSE(IsModified(ws));
}

TEST(ChangeTracking, TextsAreComparedTrimmed)
{
    Workspace ws = Saved();
    ws.baseline.channels[0].Name.setPadded("ABC");
    ws.live.channels[0].Name.setTerminated("ABC");
    EXPECT_FALSE(IsModified(ws));
    ws.live.channels[0].Name.setRaw(std::string("ABC\0XYZ", 7));
    EXPECT_FALSE(IsModified(ws));
    ws.live.channels[0].Name.setPadded("ABD");
    EXPECT_EQ(FirstDifference(ws), "channel 12 Name");

    ws = Saved();
    ws.live.body.Settings.Options.PowerOnMessage.setTerminated("Welcome");
    ws.live.body.Book[9].CallId.setPadded("");
    EXPECT_FALSE(IsModified(ws));
    ws.live.body.Book[9].CallId.setPadded("1");
    EXPECT_EQ(FirstDifference(ws), "comm book entry 9 CallId");

    // The own ID is three digits and compared as stored.
    ws = Saved();
    ws.live.body.Settings.Dtmf.OwnId.setTerminated("00");
    EXPECT_EQ(FirstDifference(ws), "DTMF OwnId");
}

TEST(ChangeTracking, CodesAreComparedOverTheirLength)
{
    Workspace ws = Saved();
    auto& m3 = ws.baseline.body.Settings.Dtmf.Codes[2];
    m3.Code.setPadded("1234");
    m3.Length = 3;
    ws.live.body.Settings.Dtmf.Codes[2] = m3;
    ws.live.body.Settings.Dtmf.Codes[2].Code.setPadded("123999");
    EXPECT_FALSE(IsModified(ws));
    ws.live.body.Settings.Dtmf.Codes[2].Code.setPadded("124");
    EXPECT_EQ(FirstDifference(ws), "DTMF M3 code");
    ws.live.body.Settings.Dtmf.Codes[2] = m3;
    ws.live.body.Settings.Dtmf.Codes[2].Length = 4;
    EXPECT_EQ(FirstDifference(ws), "DTMF M3 code");

    // Length 0: the text does not count at all.
    ws = Saved();
    ws.live.body.Settings.Dtmf.KillCode.Code.setPadded("999");
    ws.live.body.Settings.FiveTone.CallList[4].Code.setPadded("12345");
    ws.live.body.Settings.FiveTone.OwnCode.setPadded("55555");
    EXPECT_FALSE(IsModified(ws));

    ws = Saved();
    auto& call = ws.baseline.body.Settings.FiveTone.CallList[4];
    call.Code.setPadded("12345");
    call.CodeLength = 5;
    ws.live.body.Settings.FiveTone.CallList[4] = call;
    ws.live.body.Settings.FiveTone.CallList[4].Code.setPadded("12345678");
    EXPECT_FALSE(IsModified(ws));
    ws.live.body.Settings.FiveTone.CallList[4].Code.setPadded("12346");
    EXPECT_EQ(FirstDifference(ws), "5-tone call 5 Code");

    ws = Saved();
    ws.baseline.body.Settings.FiveTone.OwnIdLength = 3;
    ws.baseline.body.Settings.FiveTone.OwnCode.setPadded("123");
    ws.live.body.Settings.FiveTone = ws.baseline.body.Settings.FiveTone;
    ws.live.body.Settings.FiveTone.OwnCode.setPadded("12345");
    EXPECT_FALSE(IsModified(ws));
}

TEST(ChangeTracking, DamagedLengthComparesTheWholeCode)
{
    Workspace ws = Saved();
    ws.baseline.body.Settings.Dtmf.StunCode.Length = 99;
    ws.live.body.Settings.Dtmf.StunCode.Length = 99;
    EXPECT_FALSE(IsModified(ws));
    ws.live.body.Settings.Dtmf.StunCode.Code.setPadded("             1");
    EXPECT_EQ(FirstDifference(ws), "DTMF StunCode");
}

TEST(ChangeTracking, BandTypeOfTheProgramAgainstTheBaseline)
{
    Workspace ws = Saved();
    ws.live.body.BandType = 3; // the live copy's own field is not what counts
    EXPECT_FALSE(IsModified(ws));
    ws.bandType = 3;
    EXPECT_EQ(FirstDifference(ws), "BandType");
}

TEST(ChangeTracking, BandChangeRefittingChannelsIsAChange)
{
    Workspace ws = Saved();
    ws.live.body.Band = StandardBand(5);
    ApplyBandToChannels(ws.live);
    EXPECT_EQ(FirstDifference(ws), "band RxLow");
    ws.live.body.Band = ws.baseline.body.Band;
    EXPECT_EQ(FirstDifference(ws), "channel 12 RxFrequency");
}

TEST(ChangeTracking, LimitsThatAreNotNumbersEqualThemselves)
{
    Workspace ws = Saved();
    ws.live.body.Band.TxHigh = std::nan("");
    TakeSnapshot(ws);
    EXPECT_FALSE(IsModified(ws));
}

// Fields an editor or a band change alters and a Save writes, beyond the
// obvious ones: one case each.
struct FieldCase {
    const char* name;
    std::function<void(Codeplug&)> edit;
    const char* expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class NewlyComparedField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NewlyComparedField, EditCounts)
{
    Workspace ws = Saved();
    GetParam().edit(ws.live);
    EXPECT_TRUE(IsModified(ws));
    EXPECT_EQ(FirstDifference(ws), GetParam().expected);
    // Undoing it by hand makes the Codeplug unchanged again.
    CopyCodeplug(ws.baseline, ws.live);
    EXPECT_FALSE(IsModified(ws));
}

INSTANTIATE_TEST_SUITE_P(
    ChangeTracking, NewlyComparedField,
    ::testing::Values(
        FieldCase{"TwoToneOwnFirstTone", [](Codeplug& c) { c.body.Settings.TwoTone.OwnFirstTone = 1000; },
                  "2-tone OwnFirstTone"},
        FieldCase{"TwoToneOwnSecondTone", [](Codeplug& c) { c.body.Settings.TwoTone.OwnSecondTone = 0; },
                  "2-tone OwnSecondTone"},
        FieldCase{"TwoToneA", [](Codeplug& c) { c.body.Settings.TwoTone.ToneA = 1; }, "2-tone ToneA"},
        FieldCase{"TwoToneB", [](Codeplug& c) { c.body.Settings.TwoTone.ToneB = 20438; }, "2-tone ToneB"},
        FieldCase{"TwoToneC", [](Codeplug& c) { c.body.Settings.TwoTone.ToneC = 5000; }, "2-tone ToneC"},
        FieldCase{"TwoToneD", [](Codeplug& c) { c.body.Settings.TwoTone.ToneD = 20438; }, "2-tone ToneD"},
        FieldCase{"TwoToneEntryFirstTone", [](Codeplug& c) { c.body.Settings.TwoTone.Entries[0].FirstTone = 3300; },
                  "2-tone entry 1 FirstTone"},
        FieldCase{"TwoToneEntrySecondTone",
                  [](Codeplug& c) { c.body.Settings.TwoTone.Entries[31].SecondTone = 3300; },
                  "2-tone entry 32 SecondTone"},
        FieldCase{"TwoToneEntryName", [](Codeplug& c) { c.body.Settings.TwoTone.Entries[4].Name.setTerminated("Base"); },
                  "2-tone entry 5 Name"},
        FieldCase{"TwoToneEntryEmpty", [](Codeplug& c) { c.body.Settings.TwoTone.Entries[1].Empty = 0; },
                  "2-tone entry 2 Empty"},
        FieldCase{"FiveToneCallName", [](Codeplug& c) { c.body.Settings.FiveTone.CallList[9].Name.setTerminated("Yard"); },
                  "5-tone call 10 Name"},
        FieldCase{"FiveToneCallEmpty", [](Codeplug& c) { c.body.Settings.FiveTone.CallList[99].Empty = 0; },
                  "5-tone call 100 Empty"},
        FieldCase{"FiveTonePttIdBeginEmpty", [](Codeplug& c) { c.body.Settings.FiveTone.PttIdBegin.Empty = 0; },
                  "5-tone PTT-ID begin Empty"},
        FieldCase{"FiveTonePttIdEndName", [](Codeplug& c) { c.body.Settings.FiveTone.PttIdEnd.Name.setPadded("E"); },
                  "5-tone PTT-ID end Name"},
        FieldCase{"FiveToneUserToneTable", [](Codeplug& c) { c.body.Settings.FiveTone.UserToneTable[15] = 9400; },
                  "5-tone UserToneTable"},
        FieldCase{"DtmfDecodeResponse", [](Codeplug& c) { c.body.Settings.Dtmf.DecodeResponse = 2; },
                  "DTMF DecodeResponse"},
        FieldCase{"BandRxLow", [](Codeplug& c) { c.body.Band.RxLow = 140; }, "band RxLow"},
        FieldCase{"BandRxHigh", [](Codeplug& c) { c.body.Band.RxHigh = 173.9975; }, "band RxHigh"},
        FieldCase{"BandTxLow", [](Codeplug& c) { c.body.Band.TxLow = 144; }, "band TxLow"},
        FieldCase{"BandTxHigh", [](Codeplug& c) { c.body.Band.TxHigh = 146; }, "band TxHigh"}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

// Every byte a Save writes is compared, except those of fields only a radio
// read sets and the comm book's own positions: flipping any other byte of
// the body or of a channel is a change.
TEST(ChangeTracking, EveryStoredByteCounts)
{
    const Workspace saved = SavedWithEveryByteInUse();
    const std::vector<uint8_t> body = EncodeBody(saved.live.body);
    ASSERT_EQ(body.size(), kDataFileSize);
    std::set<size_t> ignored = {0, 1}; // the live BandType; the program's band type counts instead
    for (size_t entry = 0; entry < 128; ++entry) {
        ignored.insert(6874 + 14 * entry);
        ignored.insert(6874 + 14 * entry + 1);
    }
    for (size_t offset = 0; offset < body.size(); ++offset) {
        std::vector<uint8_t> flipped = body;
        flipped[offset] ^= 0x01;
        Workspace ws = saved;
        ASSERT_TRUE(DecodeBody(flipped, ws.live.body));
        EXPECT_EQ(IsModified(ws), !ignored.count(offset)) << "body byte " << offset;
    }

    const std::vector<uint8_t> record = EncodeChannel(saved.live.channels[0]);
    ASSERT_EQ(record.size(), kChannelRecordSize);
    for (size_t offset = 0; offset < record.size(); ++offset) {
        std::vector<uint8_t> flipped = record;
        flipped[offset] ^= 0x01;
        Workspace ws = saved;
        ws.live.channels[0] = DecodeChannel(flipped);
        const bool radioOnly = InRange(offset, 39, 2) || InRange(offset, 55, 2) || InRange(offset, 81, 2) ||
                               InRange(offset, 99, 2); // TxDcsHigh, RxDcsHigh, PttIdFlag, RadioExtra
        EXPECT_EQ(IsModified(ws), !radioOnly) << "channel byte " << offset;
    }
}

// A field added to a record's field list counts without change tracking
// naming it: each listed field changed in turn is a change, except those a
// radio read sets, the comm book's own positions and the live copy's band
// type (the program's counts).
TEST(ChangeTracking, EveryListedFieldCounts)
{
    const Workspace saved = SavedWithEveryByteInUse();
    const std::set<std::string> notCounted = {"body.BandType",     "CommBook.Index",    "channel.TxDcsHigh",
                                              "channel.RxDcsHigh", "channel.PttIdFlag", "channel.RadioExtra"};
    std::set<std::string> seen;
    for (const bool channel : {false, true}) {
        for (size_t n = 0;; ++n) {
            Workspace ws = saved;
            ChangeNthField change(n);
            if (channel)
                field(change, "channel", ws.live.channels[1]);
            else
                field(change, "body", ws.live.body);
            if (change.changed.empty())
                break;
            seen.insert(change.changed);
            EXPECT_EQ(IsModified(ws), !notCounted.count(change.changed)) << "field " << n << ": " << change.changed;
        }
    }
    for (const std::string& name : notCounted)
        EXPECT_TRUE(seen.count(name)) << name;
    // Texts, reals and arrays of numbers were changed too.
    EXPECT_TRUE(seen.count("channel.Name") && seen.count("Band.TxHigh") && seen.count("UserToneTable."));
}

TEST(ChangeTracking, OwnIdIsComparedAsStored)
{
    Workspace ws = Saved();
    ws.baseline.body.Settings.Dtmf.OwnId.setPadded("0");
    ws.live.body.Settings.Dtmf.OwnId.setTerminated("0"); // the same trimmed
    EXPECT_EQ(FirstDifference(ws), "DTMF OwnId");
}
