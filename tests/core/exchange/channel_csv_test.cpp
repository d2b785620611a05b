// Channel lists in the exchange form: a list written by another programmer
// reads into the expected channels with one finding per odd cell; export
// and import give back what was exported; unusable files are refused
// cleanly; applying replaces or merges in one step and keeps what the list
// cannot carry.

#include "exchange/channel_csv.h"

#include "convert/frequency.h"
#include "model/band_plan.h"
#include "model/channel_list.h"

#include "support/random_codeplug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qtx;

namespace {

const std::string kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
    "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

ChannelCsvImport readOk(const std::string& text, const BandPlan& band = BandPlan{})
{
    auto r = ReadChannelCsv(text, band);
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error().detail);
    return r.ok() ? r.value() : ChannelCsvImport{};
}

const ChannelRecord* channel(const ChannelCsvImport& in, int number)
{
    for (const auto& c : in.channels)
        if (c.record.Number == number)
            return &c.record;
    return nullptr;
}

std::string rx(const ChannelRecord& ch) { return ch.RxFrequency.str(); }
std::string offset(const ChannelRecord& ch) { return ch.Offset.str(); }

TEST(ChannelCsvRead, MixedListFromAnotherProgrammer)
{
    const std::string text = kHeader +
        "0,SIMPLEX,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,calling,,,,\r\n"
        "1,RPT+,147.300000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "2,RPT-,146.940000,-,0.600000,TSQL,88.5,123.0,023,NN,023,Tone->Tone,FM,5.00,,Mid,,,,,\r\n"
        "3,SPLIT,145.500000,split,150.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "4,DCSNR,151.625000,,0.000000,DTCS,88.5,88.5,754,NR,754,Tone->Tone,FM,12.50,,High,,,,,\r\n"
        "5,DCSRN,151.700000,,0.000000,DTCS,88.5,88.5,125,RN,125,Tone->Tone,FM,12.50,,High,,,,,\r\n"
        "6,CROSS,152.000000,,0.000000,Cross,77.0,88.5,023,NN,445,Tone->DTCS,FM,12.50,,High,,,,,\r\n"
        "7,NARROW,153.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,12.50,,Low,,,,,\r\n"
        "8,SKIPPED,154.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,25.00,S,High,,,,,\r\n"
        "9,STEP625,155.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\r\n"
        "10,\xE5\x8C\x97\xE4\xBA\xAC\xE7\xAB\x99,156.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "11,OUTBAND,446.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,High,,,,,\r\n"
        "250,TOOFAR,146.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "12,\"Rpt,W\",147.120000,+,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\"a, b\",,,,\r\n";
    const ChannelCsvImport in = readOk(text);
    EXPECT_EQ(in.rows, 14);
    ASSERT_EQ(in.channels.size(), 13u);

    const ChannelRecord& simplex = *channel(in, 1);
    EXPECT_EQ(rx(simplex), "014652000");
    EXPECT_EQ(simplex.ShiftDirection, 0);
    EXPECT_EQ(simplex.Name.trimmed(), "SIMPLEX");
    EXPECT_EQ(simplex.Step, 1);
    EXPECT_EQ(simplex.TxToneType + simplex.RxToneType, 0);

    const ChannelRecord& plus = *channel(in, 2);
    EXPECT_EQ(plus.ShiftDirection, 2);
    EXPECT_EQ(offset(plus), "000060000");
    EXPECT_EQ(plus.TxToneType, 1);
    EXPECT_EQ(plus.TxCtcss, 13); // 100.0
    EXPECT_EQ(plus.RxToneType, 0);

    const ChannelRecord& minus = *channel(in, 3);
    EXPECT_EQ(minus.ShiftDirection, 1);
    EXPECT_EQ(offset(minus), "000060000");
    EXPECT_EQ(minus.TxToneType, 1);
    EXPECT_EQ(minus.RxToneType, 1);
    EXPECT_EQ(minus.TxCtcss, 19); // 123.0, TSQL on both sides
    EXPECT_EQ(minus.RxCtcss, 19);
    EXPECT_EQ(minus.TxPower, 1);

    const ChannelRecord& split = *channel(in, 4);
    EXPECT_EQ(split.ShiftDirection, 2);
    EXPECT_EQ(offset(split), "000450000");

    const ChannelRecord& nr = *channel(in, 5);
    EXPECT_EQ(nr.TxToneType, 2);
    EXPECT_EQ(nr.RxToneType, 2);
    EXPECT_EQ(nr.TxDcsCode, 0754);
    EXPECT_EQ(nr.RxDcsCode, 0754);
    EXPECT_EQ(nr.TxDcsInverted, 0);
    EXPECT_EQ(nr.RxDcsInverted, 1);
    const ChannelRecord& rn = *channel(in, 6);
    EXPECT_EQ(rn.TxDcsInverted, 1);
    EXPECT_EQ(rn.RxDcsInverted, 0);

    const ChannelRecord& cross = *channel(in, 7);
    EXPECT_EQ(cross.TxToneType, 1);
    EXPECT_EQ(cross.TxCtcss, 5); // 77.0
    EXPECT_EQ(cross.RxToneType, 2);
    EXPECT_EQ(cross.RxDcsCode, 0445);

    EXPECT_EQ(channel(in, 8)->Bandwidth, 2);
    EXPECT_EQ(channel(in, 8)->TxPower, 2);
    EXPECT_EQ(channel(in, 9)->ScanSkip, 1);
    EXPECT_EQ(channel(in, 9)->Step, 7);
    EXPECT_EQ(channel(in, 10)->Step, 2);
    EXPECT_EQ(rx(*channel(in, 10)), "015500625");
    EXPECT_EQ(channel(in, 11)->Name.trimmed(), "???");
    EXPECT_EQ(rx(*channel(in, 12)), "017400000");
    EXPECT_EQ(channel(in, 13)->Name.trimmed(), "Rpt,W");
    EXPECT_EQ(channel(in, 251), nullptr);

    const std::vector<CsvFinding> expected{
        {12, "Name", CsvFindingKind::NameReplaced, "\xE5\x8C\x97\xE4\xBA\xAC\xE7\xAB\x99", "???"},
        {13, "Frequency", CsvFindingKind::FrequencyFitted, "446.000000", "174.00000"},
        {14, "Location", CsvFindingKind::LocationInvalid, "250", ""},
    };
    EXPECT_EQ(in.findings, expected);
}

