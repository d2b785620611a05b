#include "image/five_tone_codec.h"

#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/image_access.h"
#include "image/image_map.h"

#include <algorithm>
#include <optional>

namespace qtx {

namespace im = imagemap;
namespace ft = imagemap::fivetone;

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

std::optional<std::string> PutFiveToneCode(RadioImage& image, const im::FiveToneCodeArea& where,
                                           const FiveToneCode& code, bool withName)
{
    const int n = code.CodeLength;
    if (n > where.maxDigits)
        return "code length " + std::to_string(n) + " is more than the " + std::to_string(where.maxDigits) +
               " digits the radio holds";
    std::string t = CodeDigits(code.Code.trimmed(), n);
    if (n % 2 != 0)
        t += 'E';

    if (!IsHexDigits(t))
        return "code " + QuoteText(code.Code.str()) + " holds a character that is not a hexadecimal digit";
    ImageWriter w(image, where.area);
    w.setByte(ft::kCodeStandard, code.Standard);
    w.setByte(ft::kCodeLength, static_cast<uint8_t>(n));
    w.setByte(ft::kCodeToneLength, ToneLengthToImage(code.ToneLength));
    w.setHexDigits(ft::kCodeDigits, t);
    if (withName) {
        const std::string name = code.Name.trimmed();
        w.setChars(ft::kCallName, ft::kCallNameSize, name, name.empty() ? 0x00 : 0x20);
    }
    return std::nullopt;
}

void GetFiveToneCode(const RadioImage& image, const im::FiveToneCodeArea& where, FiveToneCode& code, bool withName)
{
    ImageReader r(image, where.area);
    const int n = std::min<int>(r.byte(ft::kCodeLength), where.maxDigits);
    code.Standard = r.byte(ft::kCodeStandard);
    code.CodeLength = static_cast<uint8_t>(n);
    code.ToneLength = ToneLengthFromImage(r.byte(ft::kCodeToneLength));
    code.Code.setTerminated(r.hexDigits(ft::kCodeDigits, (n + 1) / 2).substr(0, n));
    if (withName) {
        const auto name = r.collect(ft::kCallName, ft::kCallNameSize, true, true);
        StoreCollected(code.Name, name.text, name.stopped);
    }
}

std::optional<std::string> PutInfoCode(RadioImage& image, int j, const FiveToneInfoCode& info)
{
    const int n = info.CodeLength;
    if (n > ft::kInfoMaxDigits)
        return "code length " + std::to_string(n) + " is more than the " + std::to_string(ft::kInfoMaxDigits) +
               " digits the radio holds";
    const std::string t = CodeDigits(info.Code.trimmed(), n);
    if (!IsHexDigits(t))
        return "code " + QuoteText(info.Code.str()) + " holds a character that is not a hexadecimal digit";

    ImageWriter w(image, im::kFiveToneInfoCodes.entry(j));
    w.setByte(ft::kInfoFunction, info.DecodeFunction);
    w.setByte(ft::kInfoResponse, info.DecodeResponse);
    w.setByte(ft::kInfoLength, static_cast<uint8_t>(n));
    for (int i = 0; i < n; ++i)
        w.setByte(ft::kInfoDigits + i, static_cast<uint8_t>(HexDigitValue(t[i])));
    w.setChars(ft::kInfoName, ft::kInfoNameSize, info.Name.trimmed(), 0x00);
    return std::nullopt;
}

uint8_t ZeroForFF(uint8_t b) { return b == 0xFF ? 0 : b; }

void GetInfoCode(const RadioImage& image, int j, FiveToneInfoCode& info)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    ImageReader r(image, im::kFiveToneInfoCodes.entry(j));
    info.DecodeFunction = ZeroForFF(r.byte(ft::kInfoFunction));
    info.DecodeResponse = ZeroForFF(r.byte(ft::kInfoResponse));
    const int n = std::min<int>(ZeroForFF(r.byte(ft::kInfoLength)), ft::kInfoMaxDigits);
    info.CodeLength = static_cast<uint8_t>(n);
    // Each digit byte in hexadecimal without a leading zero.
    std::string code;
    for (int i = 0; i < n; ++i) {
        const uint8_t b = r.byte(ft::kInfoDigits + i);
        if (b >= 16)
            code += kHex[b >> 4];
        code += kHex[b & 0x0F];
    }
    info.Code.setTerminated(code.substr(0, n));
    const auto name = r.collect(ft::kInfoName, ft::kInfoNameSize, true, true);
    if (!name.text.empty())
        info.Name.setTerminated(name.text);
}

struct HeaderValue {
    int offset;
    int value;
    const char* name;
};

} // namespace

uint8_t ToneLengthToImage(int milliseconds)
{
    return static_cast<uint8_t>(milliseconds >= 30 && milliseconds <= 100 ? milliseconds / 10 : 7);
}

uint8_t ToneLengthFromImage(uint8_t b) { return static_cast<uint8_t>(b >= 3 && b <= 10 ? b * 10 : 70); }

