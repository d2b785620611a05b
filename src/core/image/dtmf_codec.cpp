#include "image/dtmf_codec.h"

#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/image_access.h"
#include "image/image_map.h"

#include <optional>

namespace qtx {

namespace im = imagemap;
namespace dt = imagemap::dtmf;

namespace {

template <size_t N>
std::optional<std::string> PutDtmfCode(RadioImage& image, const im::DtmfCodeArea& where, const DtmfCode<N>& code)
{
    int n = code.Length;
    if (n < 0)
        return "length " + std::to_string(n) + " is negative";
    if (n > where.maxDigits)
        n = 0; // the radio cannot hold it; sent as an empty code
    std::string t = code.Code.trimmed();
    // Missing digits up to the length are zeros, so a length never reaches
    // past the text.
    if (t.size() < static_cast<size_t>(n))
        t.append(n - t.size(), '0');
    if (t.size() % 2 != 0)
        t += '0';
    const int bytes = (n + 1) / 2;
    ImageWriter w(image, where.area);
    if (!w.setHexDigits(0, std::string_view(t).substr(0, 2 * bytes)))
        return "code " + QuoteText(code.Code.str()) + " holds a character that is not a DTMF digit";
    w.setByte(where.lengthOffset, static_cast<uint8_t>(n));
    return std::nullopt;
}

template <size_t N>
void GetDtmfCode(const RadioImage& image, const im::DtmfCodeArea& where, DtmfCode<N>& code)
{
    ImageReader r(image, where.area);
    int n = r.byte(where.lengthOffset);
    if (n > where.maxDigits)
        n = 0;
    code.Code.setTerminated(r.hexDigits(0, (n + 1) / 2).substr(0, n));
    code.Length = static_cast<int16_t>(n);
}

struct DtmfValue {
    int offset;
    int value;
    const char* name;
};

bool AllDigits(std::string_view t)
{
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

Result<void> SetCommDataByDTMF(DtmfSettings& d, RadioImage& image)
{
    auto fail = [](const std::string& what) { return CodecError(kStepDtmf, "DTMF " + what); };

    // Corrections made here change only what is sent.
    const int separator = (d.Separator >= 10 && d.Separator <= 15) ? d.Separator : 14;
    const int groupCode = (d.GroupCode >= 10 && d.GroupCode <= 15) ? d.GroupCode : 0xFF;
    const int decodeResponse = d.DecodeResponse > 2 ? 0 : d.DecodeResponse;
    const int firstDigitDelay = d.FirstDigitDelay > 250 ? 0 : d.FirstDigitDelay;
    const DtmfValue values[] = {
        {dt::kSeparator, separator, "Separator"},
        {dt::kGroupCode, groupCode, "GroupCode"},
        {dt::kDecodeResponse, decodeResponse, "DecodeResponse"},
        {dt::kPreSendDelay, d.PreSendDelay, "PreSendDelay"},
        {dt::kFirstDigitDelay, firstDigitDelay, "FirstDigitDelay"},
        {dt::kResetTime, d.ResetTime, "ResetTime"},
        {dt::kSideTone, d.SideTone, "SideTone"},
        {dt::kPostSendDelay, d.PostSendDelay, "PostSendDelay"},
        {dt::kPauseTime, d.PauseTime, "PauseTime"},
    };
    for (const DtmfValue& v : values)
        if (v.value < 0 || v.value > 255)
            return fail(std::string(v.name) + " " + std::to_string(v.value) + " is outside 0-255");

    // A short own ID is padded on the left, so "7" stays the ID 7.
    std::string ownId = d.OwnId.trimmed();
    if (IsDecimalNumber(ownId)) {
        if (ownId.size() < static_cast<size_t>(dt::kOwnIdSize))
            ownId.insert(0, dt::kOwnIdSize - ownId.size(), '0');
    } else {
        ownId = kDefaultDtmfOwnId;
    }
    if (ownId.size() != static_cast<size_t>(dt::kOwnIdSize) || !AllDigits(ownId))
        return fail("own ID " + QuoteText(d.OwnId.str()) + " is not three digits");

    ImageWriter w(image, im::kDtmfSettings);
    for (const DtmfValue& v : values)
        w.setByte(v.offset, static_cast<uint8_t>(v.value));
    for (int i = 0; i < dt::kOwnIdSize; ++i)
        w.setByte(dt::kOwnId + i, static_cast<uint8_t>(ownId[i] - '0'));
    d.OwnId.setPadded(ownId);

    auto check = [&](const char* name, std::optional<std::string> problem) -> std::optional<Error> {
        if (problem)
            return fail(std::string(name) + " " + *problem);
        return std::nullopt;
    };
    if (auto e = check("PttIdBegin", PutDtmfCode(image, im::kDtmfPttIdBegin, d.PttIdBegin)))
        return *e;
    if (auto e = check("PttIdEnd", PutDtmfCode(image, im::kDtmfPttIdEnd, d.PttIdEnd)))
        return *e;
    if (auto e = check("KillCode", PutDtmfCode(image, im::kDtmfKillCode, d.KillCode)))
        return *e;
    if (auto e = check("StunCode", PutDtmfCode(image, im::kDtmfStunCode, d.StunCode)))
        return *e;
    for (int k = 0; k < im::kDtmfCodes.count; ++k) {
        const std::string name = "code M" + std::to_string(k + 1);
        if (auto e = check(name.c_str(), PutDtmfCode(image, im::DtmfCode(k), d.Codes[k])))
            return *e;
    }
    return {};
}

void ParseDtmf(RadioImage& image, DtmfSettings& d)
{
    ImageWriter w(image, im::kDtmfSettings);
    const int separator = w.byte(dt::kSeparator);
    d.Separator = static_cast<int16_t>(separator >= 10 && separator <= 15 ? separator : 14);
    // 0xFF is the group code switched off.
    const int group = w.byte(dt::kGroupCode);
    d.GroupCode = static_cast<int16_t>(group == 0xFF ? 255 : (group >= 10 && group <= 15 ? group : 10));
    if (w.byte(dt::kDecodeResponse) > 2)
        w.setByte(dt::kDecodeResponse, 0);
    d.DecodeResponse = w.byte(dt::kDecodeResponse);
    if (w.byte(dt::kFirstDigitDelay) > 250)
        w.setByte(dt::kFirstDigitDelay, 0);
    d.FirstDigitDelay = w.byte(dt::kFirstDigitDelay);
    d.PreSendDelay = w.byte(dt::kPreSendDelay);
    d.ResetTime = w.byte(dt::kResetTime);
    d.SideTone = w.byte(dt::kSideTone);
    d.PostSendDelay = w.byte(dt::kPostSendDelay);
    d.PauseTime = w.byte(dt::kPauseTime);

    std::string ownId;
    for (int i = 0; i < dt::kOwnIdSize; ++i) {
        const int digit = w.byte(dt::kOwnId + i);
        if (digit > 9) {
            ownId = kDefaultDtmfOwnId;
            break;
        }
        ownId += static_cast<char>('0' + digit);
    }
    d.OwnId.setPadded(ownId);

    GetDtmfCode(image, im::kDtmfPttIdBegin, d.PttIdBegin);
    GetDtmfCode(image, im::kDtmfPttIdEnd, d.PttIdEnd);
    GetDtmfCode(image, im::kDtmfKillCode, d.KillCode);
    GetDtmfCode(image, im::kDtmfStunCode, d.StunCode);
    for (int k = 0; k < im::kDtmfCodes.count; ++k)
        GetDtmfCode(image, im::DtmfCode(k), d.Codes[k]);
}

Result<void> SetCommDataByDTMFCommuBook(const CommBook& book, RadioImage& image)
{
    // Every character is one byte, so nothing here can fail; the step keeps
    // its result for the build order.
    for (int a = 0; a < im::kBookCallIds.count; ++a) {
        const CommBookEntry& entry = book[a];
        const std::string callId = entry.CallId.trimmed();
        ImageWriter id(image, im::kBookCallIds.entry(a));
        id.setChars(0, id.size(), IsDecimalNumber(callId) ? callId : std::string(), 0x00);
        ImageWriter name(image, im::kBookNames.entry(a));
        name.setChars(0, im::kBookNameWritten, entry.Name.trimmed(), 0x00);
    }
    return {};
}

void ParseCommBook(const RadioImage& image, CommBook& book)
{
    for (int n = 0; n < im::kBookCallIds.count; ++n) {
        CommBookEntry& entry = book[n];
        entry.Index = static_cast<int16_t>(n);
        ImageReader id(image, im::kBookCallIds.entry(n));
        entry.CallId.setRaw(id.chars(0, id.size()));
        ImageReader name(image, im::kBookNames.entry(n));
        auto got = name.collect(0, name.size(), false, true);
        if (got.stopped)
            got.text += '\0';
        entry.Name.setTerminated(TrimFixed(got.text).substr(0, 7));
    }
}

} // namespace qtx
