#include "files/change_tracking.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace qtx {

// How texts are compared:
// - names, messages, passwords, call IDs and stored frequency digits are
//   compared trimmed: editors store the same value with a NUL end mark or
//   with space padding, and nothing reads past the trimmed value;
// - DTMF and 5-tone codes are compared over their length: characters past
//   it are never sent or shown (a length above the field compares the whole
//   field, so a damaged length cannot hide an edit);
// - the DTMF own ID is always three digits and is compared whole.

namespace {

class Comparison {
public:
    bool differs() const { return where_.has_value(); }
    const std::optional<std::string>& where() const { return where_; }

    // Context put in front of field names ("channel 12 ").
    void setContext(std::string context) { context_ = std::move(context); }

    template <class T>
    void same(const T& a, const T& b, const char* field)
    {
        if (!differs() && !(a == b))
            note(field);
    }

    template <size_t N>
    void sameTrimmed(const FixedText<N>& a, const FixedText<N>& b, const char* field)
    {
        if (!differs() && a.trimmed() != b.trimmed())
            note(field);
    }

    // The first `length` characters; the lengths themselves must match.
    template <size_t N, class L>
    void sameCode(const FixedText<N>& a, L lengthA, const FixedText<N>& b, L lengthB, const char* field)
    {
        if (differs())
            return;
        if (lengthA != lengthB) {
            note(field);
            return;
        }
        const size_t n = lengthA > 0 ? std::min<size_t>(static_cast<size_t>(lengthA), N) : 0;
        if (!std::equal(a.bytes.begin(), a.bytes.begin() + n, b.bytes.begin()))
            note(field);
    }

    // Bit for bit, as the file holds them (a NaN limit equals itself).
    void sameBits(double a, double b, const char* field)
    {
        if (!differs() && std::bit_cast<uint64_t>(a) != std::bit_cast<uint64_t>(b))
            note(field);
    }

