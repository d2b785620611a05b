#include "forms/dtmf_form.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

template <size_t N> void setCode(DtmfCode<N>& code, std::string_view raw, int length)
{
    code.Code.setRaw(raw);
    code.Length = static_cast<int16_t>(length);
}

// Own ID 123, separator "*", M1 = 456*123 as the composer leaves it.
DtmfForm composedForm()
{
    DtmfSettings d;
    d.OwnId.setPadded("123");
    setCode(d.Codes[0], "456E123", 7);
    return LoadDtmfForm(d);
}

} // namespace

TEST(DtmfForm, OwnIdPadsDigitsAndReplacesAnythingElse)
{
    EXPECT_EQ(PadOwnId("7"), "007");
    EXPECT_EQ(PadOwnId("12 "), "012");
    EXPECT_EQ(PadOwnId("999"), "999");
    EXPECT_EQ(PadOwnId("1a"), "000");
    EXPECT_EQ(PadOwnId(""), "000");
    EXPECT_EQ(PadOwnId("1234"), "000");
    EXPECT_EQ(PadOwnId(std::string("\xB9", 1)), "000"); // a superscript one is no ASCII digit

    DtmfSettings d;
    d.OwnId.setPadded("1a");
    EXPECT_EQ(LoadDtmfForm(d).ownId, "000");
    EXPECT_EQ(d.OwnId.str(), "000"); // written back, kept even when cancelled
}

TEST(DtmfForm, GroupCodeOffStaysTheStoredOffValue)
{
    for (int16_t stored : {int16_t(9), int16_t(255), int16_t(-3), int16_t(16)}) {
        DtmfSettings d;
        d.GroupCode = stored;
        DtmfForm f = LoadDtmfForm(d);
        EXPECT_EQ(f.groupCode, 0) << stored;
        EXPECT_EQ(d.GroupCode, 255) << stored;
        ApplyDtmfForm(f, d);
        EXPECT_EQ(d.GroupCode, 255) << stored;
    }
    // Opening a saved Off group code and cancelling changes nothing.
    DtmfSettings saved;
    saved.GroupCode = 255;
    DtmfSettings opened = saved;
    LoadDtmfForm(opened);
    EXPECT_EQ(opened, saved);

    DtmfSettings d;
    d.GroupCode = 15;
    DtmfForm f = LoadDtmfForm(d);
    EXPECT_EQ(f.groupCode, 6);
    f.groupCode = 1;
    ApplyDtmfForm(f, d);
    EXPECT_EQ(d.GroupCode, 10);
}

TEST(DtmfForm, LoadingCorrectsValuesTheListsCannotShow)
{
    DtmfSettings d;
    d.Separator = 0;
    d.Ani = -1;
    d.SendTime = 6;
    d.PttIdMode = 4;
    d.DecodeResponse = 3;
    d.FirstDigitDelay = 251;
    d.PauseTime = 4;
    d.SideTone = 2;
    d.PreSendDelay = 0;
    DtmfForm f = LoadDtmfForm(d);
    EXPECT_EQ(d.Separator, 14);
    EXPECT_EQ(DtmfSeparatorChar(f.separator), '*');
    EXPECT_EQ(d.Ani, 0);
    EXPECT_EQ(d.SendTime, 0);
    EXPECT_EQ(d.PttIdMode, 0);
    EXPECT_EQ(d.DecodeResponse, 0);
    EXPECT_EQ(d.FirstDigitDelay, 0);
    EXPECT_EQ(d.PauseTime, 0);
    EXPECT_EQ(d.SideTone, 0);
    // A pre-send delay of 0 has no row: the first row (10 ms) shows and OK stores it.
    EXPECT_EQ(DtmfSendDelayRows()[static_cast<size_t>(f.preSendDelay)], "10");
    ApplyDtmfForm(f, d);
    EXPECT_EQ(d.PreSendDelay, 1);
}

TEST(DtmfForm, ListRowsRoundTripEveryStoredValue)
{
    DtmfSettings d;
    d.PauseTime = 75;
    d.PostSendDelay = 250;
    d.ResetTime = 250;
    d.FirstDigitDelay = 250;
    d.PttIdMode = 2; // no control, must survive
    DtmfSettings before = d;
    DtmfForm f = LoadDtmfForm(d);
    EXPECT_EQ(DtmfPauseNumberRows()[static_cast<size_t>(f.pauseTime - 1)], "75");
    EXPECT_EQ(DtmfResetTimeRows()[static_cast<size_t>(f.resetTime)], "25.0");
    EXPECT_EQ(DtmfFirstDigitDelayRows()[static_cast<size_t>(f.firstDigitDelay)], "2500");
    ApplyDtmfForm(f, d);
    EXPECT_EQ(d, before);
    EXPECT_EQ(DtmfPauseValue(DtmfPauseRow(5)), 5);
    EXPECT_EQ(DtmfResetTimeRows().size(), 251u);
    EXPECT_EQ(DtmfSendDelayRows().size(), 250u);
}

