#include "image/channel_codec.h"

#include "convert/bcd.h"
#include "convert/code_text.h"
#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace qtx {

namespace im = imagemap;
using namespace image;
using C = ChannelRecord;

namespace {

// ---- rows only channels have ----------------------------------------------

// Four packed digits of a frequency. The receive frequency goes out trimmed,
// an empty one as "no frequency"; the offset goes out as stored.
struct FrequencyDigits {
    int offset;
    FixedText<9> C::*member;
    BcdKind kind;
    const char* what;

    std::optional<Bcd4> sent(const C& c) const
    {
        if (kind == BcdKind::Offset)
            return DigitsToBcd((c.*member).str());
        const std::string rx = (c.*member).trimmed();
        return DigitsToBcd(rx.empty() ? "FFFFFFFF" : rx);
    }
    Problem check(const C& c) const
    {
        if (!sent(c))
            return std::string(what) + " " + QuoteText((c.*member).str()) + " is not a frequency";
        return std::nullopt;
    }
    void put(ImageWriter& w, const C& c, Notices&) const { w.setBcd(offset, *sent(c)); }
    template <class View>
    void get(View& v, C& c) const
    {
        (c.*member).setPadded(BcdToDigits(v.bcd(offset), kind));
    }
    void spans(const SpanSink& sink) const { sink({what, offset, 0, 32}); }
};

// A DCS code 0-511: the low eight bits in their own byte, bit 8 in a flag
// byte, which a read also keeps in the record's high member.
struct DcsCode {
    int lowOffset;
    int highOffset;
    int highShift;
    int16_t C::*code;
    int16_t C::*high;
    const char* name;

    Problem check(const C& c) const
    {
        if (c.*code < 0 || c.*code > 511)
            return OutsideRange(name, c.*code, 511);
        return std::nullopt;
    }
    void put(ImageWriter& w, const C& c, Notices&) const
    {
        w.setByte(lowOffset, static_cast<uint8_t>(c.*code & 0xFF));
        w.setBits(highOffset, highShift, 1, static_cast<unsigned>(c.*code / 256));
    }
    template <class View>
    void get(View& v, C& c) const
    {
        c.*high = static_cast<int16_t>(v.bits(highOffset, highShift, 1));
        c.*code = static_cast<int16_t>(c.*high * 256 + v.byte(lowOffset));
    }
    void spans(const SpanSink& sink) const
    {
        sink({name, lowOffset, 0, 8});
        sink({name, highOffset, highShift, 1});
    }
};

struct ChannelName {
    int offset;
    int size;