    void note(const std::string& field) { where_ = context_ + field; }

private:
    std::string context_;
    std::optional<std::string> where_;
};

int ValidCount(int16_t count) { return std::clamp<int>(count, 0, kMaxChannels); }

void CompareChannel(Comparison& c, const ChannelRecord& a, const ChannelRecord& b)
{
    c.sameTrimmed(a.RxFrequency, b.RxFrequency, "RxFrequency");
    c.sameTrimmed(a.Offset, b.Offset, "Offset");
    c.sameTrimmed(a.Name, b.Name, "Name");
    c.sameTrimmed(a.PttIdCode, b.PttIdCode, "PttIdCode");

    struct Int16Field {
        int16_t ChannelRecord::*member;
        const char* name;
    };
    // Everything else but TxDcsHigh, RxDcsHigh, PttIdFlag and RadioExtra.
    static constexpr Int16Field fields[] = {
        {&ChannelRecord::InUse, "InUse"},
        {&ChannelRecord::ScanSkip, "ScanSkip"},
        {&ChannelRecord::Step, "Step"},
        {&ChannelRecord::TxInhibit, "TxInhibit"},
        {&ChannelRecord::Bandwidth, "Bandwidth"},
        {&ChannelRecord::TxDcsInverted, "TxDcsInverted"},
        {&ChannelRecord::Reserved1, "Reserved1"},
        {&ChannelRecord::Reserved2, "Reserved2"},
        {&ChannelRecord::Reserved3, "Reserved3"},
        {&ChannelRecord::ShiftDirection, "ShiftDirection"},
        {&ChannelRecord::TxPower, "TxPower"},
        {&ChannelRecord::TalkAround, "TalkAround"},
        {&ChannelRecord::RxDcsInverted, "RxDcsInverted"},
        {&ChannelRecord::Compander, "Compander"},
        {&ChannelRecord::Reserved4, "Reserved4"},
        {&ChannelRecord::TxToneType, "TxToneType"},
        {&ChannelRecord::RxToneType, "RxToneType"},
        {&ChannelRecord::TxCtcss, "TxCtcss"},
        {&ChannelRecord::RxCtcss, "RxCtcss"},
        {&ChannelRecord::TxDcsCode, "TxDcsCode"},
        {&ChannelRecord::RxDcsCode, "RxDcsCode"},
        {&ChannelRecord::OptionalSignal, "OptionalSignal"},
        {&ChannelRecord::Reserved5, "Reserved5"},
        {&ChannelRecord::TwoToneCall, "TwoToneCall"},
        {&ChannelRecord::FiveToneCall, "FiveToneCall"},
        {&ChannelRecord::Reverse, "Reverse"},
        {&ChannelRecord::Scrambler, "Scrambler"},
        {&ChannelRecord::DtmfPttId, "DtmfPttId"},
        {&ChannelRecord::FiveTonePttId, "FiveTonePttId"},
        {&ChannelRecord::SquelchMode, "SquelchMode"},
        {&ChannelRecord::DtmfCode, "DtmfCode"},
        {&ChannelRecord::ExtraDisplay, "ExtraDisplay"},
        {&ChannelRecord::BusyLock, "BusyLock"},
        {&ChannelRecord::PttIdDecode, "PttIdDecode"},
    };
    for (const auto& f : fields)
        c.same(a.*f.member, b.*f.member, f.name);
}

// Partners are found by Number, so the list order does not matter; each
// live entry partners at most one baseline entry.
void CompareChannels(Comparison& c, const Codeplug& live, const Codeplug& base)
{
    const int liveCount = ValidCount(live.body.ChannelCount);
    const int baseCount = ValidCount(base.body.ChannelCount);
    std::array<bool, kMaxChannels> taken{};
    for (int i = 0; i < baseCount && !c.differs(); ++i) {
        const ChannelRecord& b = base.channels[static_cast<size_t>(i)];
        int partner = -1;
        if (i < liveCount && !taken[static_cast<size_t>(i)] && live.channels[static_cast<size_t>(i)].Number == b.Number) {
            partner = i;
        } else {
            for (int j = 0; j < liveCount && partner < 0; ++j)
                if (!taken[static_cast<size_t>(j)] && live.channels[static_cast<size_t>(j)].Number == b.Number)
                    partner = j;
        }
        c.setContext("channel " + std::to_string(b.Number) + " ");
        if (partner < 0) {
            c.note("missing");
            break;
        }
        taken[static_cast<size_t>(partner)] = true;
        CompareChannel(c, live.channels[static_cast<size_t>(partner)], b);
    }
    c.setContext("");
}

void CompareDtmf(Comparison& c, const DtmfSettings& a, const DtmfSettings& b)
{
    c.setContext("DTMF ");
    c.same(a.OwnId, b.OwnId, "OwnId");
    c.same(a.PttIdMode, b.PttIdMode, "PttIdMode");
    c.same(a.PreSendDelay, b.PreSendDelay, "PreSendDelay");
    c.same(a.PauseTime, b.PauseTime, "PauseTime");
    c.same(a.PostSendDelay, b.PostSendDelay, "PostSendDelay");
    c.same(a.ResetTime, b.ResetTime, "ResetTime");
    c.same(a.FirstDigitDelay, b.FirstDigitDelay, "FirstDigitDelay");
    c.same(a.Separator, b.Separator, "Separator");
    c.same(a.GroupCode, b.GroupCode, "GroupCode");
    c.same(a.SendTime, b.SendTime, "SendTime");
    c.same(a.SideTone, b.SideTone, "SideTone");
    c.same(a.Ani, b.Ani, "Ani");
    c.same(a.DecodeResponse, b.DecodeResponse, "DecodeResponse");
    c.sameCode(a.KillCode.Code, a.KillCode.Length, b.KillCode.Code, b.KillCode.Length, "KillCode");
    c.sameCode(a.StunCode.Code, a.StunCode.Length, b.StunCode.Code, b.StunCode.Length, "StunCode");
    c.sameCode(a.PttIdBegin.Code, a.PttIdBegin.Length, b.PttIdBegin.Code, b.PttIdBegin.Length, "PttIdBegin");
    c.sameCode(a.PttIdEnd.Code, a.PttIdEnd.Length, b.PttIdEnd.Code, b.PttIdEnd.Length, "PttIdEnd");
    for (size_t m = 0; m < a.Codes.size() && !c.differs(); ++m) {
        c.setContext("DTMF M" + std::to_string(m + 1) + " ");
        c.sameCode(a.Codes[m].Code, a.Codes[m].Length, b.Codes[m].Code, b.Codes[m].Length, "code");
    }
}

void CompareTwoTone(Comparison& c, const TwoToneSettings& a, const TwoToneSettings& b)
{
    c.setContext("2-tone ");
    c.same(a.OwnFirstTone, b.OwnFirstTone, "OwnFirstTone");
    c.same(a.OwnSecondTone, b.OwnSecondTone, "OwnSecondTone");
    c.same(a.OwnFormat, b.OwnFormat, "OwnFormat");
    c.same(a.OwnFirstDivider, b.OwnFirstDivider, "OwnFirstDivider");
    c.same(a.OwnSecondDivider, b.OwnSecondDivider, "OwnSecondDivider");
    c.same(a.Timer, b.Timer, "Timer");
    c.same(a.DecodeResponse, b.DecodeResponse, "DecodeResponse");
    c.same(a.SideTone, b.SideTone, "SideTone");
    c.same(a.ToneA, b.ToneA, "ToneA");
    c.same(a.ToneB, b.ToneB, "ToneB");
    c.same(a.ToneC, b.ToneC, "ToneC");
    c.same(a.ToneD, b.ToneD, "ToneD");
    c.same(a.Duration1, b.Duration1, "Duration1");
    c.same(a.Duration2, b.Duration2, "Duration2");
    c.same(a.Duration3, b.Duration3, "Duration3");
    c.same(a.Delay, b.Delay, "Delay");
    for (size_t i = 0; i < a.Entries.size() && !c.differs(); ++i) {
        const TwoToneEntry& x = a.Entries[i];
        const TwoToneEntry& y = b.Entries[i];
        c.setContext("2-tone entry " + std::to_string(i + 1) + " ");
        c.same(x.Empty, y.Empty, "Empty");
        c.same(x.FirstDivider, y.FirstDivider, "FirstDivider");
        c.same(x.SecondDivider, y.SecondDivider, "SecondDivider");
        c.same(x.FirstTone, y.FirstTone, "FirstTone");
        c.same(x.SecondTone, y.SecondTone, "SecondTone");
        c.sameTrimmed(x.Name, y.Name, "Name");
    }
}

void CompareFiveToneCode(Comparison& c, const FiveToneCode& a, const FiveToneCode& b)
{
    c.same(a.Empty, b.Empty, "Empty");
    c.same(a.Reserved, b.Reserved, "Reserved");
    c.same(a.Standard, b.Standard, "Standard");
    c.same(a.ToneLength, b.ToneLength, "ToneLength");
    c.sameCode(a.Code, a.CodeLength, b.Code, b.CodeLength, "Code");
    c.sameTrimmed(a.Name, b.Name, "Name");
}

void CompareFiveTone(Comparison& c, const FiveToneSettings& a, const FiveToneSettings& b)
{
    c.setContext("5-tone ");
    c.same(a.HeaderReserved, b.HeaderReserved, "HeaderReserved");
    c.same(a.DecodeResponse, b.DecodeResponse, "DecodeResponse");
    c.same(a.Standard, b.Standard, "Standard");
    c.same(a.ToneLength, b.ToneLength, "ToneLength");
    c.sameCode(a.OwnCode, a.OwnIdLength, b.OwnCode, b.OwnIdLength, "OwnCode");
    c.same(a.Setting60307, b.Setting60307, "Setting60307");
    c.same(a.Setting60081, b.Setting60081, "Setting60081");
    c.same(a.Setting60308, b.Setting60308, "Setting60308");
    c.same(a.Setting60309, b.Setting60309, "Setting60309");
    c.same(a.FirstDigitDelay, b.FirstDigitDelay, "FirstDigitDelay");
    c.same(a.PauseTime, b.PauseTime, "PauseTime");
    c.same(a.PauseCode, b.PauseCode, "PauseCode");
    c.same(a.FirstCodeDelay, b.FirstCodeDelay, "FirstCodeDelay");
    c.same(a.SideTone, b.SideTone, "SideTone");
    c.same(a.Value6, b.Value6, "Value6");
    for (size_t i = 0; i < a.UserToneTable.size(); ++i)
        c.same(a.UserToneTable[i], b.UserToneTable[i], "UserToneTable");
    for (size_t i = 0; i < a.InfoCodes.size() && !c.differs(); ++i) {
        const FiveToneInfoCode& x = a.InfoCodes[i];
        const FiveToneInfoCode& y = b.InfoCodes[i];
        c.setContext("5-tone info code " + std::to_string(i + 1) + " ");
        c.same(x.DecodeFunction, y.DecodeFunction, "DecodeFunction");
        c.same(x.DecodeResponse, y.DecodeResponse, "DecodeResponse");
        c.sameCode(x.Code, x.CodeLength, y.Code, y.CodeLength, "Code");
        c.sameTrimmed(x.Name, y.Name, "Name");
    }
    c.setContext("5-tone PTT-ID begin ");
    CompareFiveToneCode(c, a.PttIdBegin, b.PttIdBegin);
    c.setContext("5-tone PTT-ID end ");
    CompareFiveToneCode(c, a.PttIdEnd, b.PttIdEnd);
    for (size_t i = 0; i < a.CallList.size() && !c.differs(); ++i) {
        c.setContext("5-tone call " + std::to_string(i + 1) + " ");
        CompareFiveToneCode(c, a.CallList[i], b.CallList[i]);
    }
}

void CompareOptions(Comparison& c, const OptionSettings& a, const OptionSettings& b)
{
    c.setContext("options ");
    struct Int16Field {
        int16_t OptionSettings::*member;
        const char* name;
    };
    static constexpr Int16Field fields[] = {
        {&OptionSettings::Item1702, "Item1702"},
        {&OptionSettings::Item1703, "Item1703"},
        {&OptionSettings::ChannelSelect, "ChannelSelect"},
        {&OptionSettings::Item1705, "Item1705"},
        {&OptionSettings::Item1707, "Item1707"},
        {&OptionSettings::Item1703Alt, "Item1703Alt"},
        {&OptionSettings::Item1709, "Item1709"},
        {&OptionSettings::Item1710, "Item1710"},
        {&OptionSettings::ToneBurst, "ToneBurst"},
        {&OptionSettings::Item1712, "Item1712"},
        {&OptionSettings::Item1713, "Item1713"},
        {&OptionSettings::Item1714, "Item1714"},
        {&OptionSettings::Item1716, "Item1716"},
        {&OptionSettings::TailToneElimination, "TailToneElimination"},
        {&OptionSettings::Item1717, "Item1717"},
        {&OptionSettings::FunctionOperation, "FunctionOperation"},
        {&OptionSettings::InternalFunctionOperation, "InternalFunctionOperation"},
        {&OptionSettings::InitialiseKeys, "InitialiseKeys"},
        {&OptionSettings::TailTonePhase, "TailTonePhase"},
        {&OptionSettings::Item1719, "Item1719"},
        {&OptionSettings::Item1706, "Item1706"},
        {&OptionSettings::Item1708, "Item1708"},
        {&OptionSettings::Item1715, "Item1715"},
        {&OptionSettings::PowerOnPasswordEnabled, "PowerOnPasswordEnabled"},
    };
    for (const auto& f : fields)
        c.same(a.*f.member, b.*f.member, f.name);
    c.sameTrimmed(a.PowerOnMessage, b.PowerOnMessage, "PowerOnMessage");
    c.sameTrimmed(a.PowerOnPassword, b.PowerOnPassword, "PowerOnPassword");
}

void CompareCommBook(Comparison& c, const CommBook& a, const CommBook& b)
{
    for (size_t i = 0; i < a.size() && !c.differs(); ++i) {
        c.setContext("comm book entry " + std::to_string(i) + " ");
        c.sameTrimmed(a[i].CallId, b[i].CallId, "CallId");
        c.sameTrimmed(a[i].Name, b[i].Name, "Name");
    }
}

} // namespace

