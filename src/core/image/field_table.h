#pragma once
// One table per block of the radio image: each row names a field's place
// (offset, bits), the record member it carries, and its range. The same row
// encodes (range check naming the field, then write) and decodes (never
// failing, reading only inside the block it is handed).
//
// A row is any type with
//   std::optional<std::string> check(const R&) const;   // problem in words;
//                                                        // optional: every value fits
//   void put(ImageWriter&, const R&, Notices&) const;
//   template <class View> void get(View&, R&) const;    // View: reader or writer
//   void spans(SpanSink&) const;                        // the bytes/bits it owns
// Rows for encodings only one block has live next to that block's codec.

#include "image/image_access.h"
#include "image/codec_support.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace qtx::image {

using Notices = std::vector<std::string>;
using Problem = std::optional<std::string>;

// Where a row lives: width bits from shift of byte offset, or whole bytes
// when shift is 0 and width is a multiple of 8 starting at offset.
struct FieldSpan {
    const char* name;
    int offset;
    int shift;
    int width; // bits
};
using SpanSink = std::function<void(const FieldSpan&)>;

inline std::string OutsideRange(const char* name, int v, int max)
{
    return std::string(name) + " " + std::to_string(v) + " is outside 0-" + std::to_string(max);
}

// A whole byte. toImage turns the record value into what is sent (checked
// against 0-max afterwards); fromImage turns a read byte into the record
// value. With repair, a read byte fromImage changes is corrected in the
// image too (when the view can write).
template <class R, class M>
struct Byte {
    int offset;
    M R::*member;
    const char* name;
    int max = 255;
    int (*toImage)(int) = nullptr;
    int (*fromImage)(int) = nullptr;
    bool repair = false;

    int sent(const R& r) const { return toImage ? toImage(r.*member) : r.*member; }
    Problem check(const R& r) const
    {
        const int v = sent(r);
        if (v < 0 || v > max)
            return OutsideRange(name, v, max);
        return std::nullopt;
    }
    void put(ImageWriter& w, const R& r, Notices&) const { w.setByte(offset, static_cast<uint8_t>(sent(r))); }
    template <class View>
    void get(View& v, R& r) const
    {
        const int b = v.byte(offset);
        const int value = fromImage ? fromImage(b) : b;
        if constexpr (requires { v.setByte(0, 0); })
            if (repair && value != b)
                v.setByte(offset, static_cast<uint8_t>(value));
        r.*member = static_cast<M>(value);
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 8}); }
};

// width bits from shift. The record value must be 0-limit (by default what
// the bits hold); toImage and fromImage map it to and from the bits.
template <class R, class M>
struct Bits {
    int offset;
    int shift;
    int width;
    M R::*member;
    const char* name;
    int (*fromImage)(int) = nullptr;
    int (*toImage)(int) = nullptr;
    int limit = -1;

    int max() const { return limit >= 0 ? limit : (1 << width) - 1; }
    Problem check(const R& r) const
    {
        const int v = r.*member;
        if (v < 0 || v > max())
            return OutsideRange(name, v, max());
        return std::nullopt;
    }
    void put(ImageWriter& w, const R& r, Notices&) const
    {
        const int v = r.*member;
        w.setBits(offset, shift, width, static_cast<unsigned>(toImage ? toImage(v) : v));
    }
    template <class View>
    void get(View& v, R& r) const
    {
        const int b = static_cast<int>(v.bits(offset, shift, width));
        r.*member = static_cast<M>(fromImage ? fromImage(b) : b);
    }
    void spans(const SpanSink& sink) const { sink({name, offset, shift, width}); }
};

// A switch of one bit, 0 or 1.
template <class R, class M>
struct Flag {
    int offset;
    int shift;
    M R::*member;
    const char* name;

    Problem check(const R& r) const
    {
        const int v = r.*member;
        if (v != 0 && v != 1)
            return std::string(name) + " " + std::to_string(v) + " is neither 0 nor 1";
        return std::nullopt;
    }
    void put(ImageWriter& w, const R& r, Notices&) const { w.setBit(offset, shift, r.*member != 0); }
    template <class View>
    void get(View& v, R& r) const
    {
        r.*member = static_cast<M>(v.bit(offset, shift));
    }
    void spans(const SpanSink& sink) const { sink({name, offset, shift, 1}); }
};

// Bits the radio does not use, always sent as value and never read.
struct Fixed {
    int offset;
    int shift;
    int width;
    unsigned value = 0;

    template <class R>
    void put(ImageWriter& w, const R&, Notices&) const { w.setBits(offset, shift, width, value); }
    template <class View, class R>
    void get(View&, R&) const {}
    void spans(const SpanSink& sink) const { sink({"(fixed)", offset, shift, width}); }
};

