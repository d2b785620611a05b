#include "image/dtmf_codec.h"

#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

namespace qtx {

namespace im = imagemap;
namespace dt = imagemap::dtmf;
using namespace image;
using D = DtmfSettings;

namespace {

bool AllDigits(std::string_view t)
{
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Three bytes, one decimal digit each. A short own ID is padded on the left,
// so "7" stays the ID 7; one that is not a number goes out as "000".
struct DtmfOwnId {
    int offset;

    static std::string Sent(const FixedText<3>& id)
    {
        std::string t = id.trimmed();
        if (!IsDecimalNumber(t))
            return "000";
        if (t.size() < static_cast<size_t>(dt::kOwnIdSize))
            t.insert(0, dt::kOwnIdSize - t.size(), '0');
        return t;
    }
    Problem check(const D& d) const
    {
        const std::string t = Sent(d.OwnId);
        if (t.size() != static_cast<size_t>(dt::kOwnIdSize) || !AllDigits(t))
            return "own ID " + QuoteText(d.OwnId.str()) + " is not three digits";
        return std::nullopt;
    }
    void put(ImageWriter& w, const D& d, Notices&) const
    {
        const std::string t = Sent(d.OwnId);
        for (int i = 0; i < dt::kOwnIdSize; ++i)
            w.setByte(offset + i, static_cast<uint8_t>(t[i] - '0'));
    }
    template <class View>
    void get(View& v, D& d) const
    {
        std::string id;
        for (int i = 0; i < dt::kOwnIdSize; ++i) {
            const int digit = v.byte(offset + i);
            if (digit > 9) {
                id = "000";
                break;
            }
            id += static_cast<char>('0' + digit);
        }
        d.OwnId.setPadded(id);
    }
    void spans(const SpanSink& sink) const { sink({"OwnId", offset, 0, 8 * dt::kOwnIdSize}); }
};

int SeparatorByte(int v) { return v >= 10 && v <= 15 ? v : 14; }
int GroupCodeToImage(int v) { return v >= 10 && v <= 15 ? v : 0xFF; } // 0xFF: switched off
int GroupCodeFromImage(int b) { return b == 0xFF ? 255 : (b >= 10 && b <= 15 ? b : 10); }
int ZeroAboveTwo(int v) { return v > 2 ? 0 : v; }
int ZeroAbove250(int v) { return v > 250 ? 0 : v; }

constexpr bool kRepair = true;

// Bytes 0x06 and 0x0A-0x0C are not carried; the kill and stun codes that
// follow are code areas of their own.
constexpr std::tuple kDtmfHeader{
    Byte{dt::kSeparator, &D::Separator, "Separator", 255, SeparatorByte, SeparatorByte},
    Byte{dt::kGroupCode, &D::GroupCode, "GroupCode", 255, GroupCodeToImage, GroupCodeFromImage},
    Byte{dt::kDecodeResponse, &D::DecodeResponse, "DecodeResponse", 255, ZeroAboveTwo, ZeroAboveTwo, kRepair},
    Byte{dt::kPreSendDelay, &D::PreSendDelay, "PreSendDelay"},
    Byte{dt::kFirstDigitDelay, &D::FirstDigitDelay, "FirstDigitDelay", 255, ZeroAbove250, ZeroAbove250, kRepair},
    Byte{dt::kResetTime, &D::ResetTime, "ResetTime"},
    DtmfOwnId{dt::kOwnId},
    Byte{dt::kSideTone, &D::SideTone, "SideTone"},
    Byte{dt::kPostSendDelay, &D::PostSendDelay, "PostSendDelay"},
    Byte{dt::kPauseTime, &D::PauseTime, "PauseTime"},
};

// A DTMF code area: packed digits from its start, first digit in the high
// nibble, and a length byte. A length beyond the room goes out (and reads
// back) as an empty code; missing digits up to the length are zeros.
template <size_t N>
struct DtmfDigits {
    im::DtmfCodeArea where;

    int sentLength(const DtmfCode<N>& c) const { return c.Length > where.maxDigits ? 0 : c.Length; }
    std::string sentDigits(const DtmfCode<N>& c) const
    {
        const int n = sentLength(c);
        std::string t = c.Code.trimmed();
        if (t.size() < static_cast<size_t>(n))
            t.append(n - t.size(), '0');
        if (t.size() % 2 != 0)
            t += '0';
        return t.substr(0, 2 * static_cast<size_t>((n + 1) / 2));
    }
    Problem check(const DtmfCode<N>& c) const
    {
        if (c.Length < 0)
            return "length " + std::to_string(c.Length) + " is negative";
        if (!IsHexDigits(sentDigits(c)))
            return "code " + QuoteText(c.Code.str()) + " holds a character that is not a DTMF digit";
        return std::nullopt;
    }
    void put(ImageWriter& w, const DtmfCode<N>& c, Notices&) const
    {
        w.setHexDigits(0, sentDigits(c));
        w.setByte(where.lengthOffset, static_cast<uint8_t>(sentLength(c)));
    }
    template <class View>
    void get(View& v, DtmfCode<N>& c) const
    {
        int n = v.byte(where.lengthOffset);
        if (n > where.maxDigits)
            n = 0;
        c.Code.setTerminated(v.hexDigits(0, (n + 1) / 2).substr(0, n));
        c.Length = static_cast<int16_t>(n);
    }
    void spans(const SpanSink& sink) const
    {
        sink({"Code", 0, 0, 8 * ((where.maxDigits + 1) / 2)});
        sink({"Length", where.lengthOffset, 0, 8});
    }
};

template <size_t N>
Problem PutDtmfCode(RadioImage& image, const im::DtmfCodeArea& where, const DtmfCode<N>& code)
{
    ImageWriter w(image, where.area);
    return EncodeFields(std::tuple{DtmfDigits<N>{where}}, w, code);
}

template <size_t N>
void GetDtmfCode(const RadioImage& image, const im::DtmfCodeArea& where, DtmfCode<N>& code)
{
    ImageReader r(image, where.area);
    DecodeFields(std::tuple{DtmfDigits<N>{where}}, r, code);
}

// The book's two tables: call IDs (digits only, else sent empty) and names
// (seven bytes written, eight read up to an 0xFF).
struct BookCallId {
    Problem check(const CommBookEntry&) const { return std::nullopt; }
    void put(ImageWriter& w, const CommBookEntry& e, Notices&) const
    {
        const std::string id = e.CallId.trimmed();
        w.setChars(0, w.size(), IsDecimalNumber(id) ? id : std::string(), 0x00);
    }
    template <class View>
    void get(View& v, CommBookEntry& e) const
    {
        e.CallId.setRaw(v.chars(0, v.size()));
    }
    void spans(const SpanSink& sink) const { sink({"CallId", 0, 0, 8 * im::kBookCallIds.size}); }
};

struct BookName {
    Problem check(const CommBookEntry&) const { return std::nullopt; }
    void put(ImageWriter& w, const CommBookEntry& e, Notices&) const
    {
        w.setChars(0, im::kBookNameWritten, e.Name.trimmed(), 0x00);
    }
    template <class View>
    void get(View& v, CommBookEntry& e) const
    {
        auto got = v.collect(0, v.size(), false, true);
        if (got.stopped)
            got.text += '\0';
        e.Name.setTerminated(TrimFixed(got.text).substr(0, 7));
    }
    void spans(const SpanSink& sink) const { sink({"Name", 0, 0, 8 * im::kBookNames.size}); }
};

constexpr std::tuple kBookCallIdFields{BookCallId{}};
constexpr std::tuple kBookNameFields{BookName{}};

} // namespace

std::vector<BlockLayout> DtmfLayouts()
{
    return {DescribeBlock("DTMF header", im::kDtmfKillCode.area.start - im::kDtmfSettings.start, kDtmfHeader),
            DescribeBlock("DTMF kill code", im::kDtmfKillCode.area.size, std::tuple{DtmfDigits<14>{im::kDtmfKillCode}}),
            DescribeBlock("DTMF code", im::kDtmfCodes.size, std::tuple{DtmfDigits<24>{im::DtmfCode(0)}}),
            DescribeBlock("book call ID", im::kBookCallIds.size, kBookCallIdFields),
            DescribeBlock("book name", im::kBookNames.size, kBookNameFields)};
}

Result<void> SetCommDataByDTMF(DtmfSettings& d, RadioImage& image)
{
    auto fail = [](const std::string& what) { return CodecError(kStepDtmf, "DTMF " + what); };

    ImageWriter w(image, im::kDtmfSettings);
    if (auto problem = EncodeFields(kDtmfHeader, w, d))
        return fail(*problem);
    d.OwnId.setPadded(DtmfOwnId::Sent(d.OwnId));

    // Codes go out one by one; those before a bad one stay written.
    auto code = [&](const std::string& name, const Problem& problem) -> std::optional<Error> {
        if (problem)
            return fail(name + " " + *problem);
        return std::nullopt;
    };
    if (auto e = code("PttIdBegin", PutDtmfCode(image, im::kDtmfPttIdBegin, d.PttIdBegin)))
        return *e;
    if (auto e = code("PttIdEnd", PutDtmfCode(image, im::kDtmfPttIdEnd, d.PttIdEnd)))
        return *e;
    if (auto e = code("KillCode", PutDtmfCode(image, im::kDtmfKillCode, d.KillCode)))
        return *e;
    if (auto e = code("StunCode", PutDtmfCode(image, im::kDtmfStunCode, d.StunCode)))
        return *e;
    for (int k = 0; k < im::kDtmfCodes.count; ++k)
        if (auto e = code("code M" + std::to_string(k + 1), PutDtmfCode(image, im::DtmfCode(k), d.Codes[k])))
            return *e;
    return {};
}

void ParseDtmf(RadioImage& image, DtmfSettings& d)
{
    ImageWriter w(image, im::kDtmfSettings);
    DecodeFields(kDtmfHeader, w, d);

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
        ImageWriter id(image, im::kBookCallIds.entry(a));
        (void)EncodeFields(kBookCallIdFields, id, book[a]);
        ImageWriter name(image, im::kBookNames.entry(a));
        (void)EncodeFields(kBookNameFields, name, book[a]);
    }
    return {};
}

void ParseCommBook(const RadioImage& image, CommBook& book)
{
    for (int n = 0; n < im::kBookCallIds.count; ++n) {
        CommBookEntry& entry = book[n];
        entry.Index = static_cast<int16_t>(n);
        ImageReader id(image, im::kBookCallIds.entry(n));
        DecodeFields(kBookCallIdFields, id, entry);
        ImageReader name(image, im::kBookNames.entry(n));
        DecodeFields(kBookNameFields, name, entry);
    }
}

} // namespace qtx
