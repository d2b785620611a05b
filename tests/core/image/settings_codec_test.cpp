#include "image/settings_codec.h"

#include "image_test_support.h"

using namespace qtx;
using qtx::testing::ImageTest;
using V = std::vector<int>;

namespace {

class SettingsCodec : public ImageTest {
protected:
    RadioSettings& s = cp.body.Settings;
};

TEST_F(SettingsCodec, OptionFlagBytes)
{
    s.Dtmf.Ani = 1;
    s.Options.Item1716 = 1;
    s.Options.TailToneElimination = 0;
    s.Options.FunctionOperation = 1;
    s.Options.InitialiseKeys = 1;
    ASSERT_TRUE(SetCommDataByOption(s.Options, s.Dtmf, image).ok());
    EXPECT_EQ(image[0x0230], 0x05);
    EXPECT_EQ(image[0x0233], 0x09);

    OptionSettings o;
    DtmfSettings d;
    ParseOptions(image, o, d);
    EXPECT_EQ(d.Ani, 1);
    EXPECT_EQ(o.Item1716, 1);
    EXPECT_EQ(o.TailToneElimination, 0);
    EXPECT_EQ(o.FunctionOperation, 1);
    EXPECT_EQ(o.InternalFunctionOperation, 0);
    EXPECT_EQ(o.InitialiseKeys, 1);
}

TEST_F(SettingsCodec, OptionBytePlacesAndUntouchedBytes)
{
    OptionSettings& o = s.Options;
    o.Item1702 = 1;
    o.Item1703 = 2;
    o.ChannelSelect = 201;
    o.Item1705 = 3;
    o.Item1707 = 4;
    o.Item1703Alt = 1;
    o.Item1709 = 4;
    o.Item1710 = 5;
    o.ToneBurst = 3;
    o.Item1712 = 6;
    o.Item1713 = 7;
    o.Item1714 = 8;
    o.Item1717 = 9;
    o.TailTonePhase = 2;
    o.Item1719 = 10;
    o.PowerOnPasswordEnabled = 1;
    s.Dtmf.SendTime = 5;
    for (int a = 0x0220; a <= 0x0238; ++a)
        image[a] = 0xAA;
    ASSERT_TRUE(SetCommDataByOption(o, s.Dtmf, image).ok());
    EXPECT_EQ(bytes(0x0220, 25), (V{1,    2, 201, 3, 0xAA, 4, 1, 4, 5, 0, 0, 3, 6, 0, 7, 8,
                                    0x00, 9, 5,   0, 2,    10, 0xAA, 0xAA, 1}));

    OptionSettings back;
    DtmfSettings d;
    ParseOptions(image, back, d);
    EXPECT_EQ(back.ChannelSelect, 201);
    EXPECT_EQ(back.Item1719, 10);
    EXPECT_EQ(back.ToneBurst, 3);
    EXPECT_EQ(d.SendTime, 5);
    image[0x0226] = 2;
    ParseOptions(image, back, d);
    EXPECT_EQ(back.Item1703Alt, 0);
}

TEST_F(SettingsCodec, PowerOnTexts)
{
    ASSERT_TRUE(SetCommDataByOption(s.Options, s.Dtmf, image).ok());
    EXPECT_EQ(bytes(0x03E0, 7), (V{'W', 'e', 'l', 'c', 'o', 'm', 'e'}));
    EXPECT_EQ(bytes(0x0210, 6), V(6, 0)); // no password

    s.Options.PowerOnMessage.setTerminated("Hello");
    s.Options.PowerOnPassword.setTerminated("1234");
    ASSERT_TRUE(SetCommDataByOption(s.Options, s.Dtmf, image).ok());
    EXPECT_EQ(bytes(0x03E0, 7), (V{'H', 'e', 'l', 'l', 'o', 0, 0}));
    EXPECT_EQ(bytes(0x0210, 6), (V{'1', '2', '3', '4', 0, 0}));

    put(0x0210, {'7', '8', '9', 0xFF, 0xFF, 0xFF});
    put(0x03E0, {'A', 'B', 'C', 'D', 'E', 'F', 'G'});
    OptionSettings o;
    DtmfSettings d;
    ParseOptions(image, o, d);
    EXPECT_EQ(o.PowerOnPassword.str(), std::string("789\0  ", 6));
    EXPECT_EQ(o.PowerOnMessage.str(), "ABCDEFG");
}

TEST_F(SettingsCodec, OptionValuesThatDoNotFitFail)
{
    s.Options.Item1702 = 7;
    s.Options.Item1713 = 256;
    auto r = SetCommDataByOption(s.Options, s.Dtmf, image);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "SetCommDataByOptionError");
    EXPECT_NE(r.error().detail.find("Item1713 256"), std::string::npos);

    s.Options.Item1713 = 0;
    s.Options.TailToneElimination = 2; // would land on the Ani bit
    r = SetCommDataByOption(s.Options, s.Dtmf, image);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("TailToneElimination 2"), std::string::npos);

    s.Options.TailToneElimination = 0;
    s.Dtmf.SendTime = -1;
    EXPECT_FALSE(SetCommDataByOption(s.Options, s.Dtmf, image).ok());
    EXPECT_EQ(image[0x0220], 0); // the failing calls wrote nothing
}

TEST_F(SettingsCodec, EmergencyChannelIsZeroBasedWithFFForNone)
{
    EmergencySettings& e = s.Emergency;
    e.AlarmType = 1;
    e.ChannelChoice = 6;
    e.EmergencyChannel = 0;
    e.Period = 3;
    e.LoneWorkerTime = 200;
    image[0x03A7] = 0x5A;
    EncodeEmergency(e, image);
    EXPECT_EQ(bytes(0x03A0, 13), (V{1, 0, 0, 0, 0, 0, 6, 0x5A, 0xFF, 3, 0, 1, 200}));

    EmergencySettings back;
    ParseEmergency(image, back);
    EXPECT_EQ(back, e);
    image[0x03A8] = 0x04;
    ParseEmergency(image, back);
    EXPECT_EQ(back.EmergencyChannel, 5);
}

TEST_F(SettingsCodec, ScanPriorityValuesAreZeroBased)
{
    ScanSettings& sc = s.Scan;
    sc.WaitTime = 255;
    sc.Priority1Group = 0;
    sc.Priority1Channel = 200;
    sc.Priority2Group = 255;
    sc.Priority2Channel = 1;
    EncodeScan(sc, image);
    EXPECT_EQ(bytes(0x03B0, 14), (V{0, 0, 0, 5, 5, 0, 0, 0, 0, 255, 0xFF, 199, 254, 0}));
    ScanSettings back;
    ParseScan(image, back);
    EXPECT_EQ(back, sc);
}

} // namespace