struct OddCell {
    std::vector<std::pair<std::string, std::string>> cells; // column name, value; Name A, Frequency 146.5 otherwise
    CsvFindingKind kind;
    const char* column;
    const char* result;
};

std::string rowOf(const std::vector<std::pair<std::string, std::string>>& cells)
{
    std::vector<std::string> fields(kChannelCsvColumns.size());
    fields[0] = "7";
    fields[1] = "A";
    fields[2] = "146.5";
    for (const auto& [name, value] : cells)
        for (size_t i = 0; i < kChannelCsvColumns.size(); ++i)
            if (kChannelCsvColumns[i] == name)
                fields[i] = value;
    std::string row;
    for (const auto& f : fields)
        row += (row.empty() ? "" : ",") + f;
    return row + "\n";
}

TEST(ChannelCsvRead, EachOddCellGivesOneFindingAndASafeValue)
{
    using K = CsvFindingKind;
    const OddCell cases[] = {
        {{{"Duplex", "+-"}, {"Offset", "0.6"}}, K::DuplexUnknown, "Duplex", ""},
        {{{"Duplex", "+"}, {"Offset", "abc"}}, K::OffsetInvalid, "Offset", ""},
        {{{"Tone", "TSQL-R"}, {"cToneFreq", "88.5"}}, K::ToneModeUnknown, "Tone", ""},
        {{{"Tone", "Cross"}, {"CrossMode", "Tone-DTCS"}, {"rToneFreq", "88.5"}}, K::CrossModeUnknown, "CrossMode", ""},
        {{{"Tone", "Tone"}, {"rToneFreq", "150.0"}}, K::ToneNotInTable, "rToneFreq", ""},
        {{{"Tone", "DTCS"}, {"DtcsCode", "018"}}, K::DcsNotInList, "DtcsCode", ""},
        {{{"Tone", "DTCS"}, {"DtcsCode", "023"}, {"DtcsPolarity", "XY"}}, K::PolarityUnknown, "DtcsPolarity", "NN"},
        {{{"Mode", "AM"}}, K::ModeUnknown, "Mode", "FM"},
        {{{"TStep", "7.5"}}, K::StepNearest, "TStep", "8.33"},
        {{{"Skip", "P"}}, K::SkipUnknown, "Skip", ""},
        {{{"Power", "5.0W"}}, K::PowerNearest, "Power", "Low"},
        {{{"Power", "Med"}}, K::PowerNearest, "Power", "Mid"},
        {{{"Name", "ABCDEFGHIJ"}}, K::NameCut, "Name", "ABCDEFG"},
        {{{"Frequency", "146.5213"}}, K::FrequencyFitted, "Frequency", "146.52000"},
        {{{"Frequency", "146.52"}, {"Duplex", "+"}, {"Offset", "60"}}, K::TransmitFitted, "Offset", "174.00000"},
        {{{"Frequency", ""}}, K::FrequencyInvalid, "Frequency", ""},
        {{{"Frequency", "14x6"}}, K::FrequencyInvalid, "Frequency", ""},
    };
    std::string header;
    for (const auto& name : kChannelCsvColumns)
        header += (header.empty() ? "" : ",") + std::string(name);
    header += "\n";
    for (const OddCell& c : cases) {
        const std::string row = rowOf(c.cells);
        SCOPED_TRACE(row);
        const ChannelCsvImport in = readOk(header + row);
        ASSERT_EQ(in.findings.size(), 1u);
        const CsvFinding& f = in.findings[0];
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_EQ(f.column, c.column);
        EXPECT_EQ(f.result, c.result);
        EXPECT_EQ(f.line, 2);
        if (f.skipsRow()) {
            EXPECT_TRUE(in.channels.empty());
            continue;
        }
        ASSERT_EQ(in.channels.size(), 1u);
        const ChannelRecord& ch = in.channels[0].record;
        // What stays is always something the radio takes.
        EXPECT_TRUE(ch.TxToneType == 0 || (ch.TxToneType == 1 && ch.TxCtcss < kCtcssCount) ||
                    (ch.TxToneType == 2 && ch.TxDcsCode < kDcsCodeCount));
        if (c.kind == CsvFindingKind::DuplexUnknown || c.kind == CsvFindingKind::OffsetInvalid) {
            EXPECT_EQ(ch.ShiftDirection, 0);
        }
        if (c.kind == CsvFindingKind::ToneNotInTable || c.kind == CsvFindingKind::DcsNotInList ||
            c.kind == CsvFindingKind::ToneModeUnknown || c.kind == CsvFindingKind::CrossModeUnknown) {
            EXPECT_EQ(ch.TxToneType + ch.RxToneType, 0);
        }
        if (c.kind == CsvFindingKind::PolarityUnknown) {
            EXPECT_EQ(ch.TxDcsInverted + ch.RxDcsInverted, 0);
        }
    }
}

