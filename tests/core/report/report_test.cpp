#include "report/report.h"

#include "files/defaults.h"
#include "forms/five_tone_standards.h"
#include "forms/two_tone_form.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "view/main_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace qtx;

namespace {

std::string programDir()
{
    const char* dir = std::getenv("QTX_PROGRAM_DIR");
    return dir ? dir : "";
}

ChannelRecord channel(int number, const char* rx, const char* name)
{
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rx);
    ch.Name.setTerminated(name);
    return ch;
}

void put(Codeplug& cp, const ChannelRecord& ch)
{
    PasteChannel(cp, ch.Number, ChannelClipboard{ch});
}

// The defaults plus channel 0 (145.000, -0.6 MHz, DCS 023N, "BASE"), 199 and
// PA, book entry 0 (123, BOB) and DTMF M1. The list holds them out of grid
// order: VFO first, then PA, 199, 0.
Codeplug knownCodeplug()
{
    Workspace ws;
    NewCodeplug(ws, "/nonexistent", {});
    Codeplug cp = ws.live;
    put(cp, channel(kChannelPA, "014650000", "PA"));
    put(cp, channel(200, "017000000", "LAST"));
    ChannelRecord base = channel(1, "014500000", "BASE");
    base.Offset.setPadded("000060000");
    base.ShiftDirection = 1;
    base.RxToneType = 2;
    base.RxDcsCode = 023;
    base.TxToneType = 2;
    base.TxDcsCode = 023;
    base.ScanSkip = 1;
    put(cp, base);
    cp.body.Book[0].CallId.setTerminated("123");
    cp.body.Book[0].Name.setTerminated("BOB");
    cp.body.Settings.Dtmf.Codes[0].Code.setPadded("12E");
    cp.body.Settings.Dtmf.Codes[0].Length = 3;
    return cp;
}

class ReportModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (programDir().empty())
            GTEST_FAIL() << "QTX_PROGRAM_DIR is not set (run the tests through ctest)";
        en.SetPath(LanguageFilePath(programDir(), kLanguageEnglish));
        zh.SetPath(LanguageFilePath(programDir(), kLanguageChinese));
        facts.fileName = "/home/user/radios/truck.dat";
        facts.modelLabel = "QM-5210";
        facts.dateTime = "2026-12-10 09:30";
    }

    Report build(std::initializer_list<ReportSection> chosen, const EmbeddedInfo* info = nullptr,
                 const LanguageTable* table = nullptr, int language = kLanguageEnglish) const
    {
        const std::vector<ReportSection> list(chosen);
        return BuildPrintReport(cp, info, list, table ? *table : en, language, facts);
    }

    static std::vector<ReportSection> sectionsOf(const Report& r)
    {
        std::vector<ReportSection> out;
        for (const ReportPart& p : r.parts)
            out.push_back(p.section);
        return out;
    }

    // Every text the report holds, for "never printed" checks.
    static std::string everything(const Report& r)
    {
        std::string all = r.title + r.fileLine + r.modelLine + r.dateLine;
        for (const ReportPart& p : r.parts)
            for (const ReportBlock& b : p.blocks) {
                all += b.caption + b.note;
                for (const auto& row : b.table.rows)
                    for (const std::string& cell : row)
                        all += cell + "|";
            }
        return all;
    }

    Codeplug cp = knownCodeplug();
    LanguageTable en, zh;
    ReportFacts facts;
};

} // namespace