    // Cut to the room with a notice; padded with spaces, or 0x00 when empty.
    void write(ImageWriter& w, std::string_view name, Notices& notices) const
    {
        if (name.size() > static_cast<size_t>(size)) {
            name = name.substr(0, size);
            notices.emplace_back(kNameTooLongNotice);
        }
        w.setChars(offset, size, name, name.empty() ? 0x00 : 0x20);
    }
    void put(ImageWriter& w, const C& c, Notices& notices) const { write(w, c.Name.trimmed(), notices); }
    template <class View>
    void get(View& v, C& c) const
    {
        c.Name.setTerminated(TrimFixed(v.chars(offset, size)));
    }
    void spans(const SpanSink& sink) const { sink({"Name", offset, 0, 8 * size}); }
};

// The PTT-ID code of a memory channel: one hexadecimal digit per byte, a
// short code filled with zeros; a read turns bytes above 15 into 0 in the
// image too.
struct PttIdDigits {
    static std::string sent(const C& c)
    {
        std::string ptt = c.PttIdCode.trimmed();
        if (ptt.size() < static_cast<size_t>(im::kChannelPttIdDigits))
            ptt.append(im::kChannelPttIdDigits - ptt.size(), '0');
        return ptt;
    }
    Problem check(const C& c) const
    {
        const std::string ptt = sent(c);
        for (int i = 0; i < im::kChannelPttIdDigits; ++i)
            if (HexDigitValue(ptt[i]) < 0)
                return "PTT-ID code " + QuoteText(c.PttIdCode.str()) + " is not hexadecimal digits";
        return std::nullopt;
    }
    void put(ImageWriter& w, const C& c, Notices&) const
    {
        const std::string ptt = sent(c);
        for (int i = 0; i < im::kChannelPttIdDigits; ++i)
            w.setByte(i, static_cast<uint8_t>(HexDigitValue(ptt[i])));
    }
    void get(ImageWriter& w, C& c) const
    {
        std::string digits;
        for (int i = 0; i < im::kChannelPttIdDigits; ++i) {
            if (w.byte(i) > 15)
                w.setByte(i, 0);
            digits += ByteToHex2(w.byte(i))[1];
        }
        c.PttIdCode.setPadded(digits);
    }
    void spans(const SpanSink& sink) const { sink({"PttIdCode", 0, 0, 8 * im::kChannelPttIdDigits}); }
};

int PowerFromImage(int b) { return b == 3 ? 2 : b; }
// Simplex, "-", "+" travel as 0, 2, 3; a read of 1 is taken as simplex.
int ShiftToImage(int v) { return v == 0 ? 0 : v + 1; }
int ShiftFromImage(int b) { return b == 0 ? 0 : b - 1; }

// ---- the layouts ----------------------------------------------------------

// One channel entry, 31 bytes (memory channels, PA, PB and the VFO alike).
// An entry whose receive frequency reads as none is not a channel.
constexpr int kRxFrequencyAt = 0;
constexpr std::tuple kChannelEntry{
    FrequencyDigits{kRxFrequencyAt, &C::RxFrequency, BcdKind::Receive, "receive frequency"},
    FrequencyDigits{4, &C::Offset, BcdKind::Offset, "offset"},
    Byte{8, &C::Step, "Step"},
    Bits{9, 0, 1, &C::TxInhibit, "TxInhibit"},
    Bits{9, 1, 1, &C::Reverse, "Reverse"},
    Bits{9, 2, 2, &C::Bandwidth, "Bandwidth"},
    Bits{9, 4, 1, &C::TxDcsInverted, "TxDcsInverted"},
    Bits{9, 6, 1, &C::PttIdDecode, "PttIdDecode"},
    Fixed{9, 7, 1},
    Bits{10, 0, 2, &C::ShiftDirection, "ShiftDirection", ShiftFromImage, ShiftToImage, 2},
    Bits{10, 2, 2, &C::TxPower, "TxPower", PowerFromImage},
    Bits{10, 4, 1, &C::RxDcsInverted, "RxDcsInverted"},
    Bits{10, 6, 1, &C::Compander, "Compander"},
    Bits{10, 7, 1, &C::TalkAround, "TalkAround"},
    Bits{11, 0, 2, &C::TxToneType, "TxToneType"},
    Bits{11, 2, 2, &C::RxToneType, "RxToneType"},
    Bits{11, 4, 4, &C::DtmfCode, "DtmfCode"},
    Byte{12, &C::TxCtcss, "TxCtcss"},
    Byte{13, &C::RxCtcss, "RxCtcss"},
    DcsCode{14, 9, 5, &C::TxDcsCode, &C::TxDcsHigh, "TxDcsCode"},
    DcsCode{15, 10, 5, &C::RxDcsCode, &C::RxDcsHigh, "RxDcsCode"},
    Byte{16, &C::OptionalSignal, "OptionalSignal"},
    Byte{17, &C::TwoToneCall, "TwoToneCall"},
    Byte{18, &C::FiveToneCall, "FiveToneCall"},
    ChannelName{19, 7},
    Byte{26, &C::BusyLock, "BusyLock"},
    Byte{27, &C::RadioExtra, "RadioExtra"},
    Bits{28, 0, 4, &C::DtmfPttId, "DtmfPttId"},
    Bits{28, 4, 4, &C::FiveTonePttId, "FiveTonePttId"},
    Byte{29, &C::SquelchMode, "SquelchMode"},
    Byte{30, &C::Scrambler, "Scrambler"},
};

// A memory channel's entry in the PTT-ID code table.
constexpr std::tuple kChannelPttId{PttIdDigits{}};

// ---- band limits ------------------------------------------------------------

// A limit in MHz as eight packed digits in units of 100 Hz, four bytes;
// bytes that are not decimal digits read as the limit's default.
struct BandLimit {
    int offset;
    double BandPlan::*member;
    const char* name;
    int index;