TEST(ChannelCsvRead, ColumnsByNameAndRepeatedLocations)
{
    // Reordered, lower-case and unknown columns; Duplex "off" inhibits.
    const ChannelCsvImport in = readOk("\xEF\xBB\xBF" "frequency,Extra,location,Duplex\n"
                                       "145.5,x,3,off\n"
                                       "146.5,y,3,\n"
                                       "147.5,z,4,\n");
    ASSERT_EQ(in.channels.size(), 2u);
    EXPECT_EQ(in.channels[0].record.Number, 4);
    EXPECT_EQ(in.channels[0].record.TxInhibit, 1);
    EXPECT_TRUE(in.channels[0].keepsShift);
    EXPECT_EQ(rx(in.channels[0].record), "014550000");
    ASSERT_EQ(in.findings.size(), 1u);
    EXPECT_EQ(in.findings[0].kind, CsvFindingKind::LocationRepeated);
    EXPECT_EQ(in.findings[0].line, 3);
    EXPECT_EQ(in.findings[0].result, "2"); // the line that has it
}

TEST(ChannelCsvRead, NamesTheRadioCannotShow)
{
    EXPECT_EQ(FitChannelName("Z\xC3\xBC" "rich").name, "Zurich"); // accents dropped
    EXPECT_TRUE(FitChannelName("Z\xC3\xBC" "rich").replaced);
    EXPECT_EQ(FitChannelName("a\\b~c").name, "a?b?c");
    EXPECT_EQ(FitChannelName("ABC   ").name, "ABC");
    EXPECT_FALSE(FitChannelName("ABC   ").cut);
    const NameFit longOne = FitChannelName("ABCDEFG\xE5\x8C\x97");
    EXPECT_EQ(longOne.name, "ABCDEFG");
    EXPECT_TRUE(longOne.cut);
    EXPECT_FALSE(longOne.replaced); // the character that could not be shown was cut anyway
}

