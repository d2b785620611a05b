#include "forms/five_tone_special_form.h"

#include "forms/channel_form.h"
#include "image/five_tone_codec.h"
#include "image/radio_image.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qtx;

namespace {

constexpr int kData = static_cast<int>(SpecialCallType::Data);
constexpr int kAni = static_cast<int>(SpecialCallType::Ani);
constexpr int kPttId = static_cast<int>(SpecialCallType::PttId);
constexpr int kSeparatorB = 2;

std::string composed(int type, std::string_view called, std::string_view message, int separator,
                     SpecialCallTarget target, std::string_view own)
{
    const auto r = ComposeSpecialCall(type, called, message, separator, target, own);
    EXPECT_TRUE(r.ok()) << r.error().detail;
    return r.ok() ? r.value() : std::string();
}

// The message a refusal shows ("" = OK does nothing), or "accepted".
std::string refusal(int type, std::string_view called, std::string_view message, int separator,
                    SpecialCallTarget target, std::string_view own)
{
    const auto r = ComposeSpecialCall(type, called, message, separator, target, own);
    return r.ok() ? "accepted" : r.error().message;
}

} // namespace

TEST(FiveToneSpecialCompose, ListCodesKeepTheOwnIdMark)
{
    auto cp = std::make_unique<Codeplug>();
    FiveToneSettings& f = cp->body.Settings.FiveTone;

    const std::string ani = composed(kAni, "12345", "", kSeparatorB, SpecialCallTarget::List, "67890");
    EXPECT_EQ(ani, "12345BSelfID");
    StoreSpecialCall(f.CallList[3], ani, "67890");
    EXPECT_EQ(f.CallList[3].Code.trimmed(), "12345BSelfID");
    EXPECT_EQ(f.CallList[3].CodeLength, 12);
    // Composed into an empty entry, the call is in use: channels can pick it.
    EXPECT_EQ(f.CallList[3].Empty, 0);
    EXPECT_EQ(FiveToneCallChoices(*cp), std::vector<int>{3});

    // The list needs no own ID yet: the mark follows the own ID.
    EXPECT_EQ(composed(kPttId, "", "", 0, SpecialCallTarget::List, ""), "E6SelfID");
    EXPECT_EQ(composed(kAni, "12A45", "", 0, SpecialCallTarget::List, ""), "12A45SelfID");
    EXPECT_EQ(composed(kAni, "12345", "", 6, SpecialCallTarget::List, ""), "12345FSelfID");
}

TEST(FiveToneSpecialCompose, PttIdCodesCarryACompleteOwnId)
{
    EXPECT_EQ(composed(kAni, "12345", "", kSeparatorB, SpecialCallTarget::PttIdBegin, "67890"), "12345B67890");
    EXPECT_EQ(composed(kPttId, "", "", 0, SpecialCallTarget::PttIdEnd, "67890"), "E667890");
    // An own ID that is not five digits would be written out for good: 900C.
    for (std::string_view own : {"", "6789", "6789 "}) {
        EXPECT_EQ(refusal(kAni, "12345", "", kSeparatorB, SpecialCallTarget::PttIdBegin, own), "900C") << own;
        EXPECT_EQ(refusal(kPttId, "", "", 0, SpecialCallTarget::PttIdEnd, own), "900C") << own;
    }
    // A short called code is refused first, silently.
    EXPECT_EQ(refusal(kAni, "1234", "", 0, SpecialCallTarget::PttIdBegin, ""), "");
}

TEST(FiveToneSpecialCompose, DataCallCarriesTheMessageAsHexPairs)
{
    const std::string data = composed(kData, "12345", "AB", 0, SpecialCallTarget::List, "67890");
    EXPECT_EQ(data, "E112345E4142");
    // Stored, the called code's "1" repeats the "1" of "E1"; the message
    // pairs stay as they are.
    FiveToneCode entry;
    StoreSpecialCall(entry, data, "67890");
    EXPECT_EQ(entry.Code.trimmed(), "E1E2345E4142");
    EXPECT_EQ(entry.CodeLength, 12);

    // 16 characters into a list entry; a PTT-ID code's 24 digits hold 8.
    EXPECT_EQ(composed(kData, "12345", "ABCDEFGH12345678", 0, SpecialCallTarget::List, "").size(), 40u);
    EXPECT_EQ(SpecialMessageLimit(SpecialCallTarget::PttIdBegin), 8);
    EXPECT_EQ(composed(kData, "12345", "ABCDEFGH", 0, SpecialCallTarget::PttIdEnd, "").size(), 24u);
    EXPECT_EQ(refusal(kData, "12345", "ABCDEFGHI", 0, SpecialCallTarget::PttIdEnd, ""), "");
    EXPECT_EQ(refusal(kData, "12345", "ab", 0, SpecialCallTarget::List, ""), "");
}

TEST(FiveToneSpecialCompose, CalledCodeNeedsFiveCharacters)
{
    EXPECT_EQ(CalledCodeLeaveMessage("1234"), "900C");
    EXPECT_EQ(CalledCodeLeaveMessage("1234A"), "");
    for (int type : {kData, kAni})
        for (std::string_view called : {"1234", "12B45"})
            EXPECT_EQ(refusal(type, called, "AB", 0, SpecialCallTarget::List, "67890"), "") << type << called;
}

TEST(FiveToneSpecialCompose, StoredListCallsReachTheRadio)
{
    // The called part is stored repeat-encoded ("1E1E1SelfID"); the radio
    // still gets every tone once the own ID is set.
    auto cp = std::make_unique<Codeplug>();
    FiveToneSettings& f = cp->body.Settings.FiveTone;
    f.OwnCode.setTerminated("67890");
    f.OwnIdLength = 5;
    StoreSpecialCall(f.CallList[1], composed(kAni, "11111", "", 0, SpecialCallTarget::List, ""), "67890");
    EXPECT_EQ(f.CallList[1].Code.trimmed(), "1E1E1SelfID");
    RadioImage image{};
    PrefillImage(image);
    const auto r = SetCommDataBy5Tone(f, 2, image);
    ASSERT_TRUE(r.ok()) << r.error().detail;
    EXPECT_EQ(std::vector<int>(image.begin() + 0x0D22, image.begin() + 0x0D29),
              (std::vector<int>{10, 7, 0x1E, 0x1E, 0x16, 0x78, 0x90}));
}
