#include "forms/five_tone_form.h"

#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

FiveToneCode codeOf(std::string_view code, int length = -1)
{
    FiveToneCode c;
    c.Empty = 0;
    c.Code.setPadded(code);
    c.CodeLength = static_cast<uint8_t>(length < 0 ? code.size() : length);
    return c;
}

std::string stored(const FiveToneCode& c) { return c.Code.trimmed().substr(0, c.CodeLength); }

FiveToneInfoCode info(int function, std::string_view code)
{
    FiveToneInfoCode c;
    c.DecodeFunction = static_cast<uint8_t>(function);
    c.Code.setPadded(code);
    c.CodeLength = static_cast<uint8_t>(code.size());
    return c;
}

FiveToneSettings withOwnId(std::string_view own)
{
    FiveToneSettings s;
    s.OwnCode.setPadded(own);
    s.OwnIdLength = static_cast<uint8_t>(own.size());
    return s;
}

} // namespace

TEST(FiveToneLists, RowsAndValues)
{
    using L = FiveToneList;
    EXPECT_EQ(FiveToneRowOfValue(L::RingTime, 0), 0);
    EXPECT_EQ(FiveToneRowOfValue(L::RingTime, 5), 1);
    EXPECT_EQ(FiveToneRowOfValue(L::RingTime, 75), 71);
    EXPECT_EQ(FiveToneRowOfValue(L::RingTime, 76), 0);
    EXPECT_EQ(FiveToneValueOfRow(L::RingTime, 1), 5);
    EXPECT_EQ(FiveToneRowOfValue(L::PauseCode, 15), 4);
    EXPECT_EQ(FiveToneRowOfValue(L::PauseCode, 14), 0);
    EXPECT_EQ(FiveToneValueOfRow(L::PauseCode, 1), 11);
    EXPECT_EQ(FiveToneRowOfValue(L::PreSendDelay, 1), 0);
    EXPECT_EQ(FiveToneValueOfRow(L::PreSendDelay, 254), 255);
    EXPECT_EQ(FiveToneRowOfValue(L::PreSendDelay, 0), 0);
    EXPECT_EQ(FiveToneRowOfValue(L::ToneLength, 100), 7);
    EXPECT_EQ(FiveToneValueOfRow(L::ToneLength, 99), 30);

    const auto pause = FiveToneListEntries(L::PauseCode);
    ASSERT_EQ(pause.size(), 5u);
    EXPECT_EQ(pause[0].textId, 1755);
    EXPECT_EQ(pause[1].text + pause[2].text + pause[3].text + pause[4].text, "BCDF");
    const auto check = [](L list, size_t rows, std::string_view first, std::string_view last) {
        const auto e = FiveToneListEntries(list);
        ASSERT_EQ(e.size(), rows);
        EXPECT_EQ(e.front().text, first);
        EXPECT_EQ(e.back().text, last);
    };
    check(L::PreSendDelay, 255, "10", "2550");
    check(L::AutoReset, 251, "0.0", "25.0");
    check(L::PauseTime, 256, "0", "2550");
    check(L::DecodeTime, 201, "0", "2000");
    check(L::FirstCodeDelay, 251, "0", "2500");
    check(L::ToneLength, 8, "30", "100");
    EXPECT_EQ(FiveToneListEntries(L::RingTime)[1].text, "5");
    EXPECT_EQ(FiveToneListEntries(L::DecodeResponse)[2].textId, 60059);
}

TEST(FiveToneLists, StandardRowsShowEiaAndUserSetOnlyWhenStored)
{
    EXPECT_EQ(StandardRows(3).size(), 14u);
    EXPECT_EQ(StandardRows(14).back(), 14);
    EXPECT_EQ(StandardRows(15).back(), 15);
    EXPECT_EQ(StandardRows(15).size(), 15u);
    EXPECT_EQ(ToneLengthOnChoosing(9), 40);  // EEA
    EXPECT_EQ(ToneLengthOnChoosing(6), 100); // CCIR1
    EXPECT_FALSE(ToneLengthOnChoosing(14));
    EXPECT_FALSE(ToneLengthOnChoosing(15));
}