TEST(ChannelCsvRead, UnusableFilesAreRefusedWithAReason)
{
    const BandPlan band;
    const std::string binary("\x00\x01\x02garbage\xFF", 11);
    for (const std::string& text : {std::string(), std::string("\r\n\r\n"), binary,
                                    std::string("just some text\nwithout the columns\n"),
                                    kHeader + "0,\"never closed,146.5\n1,B,147\n"}) {
        auto r = ReadChannelCsv(text, band);
        ASSERT_FALSE(r.ok()) << text;
        EXPECT_EQ(r.error().message, "7513");
        EXPECT_FALSE(r.error().detail.empty());
    }
    // A header alone is a list without channels, not an error.
    const ChannelCsvImport empty = readOk(kHeader);
    EXPECT_TRUE(empty.channels.empty());
    EXPECT_TRUE(empty.findings.empty());
    // Not UTF-8: read as Latin-1 and said so once.
    const ChannelCsvImport latin = readOk("Location,Name,Frequency\n0,Caf\xE9,146.5\n");
    ASSERT_EQ(latin.channels.size(), 1u);
    EXPECT_EQ(latin.channels[0].record.Name.trimmed(), "Cafe");
    ASSERT_EQ(latin.findings.size(), 2u);
    EXPECT_EQ(latin.findings[0].kind, CsvFindingKind::NotUtf8);
    EXPECT_EQ(latin.findings[1].kind, CsvFindingKind::NameReplaced);
}

TEST(ChannelCsvRead, TenMegabytesStayBounded)
{
    // Every location many times over: 200 channels, the findings capped.
    std::string text = kHeader;
    int rows = 0;
    while (text.size() < 10u * 1024 * 1024) {
        text += std::to_string(rows % 200) + ",NAME,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n";
        ++rows;
    }
    const ChannelCsvImport in = readOk(text);
    EXPECT_EQ(in.rows, rows);
    EXPECT_EQ(in.channels.size(), 200u);
    EXPECT_EQ(static_cast<int>(in.findings.size()), kMaxCsvFindings);
    EXPECT_EQ(in.omittedFindings, rows - 200 - kMaxCsvFindings);

    // One enormous name.
    const ChannelCsvImport huge = readOk("Location,Name,Frequency\n0," + std::string(10u * 1024 * 1024, 'N') + ",146.5\n");
    ASSERT_EQ(huge.channels.size(), 1u);
    EXPECT_EQ(huge.channels[0].record.Name.trimmed(), "NNNNNNN");
}

TEST(ChannelCsvFile, OnlyRegularFilesAreRead)
{
    auto dir = ReadChannelCsvFile("/", BandPlan{});
    ASSERT_FALSE(dir.ok());
    auto device = ReadChannelCsvFile("/dev/zero", BandPlan{});
    ASSERT_FALSE(device.ok());
    EXPECT_NE(device.error().detail.find("character device, not a channel list"), std::string::npos);
    EXPECT_FALSE(ReadChannelCsvFile("/nonexistent/list.csv", BandPlan{}).ok());
}