// Two bytes, low byte first unless bigEndian; any 16 bits are carried.
template <class R, class M>
struct Word {
    int offset;
    M R::*member;
    const char* name;
    bool bigEndian = false;

    void put(ImageWriter& w, const R& r, Notices&) const
    {
        const auto v = static_cast<uint16_t>(r.*member);
        bigEndian ? w.setU16be(offset, v) : w.setU16le(offset, v);
    }
    template <class View>
    void get(View& v, R& r) const
    {
        r.*member = static_cast<M>(bigEndian ? v.u16be(offset) : v.u16le(offset));
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 16}); }
};

// An array of values, one row's encoding each, one after another.
template <class R, class T, size_t N, bool Words>
struct Run {
    int offset;
    std::array<T, N> R::*member;
    const char* name;

    static constexpr int kSize = Words ? 2 : 1;
    void put(ImageWriter& w, const R& r, Notices&) const
    {
        for (size_t i = 0; i < N; ++i) {
            const int at = offset + kSize * static_cast<int>(i);
            if constexpr (Words)
                w.setU16le(at, static_cast<uint16_t>((r.*member)[i]));
            else
                w.setByte(at, static_cast<uint8_t>((r.*member)[i]));
        }
    }
    template <class View>
    void get(View& v, R& r) const
    {
        for (size_t i = 0; i < N; ++i) {
            const int at = offset + kSize * static_cast<int>(i);
            (r.*member)[i] = static_cast<T>(Words ? v.u16le(at) : v.byte(at));
        }
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 8 * kSize * static_cast<int>(N)}); }
};
template <class R, class T, size_t N>
using ByteRun = Run<R, T, N, false>;
template <class R, class T, size_t N>
using WordRun = Run<R, T, N, true>; // low byte first

// How a text goes out: the trimmed text, cut to the room, padded with
// 0x00, or with spaces unless the text is empty.
enum class Pad { Zero, SpaceUnlessEmpty };
// How it comes back: up to the first 0x00 or 0xFF, with a NUL end mark
// when one stopped it; or, for KeepIfEmpty, the same text without the mark
// and an empty one leaving the record as it was.
enum class ReadAs { Collected, KeepIfEmpty };

template <class R, size_t N>
struct Text {
    int offset;
    int size;
    FixedText<N> R::*member;
    const char* name;
    Pad pad = Pad::SpaceUnlessEmpty;
    ReadAs read = ReadAs::Collected;

    void put(ImageWriter& w, const R& r, Notices&) const
    {
        const std::string t = (r.*member).trimmed();
        w.setChars(offset, size, t, pad == Pad::Zero || t.empty() ? 0x00 : 0x20);
    }
    template <class View>
    void get(View& v, R& r) const
    {
        const auto got = v.collect(offset, size, true, true);
        if (read == ReadAs::Collected)
            StoreCollected(r.*member, got.text, got.stopped);
        else if (!got.text.empty())
            (r.*member).setTerminated(got.text);
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 8 * size}); }
};

// A code of hexadecimal digits and its length byte. Digits missing up to
// the length are `fill`. Packed codes carry two digits a byte, the first in
// the high nibble, an odd count closed with `fill` (or, for ClosedByText,
// with the stored character after the last digit when there is one);
// otherwise one digit a byte. A length beyond the room is refused, or for
// SendEmpty sent and read back as an empty code; any other read is cut to
// the room.
enum class Digits { Packed, ClosedByText, OnePerByte };
enum class TooLong { Refuse, SendEmpty };

template <class R, class L, size_t N>
struct DigitCode {
    int lengthOffset;
    int digitsOffset;
    int maxDigits;
    FixedText<N> R::*code;
    L R::*length;
    char fill;
    Digits digits = Digits::Packed;
    TooLong tooLong = TooLong::Refuse;
    const char* digitName = "hexadecimal digit";
    int (*lengthFromImage)(int) = nullptr;

