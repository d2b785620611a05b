#pragma once
// Random valid Codeplugs: every field inside the range its editor allows,
// texts stored the way the editors store them. Seeded, so a failure can be
// repeated.

#include "model/codeplug.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace qtx::testing {

class CodeplugGenerator {
public:
    explicit CodeplugGenerator(uint32_t seed) : rng_(seed) {}

    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool coin() { return range(0, 1) == 1; }
    uint8_t byte(int lo = 0, int hi = 255) { return static_cast<uint8_t>(range(lo, hi)); }
    int16_t flag() { return static_cast<int16_t>(range(0, 1)); }
    std::mt19937& engine() { return rng_; }

    std::string pick(const std::string& alphabet, int length)
    {
        std::string out;
        for (int i = 0; i < length; ++i)
            out += alphabet[range(0, static_cast<int>(alphabet.size()) - 1)];
        return out;
    }

    // Up to maxLength characters, some beyond ASCII; never ends in a space
    // (a trailing space is padding, not part of a name).
    std::string name(int maxLength)
    {
        static const std::string kChars = std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -+/") +
                                          "\xC4\xD6\xDC\xE9\xB0\xA3";
        std::string n = pick(kChars, range(0, maxLength));
        while (!n.empty() && n.back() == ' ')
            n.pop_back();
        return n;
    }

    std::string hexDigits(int length) { return pick("0123456789ABCDEF", length); }
    std::string decimalDigits(int length) { return pick("0123456789", length); }

    // Nine frequency digits as the radio keeps them: eight packed digits and
    // the 10 Hz digit that follows from the eighth.
    std::string frequencyDigits(const std::string& leading)
    {
        std::string d = leading + decimalDigits(8 - static_cast<int>(leading.size()));
        switch (d[7]) {
        case '2': return d + '5';
        case '3': return d + '3';
        case '6': return d + '6';
        case '7': return d + '5';
        default: return d + '0';
        }
    }

    uint8_t toneLength() { return static_cast<uint8_t>(10 * range(3, 10)); }

    template <size_t N>
    void dtmfCode(DtmfCode<N>& code, int maxDigits)
    {
        code.Length = static_cast<int16_t>(range(0, maxDigits));
        code.Code.setTerminated(hexDigits(code.Length));
    }

    void fiveToneCode(FiveToneCode& code, int maxDigits)
    {
        code.Empty = flag();
        code.Reserved = byte();
        code.Standard = byte(0, 15);
        code.CodeLength = byte(0, maxDigits);
        code.ToneLength = toneLength();
        code.Code.setTerminated(hexDigits(code.CodeLength));
        code.Name.setTerminated(name(7));
    }

    ChannelRecord channel(int number)
    {
        ChannelRecord c;
        c.Number = static_cast<int16_t>(number);
        c.InUse = 1;
        c.ScanSkip = flag();
        c.RxFrequency.setPadded(frequencyDigits("01" + std::to_string(range(36, 73))));
        c.Offset.setPadded(frequencyDigits("000"));
        c.Name.setTerminated(name(7));
        c.Step = static_cast<int16_t>(range(0, 9));
        c.TxInhibit = flag();
        c.Bandwidth = static_cast<int16_t>(range(0, 2));
        c.TxDcsInverted = flag();
        c.Reserved1 = static_cast<int16_t>(range(-5, 5));
        c.Reserved2 = static_cast<int16_t>(range(-5, 5));
        c.Reserved3 = static_cast<int16_t>(range(-5, 5));
        c.ShiftDirection = static_cast<int16_t>(range(0, 2));
        c.TxPower = static_cast<int16_t>(range(0, 2));
        c.TalkAround = flag();
        c.RxDcsInverted = flag();
        c.Compander = flag();
        c.Reserved4 = static_cast<int16_t>(range(-5, 5));
        c.TxToneType = static_cast<int16_t>(range(0, 2));
        c.RxToneType = static_cast<int16_t>(range(0, 2));
        c.TxCtcss = static_cast<int16_t>(range(0, 50));
        c.RxCtcss = static_cast<int16_t>(range(0, 50));
        c.TxDcsCode = static_cast<int16_t>(range(0, 511));
        c.RxDcsCode = static_cast<int16_t>(range(0, 511));
        c.TxDcsHigh = static_cast<int16_t>(c.TxDcsCode / 256);
        c.RxDcsHigh = static_cast<int16_t>(c.RxDcsCode / 256);
        c.OptionalSignal = static_cast<int16_t>(range(0, 3));
        c.Reserved5 = static_cast<int16_t>(range(-5, 5));
        c.TwoToneCall = static_cast<int16_t>(range(0, 31));
        c.FiveToneCall = static_cast<int16_t>(range(0, 99));
        c.PttIdFlag = flag();
        c.Reverse = flag();
        c.Scrambler = flag();
        c.DtmfPttId = static_cast<int16_t>(range(0, 3));
        c.FiveTonePttId = static_cast<int16_t>(range(0, 3));
        c.SquelchMode = static_cast<int16_t>(range(0, 4));
        c.DtmfCode = static_cast<int16_t>(range(0, 15));
        c.ExtraDisplay = static_cast<int16_t>(range(0, 4));
        c.BusyLock = static_cast<int16_t>(range(0, 2));
        c.RadioExtra = static_cast<int16_t>(range(0, 255));
        c.PttIdDecode = flag();
        c.PttIdCode.setPadded(decimalDigits(5));
        return c;
    }