TEST(DtmfForm, CodesShowCutAndStoreWithTheirLength)
{
    DtmfSettings d;
    setCode(d.Codes[0], "12EF99", 4);
    setCode(d.Codes[1], "12EF", 30);          // length above the field: whole text
    setCode(d.Codes[2], "12EF", -1);          // negative length: nothing
    setCode(d.Codes[3], std::string("1\0" "23", 4), 4); // a NUL ends the code
    setCode(d.KillCode, "34  ", 4);            // trailing blanks dropped
    DtmfForm f = LoadDtmfForm(d);
    EXPECT_EQ(f.codes[0], "12*#");
    EXPECT_EQ(f.codes[1], "12*#");
    EXPECT_EQ(f.codes[2], "");
    EXPECT_EQ(f.codes[3], "1");
    EXPECT_EQ(f.codes[kDtmfKillField], "34");

    ApplyDtmfForm(f, d);
    EXPECT_EQ(d.Codes[0].Code.str(), "12EF" + std::string(20, ' '));
    EXPECT_EQ(d.Codes[0].Length, 4);
    EXPECT_EQ(d.Codes[2].Length, 0);
    EXPECT_EQ(d.KillCode.Length, 2);

    f.codes[kDtmfStunField] = std::string(20, '1'); // longer than the field: cut
    ApplyDtmfForm(f, d);
    EXPECT_EQ(d.StunCode.Length, 14);
}

TEST(DtmfForm, SeparatorAndOwnIdMoveComposedCalls)
{
    DtmfForm f = composedForm();
    f.codes[1] = "*123";
    ChooseSeparator(f, 5); // "#"
    EXPECT_EQ(f.codes[0], "456#123");
    EXPECT_EQ(f.codes[1], "#123");
    f.ownId = "7";
    LeaveOwnId(f);
    EXPECT_EQ(f.ownId, "007");
    EXPECT_EQ(f.codes[0], "456#007");
    EXPECT_EQ(f.codes[1], "#007");
}

TEST(DtmfForm, TypedCodesOutsideTheComposedShapesAreKept)
{
    DtmfSettings d; // own ID 000, separator "*"
    setCode(d.Codes[0], "555E999", 7);
    DtmfForm f = LoadDtmfForm(d);
    LeaveOwnId(f); // tabbing through
    EXPECT_EQ(f.codes[0], "555*999");
    f.ownId = "42";
    LeaveOwnId(f);
    EXPECT_EQ(f.codes[0], "555*999");

    DtmfForm g = composedForm();
    g.codes[1] = "456A789";
    g.codes[2] = "456A123"; // A is a group code here, not the separator
    g.codes[kDtmfKillField] = "*123";
    ChooseSeparator(g, 5);
    EXPECT_EQ(g.codes[1], "456A789");
    EXPECT_EQ(g.codes[2], "456A123");
    EXPECT_EQ(g.codes[kDtmfKillField], "*123"); // kill and stun never follow
}

TEST(DtmfForm, SeparatorPickedWhileOwnIdPendingUsesThePaddedId)
{
    DtmfForm f = composedForm();
    f.ownId = "5"; // typed, box not left yet
    ChooseSeparator(f, 5);
    EXPECT_EQ(f.ownId, "005");
    EXPECT_EQ(f.codes[0], "456#005");
}

TEST(DtmfForm, ComposedCallsGoWhereAskedAndFollowLaterChanges)
{
    EXPECT_EQ(ComposeDtmfCall(DtmfCallType::Ani, "45", '*', "123"), "045*123");
    EXPECT_EQ(ComposeDtmfCall(DtmfCallType::Ani, "", '*', "123"), "000*123");
    EXPECT_EQ(ComposeDtmfCall(DtmfCallType::PttId, "45", '*', "123"), "*123");

    DtmfForm f = composedForm();
    f.codes[0].clear();
    f.ownId = "9"; // pending: the composer sees three digits
    PutComposedCall(f, 0, DtmfCallType::Ani, "45");
    PutComposedCall(f, kDtmfPttIdBeginField, DtmfCallType::PttId, "");
    EXPECT_EQ(f.codes[0], "045*009");
    EXPECT_EQ(f.codes[kDtmfPttIdBeginField], "*009");
    PutComposedCall(f, kDtmfKillField, DtmfCallType::PttId, ""); // not a composer target
    EXPECT_EQ(f.codes[kDtmfKillField], "");

    f.ownId = "321";
    LeaveOwnId(f);
    EXPECT_EQ(f.codes[0], "045*321");
    EXPECT_EQ(f.codes[kDtmfPttIdBeginField], "*321");
}

TEST(DtmfForm, KillAndStunMayNotBeTheSameCode)
{
    EXPECT_TRUE(KillStunClash("12", "12"));
    EXPECT_TRUE(KillStunClash("12  ", "12"));
    EXPECT_FALSE(KillStunClash("", ""));
    EXPECT_FALSE(KillStunClash("12", "13"));
    EXPECT_FALSE(KillStunClash("12", "123"));
}