Result<void> SetCommDataBy5Tone(const FiveToneSettings& f, uint8_t codeFormat, RadioImage& image)
{
    auto fail = [](const std::string& what) { return CodecError(kStepFiveTone, "5-tone " + what); };

    std::string ownId;
    for (int i = 0; i < ft::kOwnIdSize; ++i) {
        if (i >= f.OwnIdLength) {
            ownId += '0';
            continue;
        }
        const char c = f.OwnCode.at(i);
        if (c < '0' || c > '9')
            return fail("own ID " + QuoteText(f.OwnCode.str()) + " has no digit at position " +
                        std::to_string(i + 1) + " of its length " + std::to_string(f.OwnIdLength));
        ownId += c;
    }
    const HeaderValue values[] = {
        {ft::kFirstDigitDelay, f.FirstDigitDelay, "FirstDigitDelay"},
        {ft::kSideTone, f.SideTone, "SideTone"},
        {ft::kValue6, f.Value6, "Value6"},
        {ft::kPauseCode, f.PauseCode, "PauseCode"},
        {ft::kPauseTime, f.PauseTime, "PauseTime"},
        {ft::kFirstCodeDelay, f.FirstCodeDelay, "FirstCodeDelay"},
    };
    for (const HeaderValue& v : values)
        if (v.value < 0 || v.value > 255)
            return fail(std::string(v.name) + " " + std::to_string(v.value) + " is outside 0-255");

    ImageWriter h(image, im::kFiveToneHeader);
    h.setByte(ft::kHeaderReserved, f.HeaderReserved);
    h.setByte(ft::kDecodeResponse, f.DecodeResponse);
    h.setByte(ft::kStandard, f.Standard);
    h.setByte(ft::kOwnIdLength, f.OwnIdLength);
    h.setByte(ft::kToneLength, ToneLengthToImage(f.ToneLength));
    for (int i = 0; i < ft::kOwnIdSize; ++i)
        h.setByte(ft::kOwnId + i, static_cast<uint8_t>(ownId[i] - '0'));
    h.setByte(ft::kSetting60081, f.Setting60081);
    h.setByte(ft::kSetting60308, f.Setting60308);
    h.setByte(ft::kSetting60309, f.Setting60309);
    h.setByte(ft::kSetting60307, f.Setting60307);
    for (const HeaderValue& v : values)
        h.setByte(v.offset, static_cast<uint8_t>(v.value));
    h.setByte(ft::kCodeFormat, codeFormat);

    // Entries keep their 16 bits as they are, a value above 32767 included.
    ImageWriter tones(image, im::kUserToneTable);
    for (int i = 0; i < im::kUserToneCount; ++i)
        tones.setU16le(im::kUserToneSize * i, static_cast<uint16_t>(f.UserToneTable[i]));

    if (auto problem = PutFiveToneCode(image, im::kFiveTonePttIdBegin, f.PttIdBegin, false))
        return fail("PttIdBegin " + *problem);
    if (auto problem = PutFiveToneCode(image, im::kFiveTonePttIdEnd, f.PttIdEnd, false))
        return fail("PttIdEnd " + *problem);
    for (int j = 0; j < im::kFiveToneInfoCodes.count; ++j)
        if (auto problem = PutInfoCode(image, j, f.InfoCodes[j]))
            return fail("information code " + std::to_string(j + 1) + " " + *problem);

    ImageWriter bitmap(image, im::kFiveToneEmptyBitmap);
    for (int k = 0; k < im::kFiveToneCalls.count; ++k) {
        const FiveToneCode& call = f.CallList[k];
        if (call.Empty == 0)
            bitmap.setMapBit(k, false);
        if (auto problem = PutFiveToneCode(image, im::FiveToneCall(k), call, true))
            return fail("call entry " + std::to_string(k) + " " + *problem);
    }
    return {};
}

void ParseFiveTone(const RadioImage& image, FiveToneSettings& live, uint8_t& codeFormat)
{
    FiveToneSettings f = live;
    ImageReader h(image, im::kFiveToneHeader);
    f.HeaderReserved = h.byte(ft::kHeaderReserved);
    f.DecodeResponse = h.byte(ft::kDecodeResponse);
    f.Standard = h.byte(ft::kStandard);
    f.OwnIdLength = h.byte(ft::kOwnIdLength);
    f.ToneLength = ToneLengthFromImage(h.byte(ft::kToneLength));

    // Only the five own-ID bytes are read, whatever length the radio claims.
    std::string ownId;
    const int digits = std::min<int>(f.OwnIdLength, ft::kOwnIdSize);
    for (int i = 0; i < digits; ++i)
        ownId += std::to_string(h.byte(ft::kOwnId + i));
    ownId += '\0';
    f.OwnCode.setPadded(ownId.substr(0, f.OwnCode.size));

    f.Setting60081 = h.byte(ft::kSetting60081);
    f.Setting60308 = h.byte(ft::kSetting60308);
    f.Setting60309 = h.byte(ft::kSetting60309);
    f.Setting60307 = h.byte(ft::kSetting60307);
    f.FirstDigitDelay = h.byte(ft::kFirstDigitDelay);
    f.SideTone = h.byte(ft::kSideTone);
    f.Value6 = h.byte(ft::kValue6);
    f.PauseCode = h.byte(ft::kPauseCode);
    f.PauseTime = h.byte(ft::kPauseTime);
    f.FirstCodeDelay = h.byte(ft::kFirstCodeDelay);
    codeFormat = h.byte(ft::kCodeFormat);

    ImageReader tones(image, im::kUserToneTable);
    for (int i = 0; i < im::kUserToneCount; ++i)
        f.UserToneTable[i] = static_cast<int16_t>(tones.u16le(im::kUserToneSize * i));

    GetFiveToneCode(image, im::kFiveTonePttIdBegin, f.PttIdBegin, false);
    GetFiveToneCode(image, im::kFiveTonePttIdEnd, f.PttIdEnd, false);
    for (int j = 0; j < im::kFiveToneInfoCodes.count; ++j)
        GetInfoCode(image, j, f.InfoCodes[j]);

    ImageReader bitmap(image, im::kFiveToneEmptyBitmap);
    for (int k = 0; k < im::kFiveToneCalls.count; ++k) {
        FiveToneCode& call = f.CallList[k];
        call.Empty = bitmap.mapBit(k) ? 1 : 0;
        GetFiveToneCode(image, im::FiveToneCall(k), call, true);
    }
    live = f;
}

} // namespace qtx