TEST_F(ReportModel, ChannelRowsFollowTheGridOrderAndCells)
{
    const Report r = build({ReportSection::Channels});
    ASSERT_EQ(r.parts.size(), 1u);
    ASSERT_EQ(r.parts[0].blocks.size(), 1u);
    const ReportTable& t = r.parts[0].blocks[0].table;
    const TextLookupFn text = [this](int id) { return en.TextLookup(id); };

    // The grid's headings without hidden column 6, then scan skip and TX inhibit.
    ASSERT_EQ(t.headings.size(), 12u);
    EXPECT_EQ(t.headings[5], GridColumnHeading(5, text));
    EXPECT_EQ(t.headings[6], GridColumnHeading(7, text));
    EXPECT_EQ(t.headings[10], en.TextLookup(1111));
    EXPECT_EQ(t.headings[11], en.TextLookup(1105));

    const std::vector<int> gridOrder{1, 200, kChannelPA, kChannelVfo};
    ASSERT_EQ(t.rows.size(), gridOrder.size());
    for (size_t i = 0; i < gridOrder.size(); ++i) {
        const ChannelRecord& ch = cp.channels[static_cast<size_t>(*FindChannel(cp, gridOrder[i]))];
        const ChannelCells cells = GridChannelCells(ch, cp.body.Band, text);
        std::vector<std::string> expected;
        for (int c = 0; c <= 10; ++c)
            if (c != 6)
                expected.push_back(cells.cells[static_cast<size_t>(c)]);
        expected.push_back(en.TextLookup(ch.ScanSkip == 1 ? 1203 : 1202));
        expected.push_back(en.TextLookup(ch.TxInhibit == 1 ? 1203 : 1202));
        EXPECT_EQ(t.rows[i], expected) << "row " << i;
    }
    EXPECT_EQ(t.rows[0][0], "0");
    EXPECT_EQ(t.rows[0][2], "144.40000");
    EXPECT_EQ(t.rows[0][3], "BASE");
    EXPECT_EQ(t.rows[0][7], "D023N");
    EXPECT_EQ(t.rows[3][0], "VFO");
}

TEST_F(ReportModel, OnlyChosenAndOfferedSectionsInFixedOrder)
{
    const auto all = std::initializer_list<ReportSection>{
        ReportSection::EmbeddedInfo, ReportSection::CommBook, ReportSection::Dtmf, ReportSection::Channels};
    // DTMF switched off, nothing read from a radio.
    EXPECT_EQ(sectionsOf(build(all)), (std::vector{ReportSection::Channels, ReportSection::CommBook}));

    facts.switches.Dtmf = 1;
    EmbeddedInfo info;
    info.SerialNumber = "SN\xC4" "42";
    const Report r = build(all, &info);
    EXPECT_EQ(sectionsOf(r), (std::vector{ReportSection::Channels, ReportSection::Dtmf, ReportSection::CommBook,
                                          ReportSection::EmbeddedInfo}));

    const ReportPart& dtmf = r.parts[1];
    EXPECT_EQ(dtmf.heading, en.TextLookup(5023));
    const ReportTable& codes = dtmf.blocks.at(0).table;
    ASSERT_EQ(codes.rows.size(), 16u);
    EXPECT_EQ(codes.rows[0], (std::vector<std::string>{"M1", "12*"}));
    EXPECT_EQ(codes.rows[1][1], "");

    const ReportPart& book = r.parts[2];
    ASSERT_EQ(book.blocks.at(0).table.rows.size(), 1u);
    EXPECT_EQ(book.blocks[0].table.rows[0], (std::vector<std::string>{"0", "123", "BOB"}));

    // Radio data is marked as such; its single-byte texts become UTF-8.
    const ReportPart& infoPart = r.parts[3];
    EXPECT_EQ(infoPart.blocks.at(0).note, en.TextLookup(7015));
    EXPECT_NE(everything(r).find("SN\xC3\x84" "42"), std::string::npos);
}

TEST_F(ReportModel, EmptySectionsSayNoneAndChineseHeadingsAreChinese)
{
    cp.body.Book = DefaultCommBook();
    const Report r = build({ReportSection::CommBook, ReportSection::Channels}, nullptr, &zh, kLanguageChinese);
    ASSERT_EQ(r.parts.size(), 2u);
    EXPECT_EQ(r.parts[0].heading, zh.TextLookup(7001));
    EXPECT_NE(r.parts[0].heading, en.TextLookup(7001));
    EXPECT_EQ(r.parts[1].heading, zh.TextLookup(5804));
    ASSERT_EQ(r.parts[1].blocks.size(), 1u);
    EXPECT_EQ(r.parts[1].blocks[0].note, zh.TextLookup(7014));
    EXPECT_EQ(r.title, zh.TextLookup(7000));
    EXPECT_EQ(build({}).title, "QTX Radio Programming Information");
}

TEST_F(ReportModel, PasswordNeverPrinted)
{
    cp.body.Settings.Options.PowerOnPasswordEnabled = 1;
    cp.body.Settings.Options.PowerOnPassword.setTerminated("907153");
    const Report r = build({ReportSection::Options});
    const std::string all = everything(r);
    EXPECT_EQ(all.find("907153"), std::string::npos);
    EXPECT_NE(all.find(en.TextLookup(1738) + "|****|"), std::string::npos);

    cp.body.Settings.Options.PowerOnPasswordEnabled = 0;
    EXPECT_EQ(everything(build({ReportSection::Options})).find("****"), std::string::npos);
}