TEST(FiveToneCodes, Forms)
{
    EXPECT_EQ(CodeAtLength("12345", 7), "12345EE");
    EXPECT_EQ(CodeAtLength("12345 ", 3), "123");
    EXPECT_EQ(CodeAtLength("12345", 0), "");
    EXPECT_EQ(Mid5ToneNoE("1E3E5", 0, 5), "11335");
    EXPECT_EQ(Mid5ToneNoE("EE1E", 0, 4), "EE11");
    EXPECT_EQ(Mid5ToneNoE("12E45", 2, 2), "24");

    using T = FiveToneCallType;
    EXPECT_EQ(ClassifyFiveToneCode("12E45BSelfID", 12, "67890"), (CodeCells{T::Ani, "12245"}));
    EXPECT_EQ(ClassifyFiveToneCode("1234567890", 10, "67890"), (CodeCells{T::Ani, "12345"}));
    EXPECT_EQ(ClassifyFiveToneCode("1234567890", 10, "11111"), (CodeCells{T::Plain, "1234567890"}));
    EXPECT_EQ(ClassifyFiveToneCode("E1E2345E4142", 12, ""), (CodeCells{T::DataCall, "AB"}));
    EXPECT_EQ(ClassifyFiveToneCode("E1E2345E41G2", 12, ""), (CodeCells{T::DataCall, "A"}));
    EXPECT_EQ(ClassifyFiveToneCode("E1E2345", 7, "").type, T::Plain);
    EXPECT_EQ(ClassifyFiveToneCode("E6SelfID", 8, "").type, T::PttId);
    EXPECT_EQ(ClassifyFiveToneCode("E6123", 5, "").type, T::Plain);
    EXPECT_EQ(ClassifyFiveToneCode("12345", 7, ""), (CodeCells{T::Plain, "12345EE"}));
}

TEST(FiveToneOwnId, RewriteOnlyCodesCarryingTheOwnId)
{
    const auto rewrite = [](std::string_view code, std::string_view from, std::string_view to) {
        FiveToneCode c = codeOf(code);
        RewriteOwnId(c, from, to);
        return stored(c);
    };
    EXPECT_EQ(rewrite("E612345", "12345", "54321"), "E654321");
    FiveToneCode self = codeOf("E6SelfID");
    EXPECT_TRUE(RewriteOwnId(self, "12345", "54321"));
    EXPECT_EQ(stored(self), "E654321");
    EXPECT_EQ(self.CodeLength, 7);
    // Anything else after the prefix is the user's own code.
    EXPECT_EQ(rewrite("E2789", "12345", "54321"), "E2789");
    EXPECT_EQ(rewrite("E212346", "12345", "54321"), "E212346");
    // The new ID goes out repeat-encoded, and is recognised so again.
    EXPECT_EQ(rewrite("E612345", "12345", "11111"), "E61E1E1");
    EXPECT_EQ(rewrite("E61E1E1", "11111", "12345"), "E612345");
    EXPECT_EQ(rewrite("1234567890", "67890", "11111"), "123451E1E1");
    EXPECT_EQ(rewrite("123451E1E1", "11111", "22222"), "123452E2E2");
    EXPECT_EQ(rewrite("1E345A67890", "67890", "11111"), "1E345A1E1E1");
    EXPECT_EQ(rewrite("12E45BSelfID", "67890", "11111"), "12E45BSelfID");
    EXPECT_EQ(rewrite("1234567890", "12345", "11111"), "1234567890");
    // Without a complete previous ID nothing but the placeholder is rewritten.
    EXPECT_EQ(rewrite("E6", "", "12345"), "E6");
}

TEST(FiveToneOwnId, ChangeKeepsWhatTheWindowShows)
{
    FiveToneSettings work = withOwnId("12345");
    work.PttIdBegin = codeOf("E612345");
    work.CallList[4] = codeOf("E6SelfID");
    work.CallList[5] = codeOf("E2789");
    work.InfoCodes[2] = info(1, "99");
    FiveToneForm form = LoadFiveToneForm(work, 150);

    form.pttId[1].code = "777";
    form.standard = 6;
    SwitchInfoCode(form, work, 2);
    form.info.code = "4242";
    form.ownId = "54321";
    ChangeOwnId(form, work);

    EXPECT_EQ(work.OwnCode.trimmed(), "54321");
    EXPECT_EQ(form.ownId, "54321");
    EXPECT_EQ(form.pttId[0].code, "E654321");
    EXPECT_EQ(form.pttId[1].code, "7E7"); // stored encoded, shown as stored
    EXPECT_EQ(form.standard, 6);
    EXPECT_EQ(form.shownInfo, 2);
    EXPECT_EQ(form.info.code, "4242");
    EXPECT_EQ(form.decodeTime, 150);
    EXPECT_EQ(stored(work.CallList[4]), "E654321");
    EXPECT_EQ(stored(work.CallList[5]), "E2789");

    // The same ID again changes nothing.
    const FiveToneSettings before = work;
    const FiveToneForm shown = form;
    ChangeOwnId(form, work);
    EXPECT_EQ(work, before);
    EXPECT_EQ(form, shown);
}

