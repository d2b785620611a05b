// The stored layout of the data file and the channel file, pinned field by
// field: a reordered or resized field fails here.

#include "model/byte_archive.h"
#include "model/codeplug.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

LayoutRecorder layoutOf(auto record)
{
    LayoutRecorder rec;
    record.serialize(rec);
    return rec;
}

void expectAt(const LayoutRecorder& rec, const std::string& path, size_t offset, size_t size)
{
    const auto it = rec.fields.find(path);
    ASSERT_NE(it, rec.fields.end()) << path;
    EXPECT_EQ(it->second.offset, offset) << path;
    EXPECT_EQ(it->second.size, size) << path;
}

} // namespace

TEST(DataFileLayout, EveryBlockStartsAtItsOffset)
{
    const auto rec = layoutOf(CodeplugBody{});
    EXPECT_EQ(rec.size, 8667u);
    expectAt(rec, "BandType", 0, 2);
    expectAt(rec, "Band.RxLow", 2, 8);
    expectAt(rec, "Band.RxHigh", 10, 8);
    expectAt(rec, "Band.TxLow", 18, 8);
    expectAt(rec, "Band.TxHigh", 26, 8);
    expectAt(rec, "Settings.Keys.Keys[0]", 34, 1);
    expectAt(rec, "Settings.Keys.Keys[14]", 48, 1);
    expectAt(rec, "Settings.Dtmf.Codes[0].Code", 49, 24);
    expectAt(rec, "Settings.Dtmf.Codes[0].Length", 73, 2);
    expectAt(rec, "Settings.Dtmf.Codes[15].Code", 49 + 15 * 26, 24);
    expectAt(rec, "Settings.Dtmf.PttIdBegin.Code", 465, 24);
    expectAt(rec, "Settings.Dtmf.PttIdEnd.Code", 491, 24);
    expectAt(rec, "Settings.Dtmf.KillCode.Code", 517, 14);
    expectAt(rec, "Settings.Dtmf.KillCode.Length", 531, 2);
    expectAt(rec, "Settings.Dtmf.StunCode.Code", 533, 14);
    expectAt(rec, "Settings.Dtmf.Ani", 549, 2);
    expectAt(rec, "Settings.Dtmf.SendTime", 551, 2);
    expectAt(rec, "Settings.Dtmf.PttIdMode", 553, 2);
    expectAt(rec, "Settings.Dtmf.OwnId", 555, 3);
    expectAt(rec, "Settings.Dtmf.Separator", 558, 2);
    expectAt(rec, "Settings.Dtmf.GroupCode", 560, 2);
    expectAt(rec, "Settings.Dtmf.DecodeResponse", 562, 2);
    expectAt(rec, "Settings.Dtmf.FirstDigitDelay", 564, 2);
    expectAt(rec, "Settings.Dtmf.PreSendDelay", 566, 2);
    expectAt(rec, "Settings.Dtmf.ResetTime", 568, 2);
    expectAt(rec, "Settings.Dtmf.PostSendDelay", 570, 2);
    expectAt(rec, "Settings.Dtmf.PauseTime", 572, 2);
    expectAt(rec, "Settings.Dtmf.SideTone", 574, 2);
    expectAt(rec, "Settings.TwoTone.Entries[0].Empty", 600, 2);
    expectAt(rec, "Settings.TwoTone.Entries[0].Name", 610, 7);
    expectAt(rec, "Settings.TwoTone.Entries[31].Empty", 600 + 31 * 17, 2);
    expectAt(rec, "Settings.FiveTone.HeaderReserved", 1144, 1);
    expectAt(rec, "Settings.FiveTone.ToneLength", 1148, 1);
    expectAt(rec, "Settings.FiveTone.OwnCode", 1149, 6);
    expectAt(rec, "Settings.FiveTone.Setting60307", 1155, 1);
    expectAt(rec, "Settings.FiveTone.Setting60309", 1158, 1);
    expectAt(rec, "Settings.FiveTone.FirstDigitDelay", 1159, 2);
    expectAt(rec, "Settings.FiveTone.Value6", 1169, 2);
    expectAt(rec, "Settings.FiveTone.InfoCodes[0].DecodeFunction", 1171, 1);
    expectAt(rec, "Settings.FiveTone.InfoCodes[0].Code", 1174, 12);
    expectAt(rec, "Settings.FiveTone.InfoCodes[0].Name", 1186, 7);
    expectAt(rec, "Settings.FiveTone.InfoCodes[7].DecodeFunction", 1171 + 7 * 22, 1);
    expectAt(rec, "Settings.FiveTone.PttIdBegin.Empty", 1347, 2);
    expectAt(rec, "Settings.FiveTone.PttIdBegin.ToneLength", 1352, 1);
    expectAt(rec, "Settings.FiveTone.PttIdBegin.Code", 1353, 40);
    expectAt(rec, "Settings.FiveTone.PttIdBegin.Name", 1393, 7);
    expectAt(rec, "Settings.FiveTone.PttIdEnd.Empty", 1400, 2);
    expectAt(rec, "Settings.FiveTone.CallList[0].Empty", 1453, 2);
    expectAt(rec, "Settings.FiveTone.CallList[99].Name", 1453 + 99 * 53 + 46, 7);
    expectAt(rec, "Settings.FiveTone.UserToneTable[0]", 6753, 2);
    expectAt(rec, "Settings.FiveTone.UserToneTable[15]", 6783, 2);
    expectAt(rec, "Settings.Options.Item1702", 6785, 2);
    expectAt(rec, "Settings.Options.ChannelSelect", 6789, 2);
    expectAt(rec, "Settings.Options.Item1715", 6829, 2);
    expectAt(rec, "Settings.Options.PowerOnMessage", 6831, 7);
    expectAt(rec, "Settings.Options.PowerOnPasswordEnabled", 6838, 2);
    expectAt(rec, "Settings.Options.PowerOnPassword", 6840, 6);
    expectAt(rec, "Settings.Scan.PriorityScan", 6846, 1);
    expectAt(rec, "Settings.Scan.Priority2Channel", 6859, 1);
    expectAt(rec, "Settings.Emergency.AlarmType", 6860, 1);
    expectAt(rec, "Settings.Emergency.LoneWorkerTime", 6871, 1);
    expectAt(rec, "ChannelCount", 6872, 2);
    expectAt(rec, "CommBook[0].Index", 6874, 2);
    expectAt(rec, "CommBook[0].CallId", 6876, 5);
    expectAt(rec, "CommBook[0].Name", 6881, 7);
    expectAt(rec, "CommBook[127].Index", 6874 + 127 * 14, 2);
    expectAt(rec, "FiveToneCodeFormat", 8666, 1);
}