    Codeplug make()
    {
        Codeplug cp;
        CodeplugBody& b = cp.body;
        b.Band.RxLow = range(1000000, 2000000) / 10000.0;
        b.Band.RxHigh = range(2000000, 5200000) / 10000.0;
        b.Band.TxLow = range(1000000, 2000000) / 10000.0;
        b.Band.TxHigh = range(2000000, 5200000) / 10000.0;

        RadioSettings& s = b.Settings;
        for (auto& k : s.Keys.Keys)
            k = byte(0, 20);

        DtmfSettings& d = s.Dtmf;
        for (auto& c : d.Codes)
            dtmfCode(c, 24);
        dtmfCode(d.PttIdBegin, 24);
        dtmfCode(d.PttIdEnd, 24);
        dtmfCode(d.KillCode, 14);
        dtmfCode(d.StunCode, 14);
        d.Ani = flag();
        d.SendTime = static_cast<int16_t>(range(0, 5));
        d.PttIdMode = static_cast<int16_t>(range(0, 3));
        d.OwnId.setPadded(decimalDigits(3));
        d.Separator = static_cast<int16_t>(range(10, 15));
        d.GroupCode = static_cast<int16_t>(coin() ? 255 : range(10, 15));
        d.DecodeResponse = static_cast<int16_t>(range(0, 2));
        d.FirstDigitDelay = static_cast<int16_t>(range(0, 250));
        d.PreSendDelay = static_cast<int16_t>(range(1, 250));
        d.ResetTime = static_cast<int16_t>(range(0, 250));
        d.PostSendDelay = static_cast<int16_t>(range(1, 250));
        d.PauseTime = static_cast<int16_t>(coin() ? 0 : range(5, 75));
        d.SideTone = flag();

        TwoToneSettings& t = s.TwoTone;
        auto u16 = [this] { return static_cast<uint16_t>(range(0, 0xFFFF)); };
        t.OwnFirstTone = u16();
        t.OwnSecondTone = u16();
        t.OwnFormat = byte(0, 14);
        t.OwnFirstDivider = u16();
        t.OwnSecondDivider = u16();
        t.Timer = byte(0, 250);
        t.DecodeResponse = byte(0, 2);
        t.SideTone = byte(0, 1);
        t.ToneA = u16();
        t.ToneB = u16();
        t.ToneC = u16();
        t.ToneD = u16();
        t.Duration1 = byte(5, 100);
        t.Duration2 = byte(5, 100);
        t.Duration3 = byte(5, 100);
        t.Delay = byte(0, 20);
        for (auto& e : t.Entries) {
            e.Empty = flag();
            e.FirstDivider = u16();
            e.SecondDivider = u16();
            e.FirstTone = u16();
            e.SecondTone = u16();
            e.Name.setTerminated(name(7));
        }

        FiveToneSettings& f = s.FiveTone;
        f.HeaderReserved = byte();
        f.DecodeResponse = byte(0, 2);
        f.Standard = byte(0, 13);
        f.OwnIdLength = byte(0, 5);
        f.ToneLength = toneLength();
        f.OwnCode.setTerminated(decimalDigits(f.OwnIdLength));
        f.Setting60307 = byte(0, 250);
        f.Setting60081 = byte(1, 255);
        f.Setting60308 = byte(1, 255);
        f.Setting60309 = coin() ? 0 : byte(5, 75);
        f.FirstDigitDelay = static_cast<int16_t>(range(1, 255));
        f.PauseTime = static_cast<int16_t>(range(0, 255));
        static constexpr int kPauseCodes[] = {0, 11, 12, 13, 15};
        f.PauseCode = static_cast<int16_t>(kPauseCodes[range(0, 4)]);
        f.FirstCodeDelay = static_cast<int16_t>(range(0, 250));
        f.SideTone = flag();
        f.Value6 = static_cast<int16_t>(range(0, 255));
        for (auto& info : f.InfoCodes) {
            info.DecodeFunction = byte(0, 6);
            info.DecodeResponse = byte(0, 2);
            info.CodeLength = byte(0, 12);
            info.Code.setTerminated(hexDigits(info.CodeLength));
            info.Name.setTerminated(name(7));
        }
        fiveToneCode(f.PttIdBegin, 24);
        fiveToneCode(f.PttIdEnd, 24);
        for (auto& call : f.CallList)
            fiveToneCode(call, 40);
        for (auto& tone : f.UserToneTable)
            tone = static_cast<int16_t>(range(-32768, 32767));

        OptionSettings& o = s.Options;
        o.Item1702 = static_cast<int16_t>(range(0, 1));
        o.Item1703 = static_cast<int16_t>(range(0, 9));
        o.ChannelSelect = static_cast<int16_t>(range(0, 201));
        o.Item1705 = static_cast<int16_t>(range(0, 9));
        o.Item1707 = static_cast<int16_t>(range(0, 9));
        o.Item1703Alt = static_cast<int16_t>(range(0, 1));
        o.Item1709 = static_cast<int16_t>(range(0, 4));
        o.Item1710 = static_cast<int16_t>(range(0, 9));
        o.ToneBurst = static_cast<int16_t>(range(0, 3));
        o.Item1712 = static_cast<int16_t>(range(0, 9));
        o.Item1713 = static_cast<int16_t>(range(0, 9));
        o.Item1714 = static_cast<int16_t>(range(0, 9));
        o.Item1716 = flag();
        o.TailToneElimination = flag();
        o.Item1717 = static_cast<int16_t>(range(0, 9));
        o.FunctionOperation = flag();
        o.InternalFunctionOperation = flag();
        o.InitialiseKeys = flag();
        o.TailTonePhase = static_cast<int16_t>(range(0, 2));
        o.Item1719 = static_cast<int16_t>(range(0, 9));
        o.Item1706 = static_cast<int16_t>(range(0, 9));
        o.Item1708 = static_cast<int16_t>(range(0, 9));
        o.Item1715 = static_cast<int16_t>(range(0, 9));
        o.PowerOnMessage.setTerminated(name(7));
        o.PowerOnPasswordEnabled = flag();
        o.PowerOnPassword.setTerminated(decimalDigits(range(0, 6)));

        ScanSettings& sc = s.Scan;
        sc.PriorityScan = byte(0, 1);
        sc.PriorityMode = byte(0, 3);
        sc.RevertChannel = byte(0, 5);
        sc.LookBackTimeA = byte(5, 50);
        sc.LookBackTimeB = byte(5, 50);
        sc.RxResumeDelay = byte(1, 50);
        sc.TxResumeDelay = byte(1, 50);
        sc.ScanType = byte(0, 2);
        sc.ScanStartBeep = byte(0, 1);
        sc.WaitTime = byte(2, 255);
        sc.Priority1Group = byte();
        sc.Priority1Channel = byte(0, 200);
        sc.Priority2Group = byte();
        sc.Priority2Channel = byte(0, 200);

        EmergencySettings& e = s.Emergency;
        e.AlarmType = byte(0, 3);
        e.IdType = byte(0, 2);
        e.IdGroup = byte(0, 99);
        e.AlarmTime = byte(1, 255);
        e.TxTime = byte(1, 255);
        e.RxTime = byte(1, 255);
        e.ChannelChoice = byte(0, 2);
        e.EmergencyChannel = byte(0, 200);
        e.Period = byte(0, 10);
        e.AutoDetect = byte(0, 1);
        e.PreAlertTime = byte(1, 254);
        e.LoneWorkerTime = byte(5, 255);

        b.FiveToneCodeFormat = byte(0, 200);
        for (auto& entry : b.Book) {
            entry.CallId.setTerminated(decimalDigits(range(0, 5)));
            entry.Name.setTerminated(pick("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", range(0, 7)));
        }

        // A random set of channels in creation order, the VFO always among them.
        std::vector<int> numbers(kMaxChannels - 1);
        std::iota(numbers.begin(), numbers.end(), 1);
        std::shuffle(numbers.begin(), numbers.end(), rng_);
        numbers.resize(range(0, kMaxChannels - 1));
        numbers.insert(numbers.begin() + range(0, static_cast<int>(numbers.size())), kChannelVfo);
        for (size_t i = 0; i < numbers.size(); ++i)
            cp.channels[i] = channel(numbers[i]);
        b.ChannelCount = static_cast<int16_t>(numbers.size());
        return cp;
    }

private:
    std::mt19937 rng_;
};

} // namespace qtx::testing
