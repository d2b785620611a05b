#include "forms/five_tone_standards.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qtx;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        out.push_back(text.substr(from, at - from));
    out.push_back(text.substr(from));
    return out;
}

const StandardInfoHeadings kEnglish{"Tone Frequency:", "Tone Length:", "Group Tone:", "Repeat Tone:"};

} // namespace

TEST(FiveToneStandards, NamesCoverEveryStoredValue)
{
    EXPECT_EQ(StandardName(0).text, "ZVEI1");
    EXPECT_EQ(StandardName(10).text, "EURO SIGNAL");
    EXPECT_EQ(StandardName(13).text, "CCITT");
    EXPECT_EQ(StandardName(14).text, "EIA");
    EXPECT_EQ(StandardName(15).textId, kUserSetTextId);
    EXPECT_EQ(StandardName(16).text, "ZVEI1");
    EXPECT_EQ(StandardName(-1).text, "ZVEI1");
    for (int s = 0; s <= kFiveToneStandardEia; ++s)
        EXPECT_EQ(StandardOfName(StandardName(s).text), s);
    EXPECT_FALSE(StandardOfName("User"));
}

TEST(FiveToneStandards, DefaultToneLengths)
{
    for (int s = 0; s < kFiveToneListedStandards; ++s) {
        const std::string_view name = StandardName(s).text;
        const int expected = name == "CCIR1" || name == "PCCIR" || name == "EURO SIGNAL" ? 100
                             : name == "EEA" || name == "MODAT"                         ? 40
                                                                                        : 70;
        EXPECT_EQ(DefaultToneLength(name), expected) << name;
    }
    EXPECT_EQ(DefaultToneLength("EIA"), 33);
    EXPECT_EQ(DefaultToneLength("anything"), 70);
    EXPECT_EQ(DefaultToneLength(""), 70);
}

TEST(FiveToneStandards, InformationTextOfCatalogueStandards)
{
    UserToneTable user{};
    const auto euro = lines(StandardInfoText("EURO SIGNAL", user, kEnglish));
    ASSERT_EQ(euro.size(), 21u);
    EXPECT_EQ(euro[0], "EURO SIGNAL");
    EXPECT_EQ(euro[1], "Tone Frequency(Hz)");
    EXPECT_EQ(euro[2], "0 979.8");
    for (int line : {12, 13, 14, 15, 17}) // A B C D F have no tone
        EXPECT_EQ(euro[line], std::string(1, "0123456789ABCDEF"[line - 2]) + " ");
    EXPECT_EQ(euro[16], "E 1062.9");
    EXPECT_EQ(euro[18], "Tone Length(ms) 100");
    EXPECT_EQ(euro[19], "Group Tone A");
    EXPECT_EQ(euro[20], "Repeat Tone E");

    const auto dzvei = lines(StandardInfoText("DZVEI", user, kEnglish));
    EXPECT_EQ(dzvei[12], "A 825/885");
    EXPECT_EQ(lines(StandardInfoText("CCITT", user, kEnglish))[17], "F 0.0");
    EXPECT_EQ(lines(StandardInfoText("EIA", user, kEnglish))[18], "Tone Length(ms) 33");
}

TEST(FiveToneStandards, InformationTextOfUserSetAndHeadings)
{
    UserToneTable user{};
    user[0] = 24000;
    user[15] = 10005;
    // Chinese headings lose one character, not one byte; empty ones stay empty.
    const StandardInfoHeadings chinese{"单音频率:  ", "单音时长：", "", "x"};
    const auto text = lines(StandardInfoText("自定义", user, chinese));
    EXPECT_EQ(text[0], "自定义");
    EXPECT_EQ(text[1], "单音频率(Hz)");
    EXPECT_EQ(text[2], "0 2400.0");
    EXPECT_EQ(text[3], "1 0.0");
    EXPECT_EQ(text[17], "F 1000.5");
    EXPECT_EQ(text[18], "单音时长(ms) 70");
    EXPECT_EQ(text[19], " A");
    EXPECT_EQ(text[20], " E");
}

TEST(FiveToneUserTones, LeaveClampAndOk)
{
    EXPECT_EQ(UserToneText(24000), "2400.0");
    EXPECT_EQ(UserToneText(2885), "288.5");

    EXPECT_EQ(UserToneOnLeave("100"), "288.5");
    EXPECT_EQ(UserToneOnLeave("4000"), "3106.0");
    EXPECT_EQ(UserToneOnLeave("3106"), "3106");
    EXPECT_EQ(UserToneOnLeave("288.5"), "288.5");
    EXPECT_EQ(UserToneOnLeave("1.2.3"), "1.2.3");
    EXPECT_EQ(UserToneOnLeave(""), "");

    EXPECT_EQ(UserToneAtOk("1000.5", 0), 10005);
    EXPECT_EQ(UserToneAtOk("1000.04", 0), 10000);
    // A box never left still gets the clamp: 99999 would not fit 16 bits.
    EXPECT_EQ(UserToneAtOk("99999", 0), 31060);
    EXPECT_EQ(UserToneAtOk("0", 0), 2885);
    EXPECT_EQ(UserToneAtOk(".", 1234), 1234);
    EXPECT_EQ(UserToneAtOk("", 1234), 1234);
}
