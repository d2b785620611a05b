#include "image/five_tone_codec.h"

#include "convert/code_text.h"
#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

#include <algorithm>

namespace qtx {

namespace im = imagemap;
namespace ft = imagemap::fivetone;
using namespace image;
using F = FiveToneSettings;
using Code = FiveToneCode;
using Info = FiveToneInfoCode;

namespace {

// The stored code made exactly n digits long: missing digits are the repeat
// tone "E".
std::string CodeDigits(const std::string& trimmed, int n)
{
    std::string t = trimmed;
    if (t.size() < static_cast<size_t>(n))
        t.append(n - t.size(), 'E');
    t.resize(n);
    return t;
}

std::string TooLong(int n, int maxDigits)
{
    return "code length " + std::to_string(n) + " is more than the " + std::to_string(maxDigits) +
           " digits the radio holds";
}

template <size_t N>
std::string NotHex(const FixedText<N>& code)
{
    return "code " + QuoteText(code.str()) + " holds a character that is not a hexadecimal digit";
}

// The own ID: five bytes, one decimal digit each, the first OwnIdLength
// taken from the stored code and the rest zeros. Only the five bytes are
// read, whatever length the radio claims.
struct FiveToneOwnId {
    int offset;
    int lengthOffset;

    Problem check(const F& f) const
    {
        for (int i = 0; i < ft::kOwnIdSize && i < f.OwnIdLength; ++i) {
            const char c = f.OwnCode.at(i);
            if (c < '0' || c > '9')
                return "own ID " + QuoteText(f.OwnCode.str()) + " has no digit at position " +
                       std::to_string(i + 1) + " of its length " + std::to_string(f.OwnIdLength);
        }
        return std::nullopt;
    }
    void put(ImageWriter& w, const F& f, Notices&) const
    {
        for (int i = 0; i < ft::kOwnIdSize; ++i)
            w.setByte(offset + i, static_cast<uint8_t>(i < f.OwnIdLength ? f.OwnCode.at(i) - '0' : 0));
    }
    template <class View>
    void get(View& v, F& f) const
    {
        std::string id;
        const int digits = std::min<int>(v.byte(lengthOffset), ft::kOwnIdSize);
        for (int i = 0; i < digits; ++i)
            id += std::to_string(v.byte(offset + i));
        id += '\0';
        f.OwnCode.setPadded(id.substr(0, f.OwnCode.size));
    }
    void spans(const SpanSink& sink) const { sink({"OwnCode", offset, 0, 8 * ft::kOwnIdSize}); }
};

// A code's length byte and its packed digits, first digit in the high
// nibble, an odd count closed with "E". A length beyond the room is refused
// rather than spilled into the next area, and read back cut to the room.
struct FiveToneDigits {
    int lengthOffset;
    int digitsOffset;
    int maxDigits;

    std::string sent(const Code& c) const
    {
        std::string t = CodeDigits(c.Code.trimmed(), c.CodeLength);
        if (c.CodeLength % 2 != 0)
            t += 'E';
        return t;
    }
    Problem check(const Code& c) const
    {
        if (c.CodeLength > maxDigits)
            return TooLong(c.CodeLength, maxDigits);
        if (!IsHexDigits(sent(c)))
            return NotHex(c.Code);
        return std::nullopt;
    }
    void put(ImageWriter& w, const Code& c, Notices&) const
    {
        w.setByte(lengthOffset, c.CodeLength);
        w.setHexDigits(digitsOffset, sent(c));
    }
    template <class View>
    void get(View& v, Code& c) const
    {
        const int n = std::min<int>(v.byte(lengthOffset), maxDigits);
        c.CodeLength = static_cast<uint8_t>(n);
        c.Code.setTerminated(v.hexDigits(digitsOffset, (n + 1) / 2).substr(0, n));
    }
    void spans(const SpanSink& sink) const
    {
        sink({"CodeLength", lengthOffset, 0, 8});
        sink({"Code", digitsOffset, 0, 8 * ((maxDigits + 1) / 2)});
    }
};

// An information code's length byte (0xFF reads as 0) and one digit per
// byte; a read shows each byte in hexadecimal without a leading zero.
struct InfoDigits {
    int lengthOffset;
    int digitsOffset;
    int maxDigits;