TEST(DataFileLayout, TwoToneHeaderBytesInOrder)
{
    const auto rec = layoutOf(CodeplugBody{});
    const size_t h = 576;
    expectAt(rec, "Settings.TwoTone.OwnFirstTone", h + 0, 2);
    expectAt(rec, "Settings.TwoTone.OwnSecondTone", h + 2, 2);
    expectAt(rec, "Settings.TwoTone.OwnFormat", h + 4, 1);
    expectAt(rec, "Settings.TwoTone.OwnFirstDivider", h + 5, 2);
    expectAt(rec, "Settings.TwoTone.OwnSecondDivider", h + 7, 2);
    expectAt(rec, "Settings.TwoTone.Timer", h + 9, 1);
    expectAt(rec, "Settings.TwoTone.DecodeResponse", h + 10, 1);
    expectAt(rec, "Settings.TwoTone.SideTone", h + 11, 1);
    expectAt(rec, "Settings.TwoTone.ToneA", h + 12, 2);
    expectAt(rec, "Settings.TwoTone.ToneD", h + 18, 2);
    expectAt(rec, "Settings.TwoTone.Duration1", h + 20, 1);
    expectAt(rec, "Settings.TwoTone.Delay", h + 23, 1);
}

TEST(ChannelFileLayout, EveryFieldAtItsOffset)
{
    const auto rec = layoutOf(ChannelRecord{});
    EXPECT_EQ(rec.size, 108u);
    const std::pair<const char*, size_t> int16Fields[] = {
        {"Number", 0},          {"InUse", 2},          {"ScanSkip", 4},        {"Step", 31},
        {"TxInhibit", 33},      {"Bandwidth", 35},     {"TxDcsInverted", 37},  {"TxDcsHigh", 39},
        {"Reserved1", 41},      {"Reserved2", 43},     {"Reserved3", 45},      {"ShiftDirection", 47},
        {"TxPower", 49},        {"TalkAround", 51},    {"RxDcsInverted", 53},  {"RxDcsHigh", 55},
        {"Compander", 57},      {"Reserved4", 59},     {"TxToneType", 61},     {"RxToneType", 63},
        {"TxCtcss", 65},        {"RxCtcss", 67},       {"TxDcsCode", 69},      {"RxDcsCode", 71},
        {"OptionalSignal", 73}, {"Reserved5", 75},     {"TwoToneCall", 77},    {"FiveToneCall", 79},
        {"PttIdFlag", 81},      {"Reverse", 83},       {"Scrambler", 85},      {"DtmfPttId", 87},
        {"FiveTonePttId", 89},  {"SquelchMode", 91},   {"DtmfCode", 93},       {"ExtraDisplay", 95},
        {"BusyLock", 97},       {"RadioExtra", 99},    {"PttIdDecode", 101},
    };
    for (const auto& [name, offset] : int16Fields)
        expectAt(rec, name, offset, 2);
    expectAt(rec, "RxFrequency", 6, 9);
    expectAt(rec, "Offset", 15, 9);
    expectAt(rec, "Name", 24, 7);
    expectAt(rec, "PttIdCode", 103, 5);
}
