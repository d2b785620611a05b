#include "image/five_tone_codec.h"

#include "convert/code_text.h"
#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

#include <algorithm>

namespace qtx {

namespace im = imagemap;
using namespace image;
using F = FiveToneSettings;
using Code = FiveToneCode;
using Info = FiveToneInfoCode;

constexpr int kOwnIdSize = 5;

namespace {

// The own ID: five bytes, one decimal digit each, the first OwnIdLength
// taken from the stored code and the rest zeros. Only the five bytes are
// read, whatever length the radio claims.
struct FiveToneOwnId {
    int offset;
    int lengthOffset;

    Problem check(const F& f) const
    {
        for (int i = 0; i < kOwnIdSize && i < f.OwnIdLength; ++i) {
            const char c = f.OwnCode.at(i);
            if (c < '0' || c > '9')
                return "own ID " + QuoteText(f.OwnCode.str()) + " has no digit at position " +
                       std::to_string(i + 1) + " of its length " + std::to_string(f.OwnIdLength);
        }
        return std::nullopt;
    }
    void put(ImageWriter& w, const F& f, Notices&) const
    {
        for (int i = 0; i < kOwnIdSize; ++i)
            w.setByte(offset + i, static_cast<uint8_t>(i < f.OwnIdLength ? f.OwnCode.at(i) - '0' : 0));
    }
    template <class View>
    void get(View& v, F& f) const
    {
        std::string id;
        const int digits = std::min<int>(v.byte(lengthOffset), kOwnIdSize);
        for (int i = 0; i < digits; ++i)
            id += std::to_string(v.byte(offset + i));
        id += '\0';
        f.OwnCode.setPadded(id.substr(0, f.OwnCode.size));
    }
    void spans(const SpanSink& sink) const { sink({"OwnCode", offset, 0, 8 * kOwnIdSize}); }
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
    Byte{0x00, &F::HeaderReserved, "HeaderReserved"},
    Byte{0x01, &F::DecodeResponse, "DecodeResponse"},
    Byte{0x02, &F::Standard, "Standard"},
    Byte{0x03, &F::OwnIdLength, "OwnIdLength"},
    Byte{0x04, &F::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
    FiveToneOwnId{0x05, 0x03},
    Byte{0x0B, &F::Setting60081, "Setting60081"},
    Byte{0x0C, &F::Setting60308, "Setting60308"},
    Byte{0x0D, &F::Setting60309, "Setting60309"},
    Byte{0x0E, &F::Setting60307, "Setting60307"},
    Byte{0x0F, &F::FirstDigitDelay, "FirstDigitDelay"},
    Byte{0x10, &F::SideTone, "SideTone"},
    Byte{0x11, &F::Value6, "Value6"},
    Byte{0x12, &F::PauseCode, "PauseCode"},
    Byte{0x13, &F::PauseTime, "PauseTime"},
    Byte{0x15, &F::FirstCodeDelay, "FirstCodeDelay"},
};
constexpr std::tuple kDecodeTime{Byte{0x14, &DecodeTime::value, "CodeFormat"}};

// Entries keep their 16 bits as they are, a value above 32767 included.
constexpr std::tuple kUserTones{WordRun<F, int16_t, im::kUserToneCount>{0, &F::UserToneTable, "UserToneTable"}};

// PTT-ID codes; byte 0 is not carried.
constexpr std::tuple kPttIdCode{
    Byte{1, &Code::Standard, "Standard"},
    DigitCode{2, 4, im::kFiveTonePttIdBegin.maxDigits, &Code::Code, &Code::CodeLength, 'E'},
    Byte{3, &Code::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
};

// Call entries: a PTT-ID code's fields with room for more digits, and a
// name; whether an entry is in use lives in the empty-entry bitmap.
constexpr std::tuple kCallEntry{
    Byte{1, &Code::Standard, "Standard"},
    DigitCode{2, 4, im::FiveToneCall(0).maxDigits, &Code::Code, &Code::CodeLength, 'E'},
    Byte{3, &Code::ToneLength, "ToneLength", 255, ToneLengthTo, ToneLengthFrom},
    Text{24, 7, &Code::Name, "Name"},
};

// An empty name read back leaves the stored one.
constexpr std::tuple kInfoCode{
    Byte{0, &Info::DecodeFunction, "DecodeFunction", 255, nullptr, ZeroForFF},
    Byte{1, &Info::DecodeResponse, "DecodeResponse", 255, nullptr, ZeroForFF},
    DigitCode{2, 3, 12, &Info::Code, &Info::CodeLength, 'E',
              Digits::OnePerByte, TooLong::Refuse, "hexadecimal digit", ZeroForFF},
    Text{16, 7, &Info::Name, "Name", Pad::Zero, ReadAs::KeepIfEmpty},
};

// The code areas in the order they go out, each with its table and its name
// in messages; call is the call entry's number, -1 for the other codes.
template <class Settings, class Fn>
void ForEachFiveToneCode(Settings& f, Fn&& fn)
{
    fn("PttIdBegin", kPttIdCode, im::kFiveTonePttIdBegin.area, f.PttIdBegin, -1);
    fn("PttIdEnd", kPttIdCode, im::kFiveTonePttIdEnd.area, f.PttIdEnd, -1);
    for (int j = 0; j < im::kFiveToneInfoCodes.count; ++j)
        fn("information code " + std::to_string(j + 1), kInfoCode, im::kFiveToneInfoCodes.entry(j), f.InfoCodes[j], -1);
    for (int k = 0; k < im::kFiveToneCalls.count; ++k)
        fn("call entry " + std::to_string(k), kCallEntry, im::FiveToneCall(k).area, f.CallList[k], k);
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
    if (ownId.size() != static_cast<size_t>(kOwnIdSize) || !IsDecimalDigits(ownId))
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
    if (auto problem = EncodeArea(kFiveToneHeader, image, im::kFiveToneHeader, f))
        return CodecError(kStepFiveTone, "5-tone " + *problem);
    (void)EncodeArea(kDecodeTime, image, im::kFiveToneHeader, DecodeTime{codeFormat});
    (void)EncodeArea(kUserTones, image, im::kUserToneTable, f);

    // Codes go out one by one; those before a bad one stay written. Codes
    // with the own-ID mark go out with the own ID the header carries.
    const std::string ownId = f.OwnCode.str().substr(0, std::min<size_t>(f.OwnIdLength, f.OwnCode.size));
    ImageWriter bitmap(image, im::kFiveToneEmptyBitmap);
    Problem problem;
    ForEachFiveToneCode(f, [&](const std::string& name, const auto& table, im::Area area, const auto& code, int call) {
        if (problem)
            return;
        auto sent = code;
        if constexpr (std::is_same_v<decltype(sent), Code>) {
            if (call >= 0 && code.Empty == 0)
                bitmap.setMapBit(call, false);
            const auto resolved = ResolveSelfId(code.Code.str(), code.CodeLength, ownId);
            if (!resolved) {
                problem = name + " " + resolved.error().detail;
                return;
            }
            sent.Code.setTerminated(resolved.value().code);
            sent.CodeLength = static_cast<uint8_t>(resolved.value().length);
        }
        if (auto p = EncodeArea(table, image, area, sent))
            problem = name + " " + *p;
    });
    if (problem)
        return CodecError(kStepFiveTone, "5-tone " + *problem);
    return {};
}

void ParseFiveTone(const RadioImage& image, FiveToneSettings& live, uint8_t& codeFormat)
{
    FiveToneSettings f = live;
    DecodeArea(kFiveToneHeader, image, im::kFiveToneHeader, f);
    DecodeTime time;
    DecodeArea(kDecodeTime, image, im::kFiveToneHeader, time);
    codeFormat = time.value;
    DecodeArea(kUserTones, image, im::kUserToneTable, f);

    ImageReader bitmap(image, im::kFiveToneEmptyBitmap);
    ForEachFiveToneCode(f, [&](const std::string&, const auto& table, im::Area area, auto& code, int call) {
        if constexpr (std::is_same_v<std::decay_t<decltype(code)>, Code>)
            if (call >= 0)
                code.Empty = bitmap.mapBit(call) ? 1 : 0;
        DecodeArea(table, image, area, code);
    });
    live = f;
}

} // namespace qtx