    Problem check(const Info& info) const
    {
        if (info.CodeLength > maxDigits)
            return TooLong(info.CodeLength, maxDigits);
        if (!IsHexDigits(CodeDigits(info.Code.trimmed(), info.CodeLength)))
            return NotHex(info.Code);
        return std::nullopt;
    }
    void put(ImageWriter& w, const Info& info, Notices&) const
    {
        const std::string t = CodeDigits(info.Code.trimmed(), info.CodeLength);
        w.setByte(lengthOffset, info.CodeLength);
        for (int i = 0; i < info.CodeLength; ++i)
            w.setByte(digitsOffset + i, static_cast<uint8_t>(HexDigitValue(t[i])));
    }
    template <class View>
    void get(View& v, Info& info) const
    {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const uint8_t length = v.byte(lengthOffset);
        const int n = std::min<int>(length == 0xFF ? 0 : length, maxDigits);
        info.CodeLength = static_cast<uint8_t>(n);
        std::string code;
        for (int i = 0; i < n; ++i) {
            const uint8_t b = v.byte(digitsOffset + i);
            if (b >= 16)
                code += kHex[b >> 4];
            code += kHex[b & 0x0F];
        }
        info.Code.setTerminated(code.substr(0, n));
    }
    void spans(const SpanSink& sink) const
    {
        sink({"CodeLength", lengthOffset, 0, 8});
        sink({"Code", digitsOffset, 0, 8 * maxDigits});
    }
};

int ToneLengthTo(int ms) { return ToneLengthToImage(ms); }
int ToneLengthFrom(int b) { return ToneLengthFromImage(static_cast<uint8_t>(b)); }
int ZeroForFF(int b) { return b == 0xFF ? 0 : b; }

// The decode time, kept outside the 5-tone record.
struct DecodeTime {
    uint8_t value = 0;
};

// Byte 0x0A is not carried.
constexpr std::tuple kFiveToneHeader{
    Byte{ft::kHeaderReserved, &F::HeaderReserved, "HeaderReserved"},
    Byte{ft::kDecodeResponse, &F::DecodeResponse, "DecodeResponse"},
    Byte{ft::kStandard, &F::Standard, "Standard"},
    Byte{ft::kOwnIdLength, &F::OwnIdLength, "OwnIdLength"},
    Byte{ft::kToneLength, &F::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
    FiveToneOwnId{ft::kOwnId, ft::kOwnIdLength},
    Byte{ft::kSetting60081, &F::Setting60081, "Setting60081"},
    Byte{ft::kSetting60308, &F::Setting60308, "Setting60308"},
    Byte{ft::kSetting60309, &F::Setting60309, "Setting60309"},
    Byte{ft::kSetting60307, &F::Setting60307, "Setting60307"},
    Byte{ft::kFirstDigitDelay, &F::FirstDigitDelay, "FirstDigitDelay"},
    Byte{ft::kSideTone, &F::SideTone, "SideTone"},
    Byte{ft::kValue6, &F::Value6, "Value6"},
    Byte{ft::kPauseCode, &F::PauseCode, "PauseCode"},
    Byte{ft::kPauseTime, &F::PauseTime, "PauseTime"},
    Byte{ft::kFirstCodeDelay, &F::FirstCodeDelay, "FirstCodeDelay"},
};
constexpr std::tuple kDecodeTime{Byte{ft::kCodeFormat, &DecodeTime::value, "CodeFormat"}};

// Entries keep their 16 bits as they are, a value above 32767 included.
constexpr std::tuple kUserTones{WordRun<F, int16_t, im::kUserToneCount>{0, &F::UserToneTable, "UserToneTable"}};

// PTT-ID codes; byte 0 is not carried.
constexpr std::tuple kPttIdCode{
    Byte{ft::kCodeStandard, &Code::Standard, "Standard"},
    FiveToneDigits{ft::kCodeLength, ft::kCodeDigits, im::kFiveTonePttIdBegin.maxDigits},
    Byte{ft::kCodeToneLength, &Code::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
};

// Call entries: a PTT-ID code's fields with room for more digits, and a
// name; whether an entry is in use lives in the empty-entry bitmap.
constexpr std::tuple kCallEntry{
    Byte{ft::kCodeStandard, &Code::Standard, "Standard"},
    FiveToneDigits{ft::kCodeLength, ft::kCodeDigits, im::FiveToneCall(0).maxDigits},
    Byte{ft::kCodeToneLength, &Code::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
    Text{ft::kCallName, ft::kCallNameSize, &Code::Name, "Name"},
};

// An empty name read back leaves the stored one.
constexpr std::tuple kInfoCode{
    Byte{ft::kInfoFunction, &Info::DecodeFunction, "DecodeFunction", 255, nullptr, ZeroForFF},
    Byte{ft::kInfoResponse, &Info::DecodeResponse, "DecodeResponse", 255, nullptr, ZeroForFF},
    InfoDigits{ft::kInfoLength, ft::kInfoDigits, ft::kInfoMaxDigits},
    Text{ft::kInfoName, ft::kInfoNameSize, &Info::Name, "Name", Pad::Zero, ReadAs::KeepIfEmpty},
};

template <class R, class... Rows>
Problem Put(const std::tuple<Rows...>& table, im::Area area, const R& r, RadioImage& image)
{
    ImageWriter w(image, area);
    return EncodeFields(table, w, r);
}

template <class R, class... Rows>
void Get(const std::tuple<Rows...>& table, im::Area area, const RadioImage& image, R& r)
{
    ImageReader reader(image, area);
    DecodeFields(table, reader, r);
}

} // namespace

std::vector<BlockLayout> FiveToneLayouts()
{
    return {DescribeBlock("5-tone header", im::kFiveToneHeader.size, std::tuple_cat(kFiveToneHeader, kDecodeTime)),
            DescribeBlock("5-tone user tones", im::kUserToneTable.size, kUserTones),
            DescribeBlock("5-tone PTT-ID code", im::kFiveTonePttIdBegin.area.size, kPttIdCode),
            DescribeBlock("5-tone call entry", im::kFiveToneCalls.size, kCallEntry),
            DescribeBlock("5-tone information code", im::kFiveToneInfoCodes.size, kInfoCode)};
}

Result<SentFiveToneCode> ResolveSelfId(std::string_view code, int codeLength, std::string_view ownId)
{
    const std::string trimmed = TrimFixed(code);
    const bool marked = trimmed.size() >= kOwnIdMark.size() && trimmed.ends_with(kOwnIdMark) &&
                        codeLength == static_cast<int>(trimmed.size());
    if (!marked)
        return SentFiveToneCode{trimmed, codeLength};
    const bool ownIdOk =
        ownId.size() == static_cast<size_t>(ft::kOwnIdSize) && std::all_of(ownId.begin(), ownId.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
    if (!ownIdOk)
        return CodecError(kStepFiveTone, "code " + QuoteText(trimmed) + " needs the own ID, which is " +
                                             QuoteText(ownId) + " and not five digits");
    const std::string withId = trimmed.substr(0, trimmed.size() - kOwnIdMark.size()) + std::string(ownId);
    std::string sent = EncodeFiveToneCode(withId, ownId);
    const int length = static_cast<int>(sent.size());
    return SentFiveToneCode{std::move(sent), length};
}

uint8_t ToneLengthToImage(int milliseconds)
{
    return static_cast<uint8_t>(milliseconds >= 30 && milliseconds <= 100 ? milliseconds / 10 : 7);
}

uint8_t ToneLengthFromImage(uint8_t b) { return static_cast<uint8_t>(b >= 3 && b <= 10 ? b * 10 : 70); }

Result<void> SetCommDataBy5Tone(const FiveToneSettings& f, uint8_t codeFormat, RadioImage& image)
{
    auto fail = [](const std::string& what) { return CodecError(kStepFiveTone, "5-tone " + what); };

    if (auto problem = Put(kFiveToneHeader, im::kFiveToneHeader, f, image))
        return fail(*problem);
    (void)Put(kDecodeTime, im::kFiveToneHeader, DecodeTime{codeFormat}, image);
    (void)Put(kUserTones, im::kUserToneTable, f, image);

    // The own ID as the header carries it, for codes with the own-ID mark.
    const std::string ownId = f.OwnCode.str().substr(0, std::min<size_t>(f.OwnIdLength, f.OwnCode.size));
    auto resolved = [&](const Code& c) -> Result<Code> {
        auto sent = ResolveSelfId(c.Code.str(), c.CodeLength, ownId);
        if (!sent)
            return sent.error();
        Code out = c;
        out.Code.setTerminated(sent.value().code);
        out.CodeLength = static_cast<uint8_t>(sent.value().length);
        return out;
    };

    // Codes go out one by one; those before a bad one stay written.
    for (auto [name, code, area] : {std::tuple{"PttIdBegin ", &f.PttIdBegin, im::kFiveTonePttIdBegin.area},
                                    std::tuple{"PttIdEnd ", &f.PttIdEnd, im::kFiveTonePttIdEnd.area}}) {
        const auto sent = resolved(*code);
        if (!sent)
            return fail(name + sent.error().detail);
        if (auto problem = Put(kPttIdCode, area, sent.value(), image))
            return fail(name + *problem);
    }
    for (int j = 0; j < im::kFiveToneInfoCodes.count; ++j)
        if (auto problem = Put(kInfoCode, im::kFiveToneInfoCodes.entry(j), f.InfoCodes[j], image))
            return fail("information code " + std::to_string(j + 1) + " " + *problem);

    ImageWriter bitmap(image, im::kFiveToneEmptyBitmap);
    for (int k = 0; k < im::kFiveToneCalls.count; ++k) {
        const FiveToneCode& call = f.CallList[k];
        if (call.Empty == 0)
            bitmap.setMapBit(k, false);
        const std::string name = "call entry " + std::to_string(k) + " ";
        const auto sent = resolved(call);
        if (!sent)
            return fail(name + sent.error().detail);
        if (auto problem = Put(kCallEntry, im::FiveToneCall(k).area, sent.value(), image))
            return fail(name + *problem);
    }
    return {};
}

void ParseFiveTone(const RadioImage& image, FiveToneSettings& live, uint8_t& codeFormat)
{
    FiveToneSettings f = live;
    Get(kFiveToneHeader, im::kFiveToneHeader, image, f);
    DecodeTime time;
    Get(kDecodeTime, im::kFiveToneHeader, image, time);
    codeFormat = time.value;
    Get(kUserTones, im::kUserToneTable, image, f);

    Get(kPttIdCode, im::kFiveTonePttIdBegin.area, image, f.PttIdBegin);
    Get(kPttIdCode, im::kFiveTonePttIdEnd.area, image, f.PttIdEnd);
    for (int j = 0; j < im::kFiveToneInfoCodes.count; ++j)
        Get(kInfoCode, im::kFiveToneInfoCodes.entry(j), image, f.InfoCodes[j]);

    ImageReader bitmap(image, im::kFiveToneEmptyBitmap);
    for (int k = 0; k < im::kFiveToneCalls.count; ++k) {
        FiveToneCode& call = f.CallList[k];
        call.Empty = bitmap.mapBit(k) ? 1 : 0;
        Get(kCallEntry, im::FiveToneCall(k).area, image, call);
    }
    live = f;
}

} // namespace qtx