    int sentLength(const R& r) const { return tooLong == TooLong::SendEmpty && r.*length > maxDigits ? 0 : r.*length; }
    int room() const { return digits == Digits::OnePerByte ? maxDigits : (maxDigits + 1) / 2; } // bytes
    std::string sent(const R& r) const
    {
        const size_t n = static_cast<size_t>(std::max(0, sentLength(r)));
        const size_t count = digits == Digits::OnePerByte ? n : (n + 1) / 2 * 2;
        std::string t = (r.*code).trimmed();
        t.resize(digits == Digits::ClosedByText ? std::max(t.size(), count) : n, fill);
        t.resize(count, fill);
        return t;
    }
    Problem check(const R& r) const
    {
        if (r.*length < 0)
            return "length " + std::to_string(r.*length) + " is negative";
        if (tooLong == TooLong::Refuse && r.*length > maxDigits)
            return "code length " + std::to_string(r.*length) + " is more than the " + std::to_string(maxDigits) +
                   " digits the radio holds";
        for (char c : sent(r))
            if (HexDigitValue(c) < 0)
                return "code " + QuoteText((r.*code).str()) + " holds a character that is not a " + digitName;
        return std::nullopt;
    }
    void put(ImageWriter& w, const R& r, Notices&) const
    {
        const std::string t = sent(r);
        if (digits == Digits::OnePerByte)
            for (size_t i = 0; i < t.size(); ++i)
                w.setByte(digitsOffset + static_cast<int>(i), static_cast<uint8_t>(HexDigitValue(t[i])));
        else
            w.setHexDigits(digitsOffset, t);
        w.setByte(lengthOffset, static_cast<uint8_t>(sentLength(r)));
    }
    template <class View>
    void get(View& v, R& r) const
    {
        const int b = lengthFromImage ? lengthFromImage(v.byte(lengthOffset)) : v.byte(lengthOffset);
        const int n = b > maxDigits ? (tooLong == TooLong::SendEmpty ? 0 : maxDigits) : b;
        std::string t;
        if (digits == Digits::OnePerByte) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            for (int i = 0; i < n; ++i) { // a byte above 15 shows both its digits
                const uint8_t d = v.byte(digitsOffset + i);
                if (d >= 16)
                    t += kHex[d >> 4];
                t += kHex[d & 0x0F];
            }
        } else {
            t = v.hexDigits(digitsOffset, (n + 1) / 2);
        }
        (r.*code).setTerminated(t.substr(0, static_cast<size_t>(n)));
        r.*length = static_cast<L>(n);
    }
    void spans(const SpanSink& sink) const
    {
        sink({"code length", lengthOffset, 0, 8});
        sink({"code", digitsOffset, 0, 8 * room()});
    }
};

// ---- walking a table ------------------------------------------------------

// The first row's problem, in table order; nothing is written.
template <class R, class... F>
Problem CheckFields(const std::tuple<F...>& table, const R& r)
{
    Problem problem;
    auto checked = [&r](const auto& f) -> Problem {
        if constexpr (requires { f.check(r); })
            return f.check(r);
        return std::nullopt;
    };
    std::apply([&](const auto&... f) { (void)(... || (problem = checked(f)).has_value()); }, table);
    return problem;
}

template <class R, class... F>
void PutFields(const std::tuple<F...>& table, ImageWriter& w, const R& r, Notices& notices)
{
    std::apply([&](const auto&... f) { (f.put(w, r, notices), ...); }, table);
}

// Checks every row, then writes them all: a bad value writes nothing.
template <class R, class... F>
Problem EncodeFields(const std::tuple<F...>& table, ImageWriter& w, const R& r, Notices& notices)
{
    if (auto problem = CheckFields(table, r))
        return problem;
    PutFields(table, w, r, notices);
    return std::nullopt;
}
template <class R, class... F>
Problem EncodeFields(const std::tuple<F...>& table, ImageWriter& w, const R& r)
{
    Notices ignored;
    return EncodeFields(table, w, r, ignored);
}

template <class View, class R, class... F>
void DecodeFields(const std::tuple<F...>& table, View& v, R& r)
{
    std::apply([&](const auto&... f) { (f.get(v, r), ...); }, table);
}

// A table for one area of the image.
template <class R, class... F>
Problem EncodeArea(const std::tuple<F...>& table, RadioImage& image, imagemap::Area area, const R& r)
{
    ImageWriter w(image, area);
    return EncodeFields(table, w, r);
}
template <class R, class... F>
void DecodeArea(const std::tuple<F...>& table, const RadioImage& image, imagemap::Area area, R& r)
{
    ImageReader reader(image, area);
    DecodeFields(table, reader, r);
}
// The same, correcting in the image the bytes a row repairs on reading.
template <class R, class... F>
void DecodeAndRepairArea(const std::tuple<F...>& table, RadioImage& image, imagemap::Area area, R& r)
{
    ImageWriter w(image, area);
    DecodeFields(table, w, r);
}

template <class... F>
void ForEachSpan(const std::tuple<F...>& table, const SpanSink& sink)
{
    std::apply([&](const auto&... f) { (f.spans(sink), ...); }, table);
}

// A table as places, for checking that rows stay inside their block and
// apart from each other.
struct BlockLayout {
    std::string name;
    int size = 0;
    std::vector<FieldSpan> fields;
};

template <class... F>
BlockLayout DescribeBlock(std::string name, int size, const std::tuple<F...>& table)
{
    BlockLayout out{std::move(name), size, {}};
    ForEachSpan(table, [&out](const FieldSpan& s) { out.fields.push_back(s); });
    return out;
}

} // namespace qtx::image