TEST(FiveToneLoad, CorrectionsInTheWorkingCopy)
{
    FiveToneSettings work;
    work.ToneLength = 25;
    work.Setting60309 = 4;
    work.Standard = 14;
    work.CallList[0] = codeOf("123");
    work.CallList[0].Standard = 20;
    work.CallList[0].CodeLength = 41;
    work.CallList[0].ToneLength = 120;
    work.PttIdEnd = codeOf("123456789012345678901234567890");
    work.PttIdEnd.ToneLength = 29;
    const FiveToneForm form = LoadFiveToneForm(work, 250);

    EXPECT_EQ(work.ToneLength, 70);
    EXPECT_EQ(work.Setting60309, 0);
    EXPECT_EQ(work.CallList[0].Standard, 0);
    EXPECT_EQ(work.CallList[0].CodeLength, 0);
    EXPECT_EQ(work.CallList[0].ToneLength, 70);
    EXPECT_EQ(work.PttIdEnd.CodeLength, 24);
    EXPECT_EQ(form.pttId[1].code, "123456789012345678901234");
    EXPECT_EQ(form.pttId[1].toneLength, FiveToneRowOfValue(FiveToneList::ToneLength, 70));
    EXPECT_EQ(form.standard, 14);
    EXPECT_EQ(form.decodeTime, 0);
    EXPECT_EQ(form.toneLength, FiveToneRowOfValue(FiveToneList::ToneLength, 70));
}

TEST(FiveToneInfoCodes, FunctionsDecideResponseAndName)
{
    EXPECT_EQ(ResponseRows(1).rows, 2);
    EXPECT_TRUE(ResponseRows(1).enabled);
    EXPECT_TRUE(ResponseRows(0).enabled);
    for (int f : {2, 3, 4, 5, 6})
        EXPECT_FALSE(ResponseRows(f).enabled) << f;
    EXPECT_EQ(ResponseRowFor(1, 2), 0);
    EXPECT_EQ(ResponseRowFor(0, 2), 2);
    EXPECT_FALSE(InfoNameEnabled(0));
    EXPECT_FALSE(InfoNameEnabled(6));
    EXPECT_TRUE(InfoNameEnabled(3));

    FiveToneInfoCode stored = info(0, "123");
    stored.Name.setPadded("BOSS");
    stored.DecodeResponse = 2;
    EXPECT_EQ(ShowInfoCode(stored).name, "");
    InfoCodeForm edit = ShowInfoCode(stored);
    edit.function = 1;
    StoreInfoCode(edit, stored);
    EXPECT_EQ(stored.DecodeResponse, 0);
    EXPECT_EQ(stored.Name.trimmed(), ""); // the function takes a name now: the box's
    stored.Name.setPadded("BOSS");
    edit.function = 6;
    edit.name = "ignored";
    StoreInfoCode(edit, stored);
    EXPECT_EQ(stored.Name.trimmed(), "BOSS");
    EXPECT_EQ(stored.CodeLength, 3);
}

TEST(FiveToneInfoCodes, KillStunWakenCheck)
{
    std::array<FiveToneInfoCode, 8> codes{};
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = info(0, std::to_string(100 + i));
    EXPECT_TRUE(IsInfoKillStunWakenOK(codes).empty());

    codes[0] = info(3, "555");
    EXPECT_EQ(IsInfoKillStunWakenOK(codes), std::vector<int>{60300});
    codes[1] = info(5, "556");
    EXPECT_TRUE(IsInfoKillStunWakenOK(codes).empty());
    codes[2] = info(4, "556"); // stun shares the waken code
    EXPECT_EQ(IsInfoKillStunWakenOK(codes), std::vector<int>{60301});
    codes[2] = info(4, "555"); // stun and kill on one code
    EXPECT_EQ(IsInfoKillStunWakenOK(codes), std::vector<int>{60301});

    // Empty codes are the same code.
    std::array<FiveToneInfoCode, 8> fresh{};
    fresh[0] = info(3, "");
    EXPECT_EQ(IsInfoKillStunWakenOK(fresh), (std::vector<int>{60300, 60301}));
    fresh[1] = info(5, "9");
    EXPECT_EQ(IsInfoKillStunWakenOK(fresh), std::vector<int>{60301});
}

