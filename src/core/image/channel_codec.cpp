#include "image/channel_codec.h"

#include "convert/bcd.h"
#include "convert/code_text.h"
#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/image_map.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>

namespace qtx {

namespace im = imagemap;
namespace ch = imagemap::channel;

namespace {

constexpr const char* kLimitNames[4] = {"RxLow", "RxHigh", "TxLow", "TxHigh"};

double* LimitField(BandPlan& band, int i)
{
    switch (i) {
    case 0: return &band.RxLow;
    case 1: return &band.RxHigh;
    case 2: return &band.TxLow;
    default: return &band.TxHigh;
    }
}

// A limit in MHz as eight packed digits in units of 100 Hz.
std::optional<Bcd4> LimitToBcd(double mhz)
{
    if (!std::isfinite(mhz))
        return std::nullopt;
    const double units = RoundHalfEven(mhz * 10000.0);
    if (units < 0 || units > 99999999.0)
        return std::nullopt;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08lld", static_cast<long long>(units));
    return DigitsToBcd(digits);
}

double BcdToLimit(const Bcd4& bytes, int index)
{
    std::string digits;
    for (uint8_t b : bytes)
        digits += ByteToHex2(b);
    for (char c : digits)
        if (c < '0' || c > '9')
            return DefaultBandLimit(index);
    return *ParseDecimal(digits.substr(0, 4) + "." + digits.substr(4, 4));
}

std::string Describe(const ChannelRecord& c)
{
    return "channel " + ChannelLabel(c.Number) + " (Number " + std::to_string(c.Number) + ")";
}

// One value of a channel going into width bits (8 for a whole byte).
struct Packed {
    const char* name;
    int value;
    int width;
};

std::optional<std::string> CheckPacked(std::initializer_list<Packed> fields)
{
    for (const Packed& f : fields)
        if (f.value < 0 || f.value >= (1 << f.width))
            return std::string(f.name) + " " + std::to_string(f.value) + " is outside 0-" +
                   std::to_string((1 << f.width) - 1);
    return std::nullopt;
}

// The channel's values that go into the entry, checked before anything is
// written so that a bad value cannot spill into a neighbouring field.
std::optional<std::string> CheckChannelValues(const ChannelRecord& c)
{
    if (c.ShiftDirection < 0 || c.ShiftDirection > 2)
        return "ShiftDirection " + std::to_string(c.ShiftDirection) + " is outside 0-2";
    if (c.TxDcsCode < 0 || c.TxDcsCode > 511)
        return "TxDcsCode " + std::to_string(c.TxDcsCode) + " is outside 0-511";
    if (c.RxDcsCode < 0 || c.RxDcsCode > 511)
        return "RxDcsCode " + std::to_string(c.RxDcsCode) + " is outside 0-511";
    return CheckPacked({
        {"Step", c.Step, 8},
        {"TxInhibit", c.TxInhibit, 1},
        {"Reverse", c.Reverse, 1},
        {"Bandwidth", c.Bandwidth, 2},
        {"TxDcsInverted", c.TxDcsInverted, 1},
        {"PttIdDecode", c.PttIdDecode, 1},
        {"TxPower", c.TxPower, 2},
        {"RxDcsInverted", c.RxDcsInverted, 1},
        {"Compander", c.Compander, 1},
        {"TalkAround", c.TalkAround, 1},
        {"TxToneType", c.TxToneType, 2},
        {"RxToneType", c.RxToneType, 2},
        {"DtmfCode", c.DtmfCode, 4},
        {"TxCtcss", c.TxCtcss, 8},
        {"RxCtcss", c.RxCtcss, 8},
        {"OptionalSignal", c.OptionalSignal, 8},
        {"TwoToneCall", c.TwoToneCall, 8},
        {"FiveToneCall", c.FiveToneCall, 8},
        {"BusyLock", c.BusyLock, 8},
        {"RadioExtra", c.RadioExtra, 8},
        {"DtmfPttId", c.DtmfPttId, 4},
        {"FiveTonePttId", c.FiveTonePttId, 4},
        {"SquelchMode", c.SquelchMode, 8},
        {"Scrambler", c.Scrambler, 8},
    });
}

constexpr uint8_t kDirectionCode[3] = {0, 2, 3};

Result<void> EncodeChannel(ChannelRecord& c, RadioImage& image, std::vector<std::string>& notices)
{
    auto fail = [&c](const std::string& what) { return CodecError(kStepFrequency, Describe(c) + ": " + what); };

    if (c.Number < 1 || c.Number > im::kSlotCount)
        return CodecError(kStepFrequency, "channel Number " + std::to_string(c.Number) + " is outside 1-203");
    const int slot = c.Number - 1;

    std::string rx = c.RxFrequency.trimmed();
    if (rx.empty())
        rx = kNoFrequencyDigits;
    const auto rxBytes = DigitsToBcd(rx);
    if (!rxBytes)
        return fail("receive frequency " + QuoteText(c.RxFrequency.str()) + " is not a frequency");
    const auto offsetBytes = DigitsToBcd(c.Offset.str());
    if (!offsetBytes)
        return fail("offset " + QuoteText(c.Offset.str()) + " is not a frequency");
    if (auto problem = CheckChannelValues(c))
        return fail(*problem);

    std::string ptt;
    if (slot < im::kMemoryChannels.count) {
        ptt = c.PttIdCode.trimmed();
        if (ptt.size() < static_cast<size_t>(im::kChannelPttIdDigits))
            ptt.append(im::kChannelPttIdDigits - ptt.size(), '0');
        for (int i = 0; i < im::kChannelPttIdDigits; ++i)
            if (HexDigitValue(ptt[i]) < 0)
                return fail("PTT-ID code " + QuoteText(c.PttIdCode.str()) + " is not hexadecimal digits");
    }

    if (slot < im::kBitmapSlots) {
        ImageWriter present(image, im::kChannelPresentBitmap);
        ImageWriter skip(image, im::kChannelScanSkipBitmap);
        if (c.InUse == 1)
            present.setMapBit(slot, false);
        if (c.ScanSkip == 0)
            skip.setMapBit(slot, false);
    }

    c.TxDcsHigh = static_cast<int16_t>(c.TxDcsCode / 256);
    c.RxDcsHigh = static_cast<int16_t>(c.RxDcsCode / 256);

    ImageWriter e(image, im::ChannelEntry(slot));
    e.setBcd(ch::kRxFrequency, *rxBytes);
    e.setBcd(ch::kOffset, *offsetBytes);
    e.setByte(ch::kStep, static_cast<uint8_t>(c.Step));
    e.setByte(ch::kFlagsA, static_cast<uint8_t>(c.TxInhibit | c.Reverse << 1 | c.Bandwidth << 2 |
                                                c.TxDcsInverted << 4 | c.TxDcsHigh << 5 | c.PttIdDecode << 6));
    e.setByte(ch::kFlagsB, static_cast<uint8_t>(kDirectionCode[c.ShiftDirection] | c.TxPower << 2 |
                                                c.RxDcsInverted << 4 | c.RxDcsHigh << 5 | c.Compander << 6 |
                                                c.TalkAround << 7));
    e.setByte(ch::kToneTypes, static_cast<uint8_t>(c.TxToneType | c.RxToneType << 2 | c.DtmfCode << 4));
    e.setByte(ch::kTxCtcss, static_cast<uint8_t>(c.TxCtcss));
    e.setByte(ch::kRxCtcss, static_cast<uint8_t>(c.RxCtcss));
    e.setByte(ch::kTxDcsLow, static_cast<uint8_t>(c.TxDcsCode & 0xFF));
    e.setByte(ch::kRxDcsLow, static_cast<uint8_t>(c.RxDcsCode & 0xFF));
    e.setByte(ch::kOptionalSignal, static_cast<uint8_t>(c.OptionalSignal));
    e.setByte(ch::kTwoToneCall, static_cast<uint8_t>(c.TwoToneCall));
    e.setByte(ch::kFiveToneCall, static_cast<uint8_t>(c.FiveToneCall));
    PutChannelName(e, c.Name.trimmed(), notices);
    e.setByte(ch::kBusyLock, static_cast<uint8_t>(c.BusyLock));
    e.setByte(ch::kRadioExtra, static_cast<uint8_t>(c.RadioExtra));
    e.setByte(ch::kPttIdModes, static_cast<uint8_t>(c.DtmfPttId | c.FiveTonePttId << 4));
    e.setByte(ch::kSquelchMode, static_cast<uint8_t>(c.SquelchMode));
    e.setByte(ch::kScrambler, static_cast<uint8_t>(c.Scrambler));

    if (!ptt.empty()) {
        ImageWriter code(image, im::kChannelPttIdCodes.entry(slot));
        for (int i = 0; i < im::kChannelPttIdDigits; ++i)
            code.setByte(i, static_cast<uint8_t>(HexDigitValue(ptt[i])));
    }
    return {};
}

void DecodeChannelEntry(const ImageReader& e, ChannelRecord& c)
{
    c.RxFrequency.setPadded(BcdToDigits(e.bcd(ch::kRxFrequency), BcdKind::Receive));
    c.Offset.setPadded(BcdToDigits(e.bcd(ch::kOffset), BcdKind::Offset));
    c.Step = e.byte(ch::kStep);

    c.TxInhibit = static_cast<int16_t>(e.bits(ch::kFlagsA, 0, 1));
    c.Reverse = static_cast<int16_t>(e.bits(ch::kFlagsA, 1, 1));
    c.Bandwidth = static_cast<int16_t>(e.bits(ch::kFlagsA, 2, 2));
    c.TxDcsInverted = static_cast<int16_t>(e.bits(ch::kFlagsA, 4, 1));
    c.TxDcsHigh = static_cast<int16_t>(e.bits(ch::kFlagsA, 5, 1));
    c.PttIdDecode = static_cast<int16_t>(e.bits(ch::kFlagsA, 6, 1));

    const unsigned direction = e.bits(ch::kFlagsB, 0, 2);
    c.ShiftDirection = static_cast<int16_t>(direction == 0 ? 0 : direction - 1);
    const unsigned power = e.bits(ch::kFlagsB, 2, 2);
    c.TxPower = static_cast<int16_t>(power == 3 ? 2 : power);
    c.RxDcsInverted = static_cast<int16_t>(e.bits(ch::kFlagsB, 4, 1));
    c.RxDcsHigh = static_cast<int16_t>(e.bits(ch::kFlagsB, 5, 1));
    c.Compander = static_cast<int16_t>(e.bits(ch::kFlagsB, 6, 1));
    c.TalkAround = static_cast<int16_t>(e.bits(ch::kFlagsB, 7, 1));

    c.TxToneType = static_cast<int16_t>(e.bits(ch::kToneTypes, 0, 2));
    c.RxToneType = static_cast<int16_t>(e.bits(ch::kToneTypes, 2, 2));
    c.DtmfCode = static_cast<int16_t>(e.bits(ch::kToneTypes, 4, 4));
    c.TxCtcss = e.byte(ch::kTxCtcss);
    c.RxCtcss = e.byte(ch::kRxCtcss);
    c.TxDcsCode = static_cast<int16_t>(c.TxDcsHigh * 256 + e.byte(ch::kTxDcsLow));
    c.RxDcsCode = static_cast<int16_t>(c.RxDcsHigh * 256 + e.byte(ch::kRxDcsLow));
    c.OptionalSignal = e.byte(ch::kOptionalSignal);
    c.TwoToneCall = e.byte(ch::kTwoToneCall);
    c.FiveToneCall = e.byte(ch::kFiveToneCall);
    c.Name.setTerminated(TrimFixed(e.chars(ch::kName, ch::kNameSize)));
    c.BusyLock = e.byte(ch::kBusyLock);
    c.RadioExtra = e.byte(ch::kRadioExtra);
    c.DtmfPttId = static_cast<int16_t>(e.bits(ch::kPttIdModes, 0, 4));
    c.FiveTonePttId = static_cast<int16_t>(e.bits(ch::kPttIdModes, 4, 4));
    c.SquelchMode = e.byte(ch::kSquelchMode);
    c.Scrambler = e.byte(ch::kScrambler);
}

} // namespace

std::string ChannelLabel(int number)
{
    switch (number) {
    case kChannelPA: return "PA";
    case kChannelPB: return "PB";
    case kChannelVfo: return "VFO";
    default: return std::to_string(number - 1);
    }
}

void PutChannelName(ImageWriter& entry, std::string_view trimmedName, std::vector<std::string>& notices)
{
    if (trimmedName.size() > static_cast<size_t>(ch::kNameSize)) {
        trimmedName = trimmedName.substr(0, ch::kNameSize);
        notices.emplace_back(kNameTooLongNotice);
    }
    entry.setChars(ch::kName, ch::kNameSize, trimmedName, trimmedName.empty() ? 0x00 : 0x20);
}

Result<void> SetCommDataByFrequency(Codeplug& cp, RadioImage& image, std::vector<std::string>& notices)
{
    ImageWriter limits(image, im::kBandLimits);
    for (int i = 0; i < 4; ++i) {
        const double mhz = *LimitField(cp.body.Band, i);
        const auto bytes = LimitToBcd(mhz);
        if (!bytes)
            return CodecError(kStepFrequency, std::string("band limit ") + kLimitNames[i] + " " +
                                                  ShortDecimal(mhz) + " MHz cannot be sent to the radio");
        limits.setBcd(i * im::kBandLimitSize, *bytes);
    }

    const int count = cp.body.ChannelCount;
    if (count < 0 || count > kMaxChannels)
        return CodecError(kStepFrequency, "channel count " + std::to_string(count) + " is outside 0-203");
    for (int k = 0; k < count; ++k) {
        auto encoded = EncodeChannel(cp.channels[k], image, notices);
        if (!encoded)
            return encoded;
    }
    return {};
}

void ParseChannels(RadioImage& image, Codeplug& cp)
{
    ImageReader limits(image, im::kBandLimits);
    for (int i = 0; i < 4; ++i)
        *LimitField(cp.body.Band, i) = BcdToLimit(limits.bcd(i * im::kBandLimitSize), i);

    ImageReader present(image, im::kChannelPresentBitmap);
    ImageReader skip(image, im::kChannelScanSkipBitmap);
    for (int slot = 0; slot < im::kSlotCount; ++slot) {
        const int position = cp.body.ChannelCount;
        if (position < 0 || position >= kMaxChannels)
            return;
        const bool hasBits = slot < im::kBitmapSlots;
        if (hasBits && present.mapBit(slot))
            continue;

        // Fields the image does not carry keep what this list position held.
        ChannelRecord c = cp.channels[position];
        c.Number = static_cast<int16_t>(slot + 1);
        c.InUse = 1;
        if (hasBits)
            c.ScanSkip = skip.mapBit(slot) ? 1 : 0;

        ImageReader entry(image, im::ChannelEntry(slot));
        if (BcdToDigits(entry.bcd(ch::kRxFrequency), BcdKind::Receive) == kNoFrequencyDigits)
            continue;
        DecodeChannelEntry(entry, c);

        if (slot < im::kMemoryChannels.count) {
            ImageWriter code(image, im::kChannelPttIdCodes.entry(slot));
            std::string digits;
            for (int i = 0; i < im::kChannelPttIdDigits; ++i) {
                if (code.byte(i) > 15)
                    code.setByte(i, 0);
                digits += ByteToHex2(code.byte(i))[1];
            }
            c.PttIdCode.setPadded(digits);
        }
        cp.channels[position] = c;
        cp.body.ChannelCount = static_cast<int16_t>(position + 1);
    }
}

} // namespace qtx