// --- Round trip ----------------------------------------------------------------

// The fields the list carries, for channels as the editor leaves them.
void expectMappedFieldsEqual(const ChannelRecord& a, const ChannelRecord& b)
{
    EXPECT_EQ(a.Number, b.Number);
    EXPECT_EQ(a.InUse, b.InUse);
    EXPECT_EQ(a.RxFrequency, b.RxFrequency);
    EXPECT_EQ(a.Name.trimmed(), b.Name.trimmed());
    EXPECT_EQ(a.Step, b.Step);
    EXPECT_EQ(a.TxInhibit, b.TxInhibit);
    if (!a.TxInhibit) {
        EXPECT_EQ(a.ShiftDirection, b.ShiftDirection);
        EXPECT_EQ(a.Offset, b.Offset);
    }
    EXPECT_EQ(a.Bandwidth == 2, b.Bandwidth == 2);
    EXPECT_EQ(a.TxPower, b.TxPower);
    EXPECT_EQ(a.ScanSkip, b.ScanSkip);
    EXPECT_EQ(a.TxToneType, b.TxToneType);
    EXPECT_EQ(a.RxToneType, b.RxToneType);
    if (a.TxToneType == 1) {
        EXPECT_EQ(a.TxCtcss, b.TxCtcss);
    }
    if (a.RxToneType == 1) {
        EXPECT_EQ(a.RxCtcss, b.RxCtcss);
    }
    if (a.TxToneType == 2) {
        EXPECT_EQ(a.TxDcsCode, b.TxDcsCode);
        EXPECT_EQ(a.TxDcsInverted, b.TxDcsInverted);
    }
    if (a.RxToneType == 2) {
        EXPECT_EQ(a.RxDcsCode, b.RxDcsCode);
        EXPECT_EQ(a.RxDcsInverted, b.RxDcsInverted);
    }
}

// A random Codeplug whose channels are what the editor can store: inside
// the band, names of characters the radio shows.
Codeplug editorLikeCodeplug(uint32_t seed)
{
    qtx::testing::CodeplugGenerator gen(seed);
    Codeplug cp = gen.make();
    cp.body.Band = StandardBand(gen.range(1, 5));
    ApplyBandToChannels(cp);
    for (int i = 0; i < cp.count(); ++i) {
        ChannelRecord& ch = cp.channels[i];
        std::string name = gen.pick("ABCXYZ abc019-+/,\"=", gen.range(0, 7));
        while (!name.empty() && name.back() == ' ')
            name.pop_back(); // trailing blanks are padding
        ch.Name.setTerminated(name);
    }
    return cp;
}

TEST(ChannelCsvRoundTrip, ExportThenImportGivesBackEveryMappedField)
{
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        const Codeplug original = editorLikeCodeplug(seed);
        const ChannelCsvExport exported = WriteChannelCsv(original);
        EXPECT_TRUE(exported.leftOut.empty());
        const ChannelCsvImport in = readOk(exported.text, original.body.Band);
        EXPECT_TRUE(in.findings.empty()) << FindingText(in.findings[0], {}) << " line " << in.findings[0].line;
        EXPECT_EQ(static_cast<int>(in.channels.size()), exported.channels);

        // Replacing all: every memory channel comes back with its mapped fields.
        Codeplug replaced = original;
        ApplyChannelImport(replaced, in, ChannelImportMode::ReplaceAll, original.body.Band);
        int memory = 0;
        for (int i = 0; i < original.count(); ++i) {
            const ChannelRecord& was = original.channels[i];
            const auto pos = FindChannel(replaced, was.Number);
            ASSERT_TRUE(pos.has_value()) << was.Number;
            if (was.Number <= kMemoryChannels) {
                ++memory;
                expectMappedFieldsEqual(was, replaced.channels[*pos]);
            } else {
                EXPECT_EQ(was, replaced.channels[*pos]); // PA, PB, VFO untouched
            }
        }
        EXPECT_EQ(exported.channels, memory);
        EXPECT_EQ(replaced.count(), original.count());

        // Merging into the same Codeplug changes nothing but squelch modes
        // the new tones no longer offer.
        Codeplug merged = original;
        ApplyChannelImport(merged, in, ChannelImportMode::Merge, original.body.Band);
        ASSERT_EQ(merged.count(), original.count());
        for (int i = 0; i < original.count(); ++i) {
            ChannelRecord a = original.channels[i];
            ChannelRecord b = merged.channels[i];
            a.SquelchMode = b.SquelchMode = 0;
            a.Name.setTerminated(a.Name.trimmed());
            b.Name.setTerminated(b.Name.trimmed());
            EXPECT_EQ(a, b) << "channel " << a.Number;
        }
    }
}