std::optional<std::string> FirstDifference(const Workspace& ws)
{
    const Codeplug& live = ws.live;
    const Codeplug& base = ws.baseline;
    Comparison c;
    c.same(ws.bandType, base.body.BandType, "BandType");
    c.same(ValidCount(live.body.ChannelCount), ValidCount(base.body.ChannelCount), "ChannelCount");
    c.same(live.body.FiveToneCodeFormat, base.body.FiveToneCodeFormat, "FiveToneCodeFormat");
    c.sameBits(live.body.Band.RxLow, base.body.Band.RxLow, "band RxLow");
    c.sameBits(live.body.Band.RxHigh, base.body.Band.RxHigh, "band RxHigh");
    c.sameBits(live.body.Band.TxLow, base.body.Band.TxLow, "band TxLow");
    c.sameBits(live.body.Band.TxHigh, base.body.Band.TxHigh, "band TxHigh");
    CompareChannels(c, live, base);

    const RadioSettings& a = live.body.Settings;
    const RadioSettings& b = base.body.Settings;
    CompareDtmf(c, a.Dtmf, b.Dtmf);
    CompareTwoTone(c, a.TwoTone, b.TwoTone);
    CompareFiveTone(c, a.FiveTone, b.FiveTone);
    CompareOptions(c, a.Options, b.Options);
    CompareCommBook(c, live.body.Book, base.body.Book);
    c.setContext("");
    c.same(a.Scan, b.Scan, "scan settings");
    c.same(a.Emergency, b.Emergency, "emergency settings");
    c.same(a.Keys, b.Keys, "key settings");
    return c.where();
}

bool CodeplugEqualsBaseline(const Workspace& ws) { return !FirstDifference(ws).has_value(); }

bool IsModified(const Workspace& ws) { return FirstDifference(ws).has_value(); }

} // namespace qtx
