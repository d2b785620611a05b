#include "image/dtmf_codec.h"

#include "convert/numeric.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

namespace qtx {

namespace im = imagemap;
using namespace image;
using D = DtmfSettings;

namespace {

constexpr int kOwnIdSize = 3;

// Three bytes, one decimal digit each. A short own ID is padded on the left,
// so "7" stays the ID 7; one that is not a number goes out as "000".
struct DtmfOwnId {
    int offset;

    static std::string Sent(const FixedText<3>& id)
    {
        std::string t = id.trimmed();
        if (!IsDecimalNumber(t))
            return "000";
        if (t.size() < static_cast<size_t>(kOwnIdSize))
            t.insert(0, kOwnIdSize - t.size(), '0');
        return t;
    }
    Problem check(const D& d) const
    {
        const std::string t = Sent(d.OwnId);
        if (t.size() != static_cast<size_t>(kOwnIdSize) || !IsDecimalDigits(t))
            return "own ID " + QuoteText(d.OwnId.str()) + " is not three digits";
        return std::nullopt;
    }
    void put(ImageWriter& w, const D& d, Notices&) const
    {
        const std::string t = Sent(d.OwnId);
        for (int i = 0; i < kOwnIdSize; ++i)
            w.setByte(offset + i, static_cast<uint8_t>(t[i] - '0'));
    }
    template <class View>
    void get(View& v, D& d) const
    {
        std::string id;
        for (int i = 0; i < kOwnIdSize; ++i) {
            const int digit = v.byte(offset + i);
            if (digit > 9) {
                id = "000";
                break;
            }
            id += static_cast<char>('0' + digit);
        }
        d.OwnId.setPadded(id);
    }
    void spans(const SpanSink& sink) const { sink({"OwnId", offset, 0, 8 * kOwnIdSize}); }
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
    Byte{0x00, &D::Separator, "Separator", 255, SeparatorByte, SeparatorByte},
    Byte{0x01, &D::GroupCode, "GroupCode", 255, GroupCodeToImage, GroupCodeFromImage},
    Byte{0x02, &D::DecodeResponse, "DecodeResponse", 255, ZeroAboveTwo, ZeroAboveTwo, kRepair},
    Byte{0x03, &D::PreSendDelay, "PreSendDelay"},
    Byte{0x04, &D::FirstDigitDelay, "FirstDigitDelay", 255, ZeroAbove250, ZeroAbove250, kRepair},
    Byte{0x05, &D::ResetTime, "ResetTime"},
    DtmfOwnId{0x07},
    Byte{0x0D, &D::SideTone, "SideTone"},
    Byte{0x0E, &D::PostSendDelay, "PostSendDelay"},
    Byte{0x0F, &D::PauseTime, "PauseTime"},
};

// A DTMF code area: packed digits from its start and a length byte. A
// length beyond the room goes out (and reads back) as an empty code.
template <size_t N>
constexpr std::tuple<DigitCode<DtmfCode<N>, int16_t, N>> DtmfDigits(const im::DtmfCodeArea& where)
{
    return {{where.lengthOffset, 0, where.maxDigits, &DtmfCode<N>::Code, &DtmfCode<N>::Length, '0',
             Digits::ClosedByText, TooLong::SendEmpty, "DTMF digit"}};
}

// The code areas in the order they go out, each with its name in messages.
template <class Settings, class Fn>
void ForEachDtmfCode(Settings& d, Fn&& fn)
{
    fn("PttIdBegin", im::kDtmfPttIdBegin, d.PttIdBegin);
    fn("PttIdEnd", im::kDtmfPttIdEnd, d.PttIdEnd);
    fn("KillCode", im::kDtmfKillCode, d.KillCode);
    fn("StunCode", im::kDtmfStunCode, d.StunCode);
    for (int k = 0; k < im::kDtmfCodes.count; ++k)
        fn("code M" + std::to_string(k + 1), im::DtmfCode(k), d.Codes[k]);
}

// The book's two tables: call IDs (digits only, else sent empty) and names
// (seven bytes written, eight read up to an 0xFF).
struct BookCallId {
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
            DescribeBlock("DTMF kill code", im::kDtmfKillCode.area.size, DtmfDigits<14>(im::kDtmfKillCode)),
            DescribeBlock("DTMF code", im::kDtmfCodes.size, DtmfDigits<24>(im::DtmfCode(0))),
            DescribeBlock("book call ID", im::kBookCallIds.size, kBookCallIdFields),
            DescribeBlock("book name", im::kBookNames.size, kBookNameFields)};
}

Result<void> SetCommDataByDTMF(DtmfSettings& d, RadioImage& image)
{
    if (auto problem = EncodeArea(kDtmfHeader, image, im::kDtmfSettings, d))
        return CodecError(kStepDtmf, "DTMF " + *problem);
    d.OwnId.setPadded(DtmfOwnId::Sent(d.OwnId));

    // Codes go out one by one; those before a bad one stay written.
    Problem problem;
    ForEachDtmfCode(d, [&](const std::string& name, const im::DtmfCodeArea& where, const auto& code) {
        if (!problem)
            if (auto p = EncodeArea(DtmfDigits<decltype(code.Code)::size>(where), image, where.area, code))
                problem = name + " " + *p;
    });
    if (problem)
        return CodecError(kStepDtmf, "DTMF " + *problem);
    return {};
}

void ParseDtmf(RadioImage& image, DtmfSettings& d)
{
    DecodeAndRepairArea(kDtmfHeader, image, im::kDtmfSettings, d);
    ForEachDtmfCode(d, [&](const std::string&, const im::DtmfCodeArea& where, auto& code) {
        DecodeArea(DtmfDigits<decltype(code.Code)::size>(where), image, where.area, code);
    });
}

Result<void> SetCommDataByDTMFCommuBook(const CommBook& book, RadioImage& image)
{
    // Every character is one byte, so nothing here can fail; the step keeps
    // its result for the build order.
    for (int a = 0; a < im::kBookCallIds.count; ++a) {
        (void)EncodeArea(kBookCallIdFields, image, im::kBookCallIds.entry(a), book[a]);
        (void)EncodeArea(kBookNameFields, image, im::kBookNames.entry(a), book[a]);
    }
    return {};
}

void ParseCommBook(const RadioImage& image, CommBook& book)
{
    for (int n = 0; n < im::kBookCallIds.count; ++n) {
        book[n].Index = static_cast<int16_t>(n);
        DecodeArea(kBookCallIdFields, image, im::kBookCallIds.entry(n), book[n]);
        DecodeArea(kBookNameFields, image, im::kBookNames.entry(n), book[n]);
    }
}

} // namespace qtx