// --- Applying ------------------------------------------------------------------

Codeplug withChannels(std::initializer_list<int> numbers)
{
    Codeplug cp;
    for (int n : numbers) {
        ChannelRecord ch = BlankChannel(n);
        ch.InUse = 1;
        ch.RxFrequency.setPadded("015000000");
        ch.Name.setTerminated("OLD" + std::to_string(n));
        cp.channels[cp.count()] = ch;
        ++cp.body.ChannelCount;
    }
    return cp;
}

TEST(ChannelCsvApply, ReplaceAllAndMergeDifferOnlyInWhatStays)
{
    const ChannelCsvImport in = readOk("Location,Name,Frequency\n4,NEW5,145.5\n9,NEW10,146.5\n");
    Codeplug cp = withChannels({1, 5, 7, kChannelVfo});
    cp.body.Settings.Scan.Priority1Channel = 7;
    cp.body.Settings.Emergency.EmergencyChannel = 5;

    const ChannelImportPlan mergePlan = PlanChannelImport(cp, in, ChannelImportMode::Merge);
    EXPECT_EQ(mergePlan.added, std::vector<int>{10});
    EXPECT_EQ(mergePlan.replaced, std::vector<int>{5});
    EXPECT_TRUE(mergePlan.removed.empty());
    const ChannelImportPlan replacePlan = PlanChannelImport(cp, in, ChannelImportMode::ReplaceAll);
    EXPECT_EQ(replacePlan.removed, (std::vector<int>{1, 7}));

    Codeplug merged = cp;
    ApplyChannelImport(merged, in, ChannelImportMode::Merge, BandPlan{});
    EXPECT_EQ(merged.count(), 5);
    EXPECT_EQ(merged.channels[*FindChannel(merged, 1)].Name.trimmed(), "OLD1");
    EXPECT_EQ(merged.channels[*FindChannel(merged, 5)].Name.trimmed(), "NEW5");
    EXPECT_EQ(merged.channels[*FindChannel(merged, 10)].Name.trimmed(), "NEW10");
    EXPECT_EQ(merged.body.Settings.Scan.Priority1Channel, 7);

    Codeplug replaced = cp;
    ApplyChannelImport(replaced, in, ChannelImportMode::ReplaceAll, BandPlan{});
    EXPECT_EQ(replaced.count(), 3); // 5, 10 and the VFO
    EXPECT_FALSE(FindChannel(replaced, 1));
    EXPECT_FALSE(FindChannel(replaced, 7));
    EXPECT_TRUE(FindChannel(replaced, kChannelVfo));
    // The scan priority pointed at channel 7, which is gone.
    EXPECT_NE(replaced.body.Settings.Scan.Priority1Channel, 7);
    EXPECT_TRUE(ChannelExists(replaced, replaced.body.Settings.Scan.Priority1Channel) ||
                replaced.body.Settings.Scan.Priority1Channel == 0);
}