TEST(FiveToneCallList, CellsAndCommits)
{
    using T = FiveToneCallType;
    EXPECT_EQ(CallRowOf(FiveToneCode{}, ""), CallRow{});
    FiveToneCode entry = codeOf("12345", 7);
    entry.Standard = 14;
    entry.ToneLength = 120;
    entry.Name.setPadded("ABC");
    const CallRow row = CallRowOf(entry, "");
    EXPECT_EQ(row.cells.code, "12345EE");
    EXPECT_EQ(row.standard, 14);
    EXPECT_EQ(row.toneLength, 70);
    EXPECT_EQ(row.name, "ABC");

    const CodeCells ani{T::Ani, "12345"}, ptt{T::PttId, ""}, plain{T::Plain, "1"}, none{T::Plain, ""};
    EXPECT_FALSE(CanEditCallCell(kColumnCode, ani));
    EXPECT_FALSE(CanEditCallCell(kColumnCode, ptt));
    EXPECT_TRUE(CanEditCallCell(kColumnCode, none));
    EXPECT_FALSE(CanEditCallCell(kColumnType, plain));
    EXPECT_FALSE(CanEditCallCell(kColumnStandard, none));
    for (int column : {kColumnStandard, kColumnToneLength, kColumnName}) {
        EXPECT_TRUE(CanEditCallCell(column, ptt));
        EXPECT_TRUE(CanEditCallCell(column, plain));
    }
    EXPECT_TRUE(CanResetSpecialCall(ani));
    EXPECT_FALSE(CanResetSpecialCall(plain));

    FiveToneCode c;
    CommitCallCode(c, "11223", "");
    EXPECT_EQ(stored(c), "1E2E3");
    EXPECT_EQ(c.Empty, 0);
    CommitCallCode(c, std::string(41, '1'), "");
    EXPECT_EQ(c.CodeLength, 40);
    CommitCallCode(c, "11345B67890", "67890"); // ANI: separator and own ID kept as typed
    EXPECT_EQ(stored(c), "1E345B67890");
    ResetSpecialCall(c);
    EXPECT_EQ(c.CodeLength, 0);
    EXPECT_EQ(c.Empty, 0);
    EXPECT_EQ(CallRowOf(c, "67890").cells, none);
    CommitCallCode(c, "", "");
    EXPECT_EQ(c.Empty, 1);

    ChooseCallStandard(c, 9);
    EXPECT_EQ(c.ToneLength, 40);
    CommitCallToneLength(c, "60");
    CommitCallStandard(c, 9); // leaving the list without choosing keeps it
    EXPECT_EQ(c.ToneLength, 60);
    ChooseCallStandard(c, 14);
    EXPECT_EQ(c.ToneLength, 60);
    EXPECT_EQ(c.Standard, 14);
    CommitCallToneLength(c, "x");
    EXPECT_EQ(c.ToneLength, 70);
    CommitCallToneLength(c, "110");
    EXPECT_EQ(c.ToneLength, 70);
    CommitCallName(c, "  NAME12345");
    EXPECT_EQ(c.Name.trimmed(), "  NAME1");
}

TEST(FiveToneOk, StoresChecksAndFinishes)
{
    FiveToneSettings work = withOwnId("12345");
    work.Standard = 14;
    FiveToneForm form = LoadFiveToneForm(work, 2);

    form.ownId = "1234";
    const FiveToneSettings before = work;
    EXPECT_TRUE(ApplyFiveToneForm(form, work).ownIdShort);
    EXPECT_EQ(work, before);

    form.ownId = "12345";
    form.pttId[0].code = std::string(30, '1');
    form.pauseCode = 4;
    form.ringTime = 1;
    form.sideTone = true;
    form.decodeTime = 180;
    form.info.function = 3; // kill, no waken
    form.info.code = "7";
    FiveToneOk ok = ApplyFiveToneForm(form, work);
    EXPECT_FALSE(ok.stored());
    EXPECT_EQ(ok.refused, std::vector<int>{60300});
    EXPECT_EQ(work.InfoCodes[0].DecodeFunction, 3); // the working copy keeps it

    form.info.function = 5;
    ok = ApplyFiveToneForm(form, work);
    ASSERT_TRUE(ok.stored());
    EXPECT_EQ(work.Standard, 14);
    EXPECT_EQ(work.PttIdBegin.CodeLength, 24);
    EXPECT_EQ(work.PauseCode, 15);
    EXPECT_EQ(work.Setting60309, 5);
    EXPECT_EQ(work.SideTone, 1);

    Codeplug cp;
    cp.channels[0] = BlankChannel(1);
    cp.channels[0].InUse = 1;
    cp.channels[0].OptionalSignal = 3;
    cp.channels[0].FiveToneCall = 3;
    cp.body.ChannelCount = 1;
    work.CallList[7] = codeOf("123");
    FinishFiveTone(cp, work, form.decodeTime);
    EXPECT_EQ(cp.body.Settings.FiveTone, work);
    EXPECT_EQ(cp.body.FiveToneCodeFormat, 180);
    EXPECT_EQ(cp.channels[0].FiveToneCall, 7);
}