TEST_F(ReportModel, HeaderMarksUnsavedWork)
{
    facts.modified = true;
    Report r = build({});
    EXPECT_EQ(r.fileLine, en.TextLookup(7008) + ": truck.dat " + en.TextLookup(7011));
    EXPECT_EQ(r.dateLine, en.TextLookup(7010) + ": 2026-12-10 09:30");
    EXPECT_NE(r.modelLine.find("QM-5210"), std::string::npos);
    EXPECT_EQ(ReportPageText(r, 2, 11), "Page 2 of 11");

    facts.untitled = true;
    facts.fileName = "new.dat";
    EXPECT_EQ(build({}).fileLine, en.TextLookup(7008) + ": new.dat " + en.TextLookup(7012));
    facts.untitled = facts.modified = false;
    EXPECT_EQ(build({}).fileLine, en.TextLookup(7008) + ": new.dat");
}

TEST_F(ReportModel, SettingSectionsShowEveryFieldWithItsLabel)
{
    facts.switches = {1, 1, 1, 0, 0};
    cp.body.Settings.TwoTone.Entries[3].Empty = 0;
    cp.body.Settings.TwoTone.Entries[3].FirstTone = 10000;
    cp.body.Settings.TwoTone.Entries[3].FirstDivider = 4800;
    cp.body.Settings.TwoTone.Entries[3].Name.setTerminated("<&>");
    const Report r = build({ReportSection::Keys, ReportSection::Scan, ReportSection::Alarm, ReportSection::TwoTone,
                            ReportSection::FiveTone});
    ASSERT_EQ(r.parts.size(), 5u);
    EXPECT_EQ(r.parts[0].blocks[0].table.rows.size(), 15u);
    EXPECT_EQ(r.parts[0].blocks[0].table.rows[0][0], en.TextLookup(6001));
    EXPECT_EQ(r.parts[1].blocks[0].table.rows.size(), 10u);
    EXPECT_EQ(r.parts[2].blocks[0].table.rows.size(), 12u);
    for (size_t p = 0; p < 3; ++p)
        for (const auto& row : r.parts[p].blocks[0].table.rows)
            EXPECT_FALSE(row[0].empty()) << "an unlabelled row in part " << p;
    const ReportTable& calls = r.parts[3].blocks.at(1).table;
    // Entries in use only, each with the call list's own cell texts.
    size_t inUse = 0;
    for (const TwoToneEntry& e : cp.body.Settings.TwoTone.Entries)
        inUse += e.Empty == 0;
    ASSERT_EQ(calls.rows.size(), inUse);
    const auto mine = std::find_if(calls.rows.begin(), calls.rows.end(), [](const auto& row) { return row[0] == "3"; });
    ASSERT_NE(mine, calls.rows.end());
    const CallCells cells = EntryCellTexts(cp.body.Settings.TwoTone.Entries[3]);
    EXPECT_EQ((*mine)[1], cells.first);
    EXPECT_EQ((*mine)[3], "<&>");
    // No 5-tone entries in use: the tables say so.
    EXPECT_EQ(r.parts[4].blocks.at(2).note, en.TextLookup(7014));
}

// The 5-tone section names its standards as the editor's lists do, the
// user-defined set included.
TEST_F(ReportModel, FiveToneStandardsByName)
{
    facts.switches = {1, 1, 1, 0, 0};
    FiveToneSettings& f = cp.body.Settings.FiveTone;
    f.Standard = 15;
    f.CallList[7].Empty = 0;
    f.CallList[7].Standard = 2;
    f.CallList[7].Code.setTerminated("12345");
    f.CallList[7].CodeLength = 5;
    const Report r = build({ReportSection::FiveTone});
    ASSERT_EQ(r.parts.size(), 1u);
    const auto& settings = r.parts[0].blocks.at(0).table.rows;
    const auto standard = std::find_if(settings.begin(), settings.end(),
                                       [&](const auto& row) { return row[0] == en.TextLookup(3004); });
    ASSERT_NE(standard, settings.end());
    EXPECT_EQ((*standard)[1], en.TextLookup(7301));
    const ReportTable& calls = r.parts[0].blocks.at(2).table;
    ASSERT_EQ(calls.rows.size(), 1u);
    EXPECT_EQ(calls.rows[0][1], "12345");
    EXPECT_EQ(calls.rows[0][2], std::string(StandardName(2).text));
}