TEST(ChannelCsvApply, MergeKeepsWhatTheListCannotCarry)
{
    Codeplug cp = withChannels({3});
    ChannelRecord& old = cp.channels[0];
    old.Bandwidth = 1;        // 20 kHz, which the list calls FM
    old.ShiftDirection = 2;   // +0.6 MHz, transmit inhibited below
    old.Offset.setPadded("000060000");
    old.OptionalSignal = 1;   // DTMF, which the list does not carry
    old.DtmfCode = 4;
    old.Compander = 1;
    old.RxToneType = 1;
    old.SquelchMode = 4;      // tone and signalling

    const ChannelCsvImport in = readOk("Location,Frequency,Duplex,Mode,Tone\n2,150.0,off,FM,\n");
    ApplyChannelImport(cp, in, ChannelImportMode::Merge, BandPlan{});
    const ChannelRecord& ch = cp.channels[*FindChannel(cp, 3)];
    EXPECT_EQ(ch.RxFrequency.str(), "015000000");
    EXPECT_EQ(ch.TxInhibit, 1);
    EXPECT_EQ(ch.ShiftDirection, 2);
    EXPECT_EQ(ch.Offset.str(), "000060000");
    EXPECT_EQ(ch.Bandwidth, 1);
    EXPECT_EQ(ch.OptionalSignal, 1);
    EXPECT_EQ(ch.DtmfCode, 4);
    EXPECT_EQ(ch.Compander, 1);
    // No tones now: of the squelch modes only those without a tone remain.
    EXPECT_EQ(ch.RxToneType, 0);
    EXPECT_EQ(ch.SquelchMode, 0);

    // Replacing all builds the channel afresh.
    Codeplug fresh = withChannels({3});
    fresh.channels[0].Compander = 1;
    ApplyChannelImport(fresh, in, ChannelImportMode::ReplaceAll, BandPlan{});
    EXPECT_EQ(fresh.channels[*FindChannel(fresh, 3)].Compander, 0);
    EXPECT_EQ(fresh.channels[*FindChannel(fresh, 3)].ShiftDirection, 0);
}

TEST(ChannelCsvWrite, ColumnsOfTheExchangeForm)
{
    Codeplug cp = withChannels({1, 2});
    ChannelRecord& a = cp.channels[0];
    a.Name.setTerminated("A,\"B\"");
    a.ShiftDirection = 1;
    a.Offset.setPadded("000060000");
    a.TxToneType = 2;
    a.TxDcsCode = 023;
    a.TxDcsInverted = 1;
    a.RxToneType = 0;
    a.Bandwidth = 1;
    a.Step = 3;
    a.ScanSkip = 1;
    a.TxPower = 3; // shown as the lowest level
    cp.channels[1].RxFrequency.setPadded("FFFFFFFFF");
    const ChannelCsvExport out = WriteChannelCsv(cp);
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.leftOut, std::vector<int>{2});
    EXPECT_EQ(out.text, kHeader + "0,\"A,\"\"B\"\"\",150.000000,-,0.600000,Cross,88.5,88.5,023,RN,023,DTCS->,FM,8.33,S,"
                                  "Low,,,,,\r\n");
}

TEST(ChannelCsvWords, FindingsReadFromTheLanguageTable)
{
    const CsvFinding f{5, "TStep", CsvFindingKind::StepNearest, "7.5", "8.33"};
    const auto table = [](int id) { return id == 7535 ? std::string("Step %1 kHz: %2 kHz taken") : std::string(); };
    EXPECT_EQ(FindingText(f, table), "Step 7.5 kHz: 8.33 kHz taken");
    // A value holding "%2" is not expanded a second time.
    const CsvFinding tricky{5, "TStep", CsvFindingKind::StepNearest, "%2", "8.33"};
    EXPECT_EQ(FindingText(tricky, table), "Step %2 kHz: 8.33 kHz taken");
    EXPECT_EQ(FindingText(f, {}), "\"7.5\" -> \"8.33\"");
    // Every kind has its own text, within the block kept for these texts.
    std::vector<int> ids;
    for (int k = 0; k <= static_cast<int>(CsvFindingKind::NotUtf8); ++k)
        ids.push_back(FindingTextId(static_cast<CsvFindingKind>(k)));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_GE(ids.front(), 7500);
    EXPECT_LE(ids.back(), 7539);
}

} // namespace