    static std::optional<Bcd4> ToBcd(double mhz)
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
    Problem check(const BandPlan& b) const
    {
        if (!ToBcd(b.*member))
            return std::string("band limit ") + name + " " + ShortDecimal(b.*member) +
                   " MHz cannot be sent to the radio";
        return std::nullopt;
    }
    void put(ImageWriter& w, const BandPlan& b, Notices&) const { w.setBcd(offset, *ToBcd(b.*member)); }
    template <class View>
    void get(View& v, BandPlan& b) const
    {
        std::string digits;
        for (uint8_t byte : v.bcd(offset))
            digits += ByteToHex2(byte);
        b.*member = IsDecimalDigits(digits) ? *ParseDecimal(digits.substr(0, 4) + "." + digits.substr(4, 4))
                                            : DefaultBandLimit(index);
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 32}); }
};

constexpr std::tuple kBandLimitFields{
    BandLimit{0, &BandPlan::RxLow, "RxLow", 0},
    BandLimit{4, &BandPlan::RxHigh, "RxHigh", 1},
    BandLimit{8, &BandPlan::TxLow, "TxLow", 2},
    BandLimit{12, &BandPlan::TxHigh, "TxHigh", 3},
};

std::string Describe(const ChannelRecord& c)
{
    return "channel " + ChannelLabel(c.Number) + " (Number " + std::to_string(c.Number) + ")";
}

Result<void> EncodeChannel(ChannelRecord& c, RadioImage& image, Notices& notices)
{
    if (c.Number < 1 || c.Number > im::kSlotCount)
        return CodecError(kStepFrequency, "channel Number " + std::to_string(c.Number) + " is outside 1-203");
    const int slot = c.Number - 1;
    const bool memory = slot < im::kMemoryChannels.count;

    auto problem = CheckFields(kChannelEntry, c);
    if (!problem && memory)
        problem = CheckFields(kChannelPttId, c);
    if (problem)
        return CodecError(kStepFrequency, Describe(c) + ": " + *problem);

    // The programmed and scan-skip bitmaps keep one bit a slot outside the
    // entries, so they are not rows of the entry's table.
    if (slot < im::kBitmapSlots) {
        ImageWriter present(image, im::kChannelPresentBitmap);
        ImageWriter skip(image, im::kChannelScanSkipBitmap);
        if (c.InUse == 1)
            present.setMapBit(slot, false);
        if (c.ScanSkip == 0)
            skip.setMapBit(slot, false);
    }

    // The record keeps bit 8 of each DCS code as the radio does.
    c.TxDcsHigh = static_cast<int16_t>(c.TxDcsCode / 256);
    c.RxDcsHigh = static_cast<int16_t>(c.RxDcsCode / 256);

    ImageWriter entry(image, im::ChannelEntry(slot));
    PutFields(kChannelEntry, entry, c, notices);
    if (memory) {
        ImageWriter code(image, im::kChannelPttIdCodes.entry(slot));
        PutFields(kChannelPttId, code, c, notices);
    }
    return {};
}

} // namespace

std::vector<BlockLayout> ChannelLayouts()
{
    return {DescribeBlock("channel entry", im::kChannelEntrySize, kChannelEntry),
            DescribeBlock("channel PTT-ID code", im::kChannelPttIdCodes.size, kChannelPttId),
            DescribeBlock("band limits", im::kBandLimits.size, kBandLimitFields)};
}

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
    std::get<ChannelName>(kChannelEntry).write(entry, trimmedName, notices);
}

Result<void> SetCommDataByFrequency(Codeplug& cp, RadioImage& image, std::vector<std::string>& notices)
{
    // Limits go out one by one; those before a bad one stay written.
    ImageWriter limits(image, im::kBandLimits);
    Problem problem;
    std::apply(
        [&](const auto&... f) {
            (void)(... || (problem = EncodeFields(std::tuple{f}, limits, cp.body.Band)).has_value());
        },
        kBandLimitFields);
    if (problem)
        return CodecError(kStepFrequency, *problem);

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
    DecodeFields(kBandLimitFields, limits, cp.body.Band);

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
        if (BcdToDigits(entry.bcd(kRxFrequencyAt), BcdKind::Receive) == kNoFrequencyDigits)
            continue;
        DecodeFields(kChannelEntry, entry, c);

        if (slot < im::kMemoryChannels.count) {
            ImageWriter code(image, im::kChannelPttIdCodes.entry(slot));
            DecodeFields(kChannelPttId, code, c);
        }
        cp.channels[position] = c;
        cp.body.ChannelCount = static_cast<int16_t>(position + 1);
    }
}

} // namespace qtx
