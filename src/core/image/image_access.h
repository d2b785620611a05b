#pragma once
// Bounded access to one block of the radio image. A codec is handed the
// block it owns and addresses bytes by offset inside it; any offset outside
// the block is a programming fault and throws std::out_of_range instead of
// touching a neighbour's bytes.

#include "convert/bcd.h"
#include "convert/numeric.h"
#include "image/image_map.h"
#include "image/radio_image.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace qtx {

[[noreturn]] void ThrowOutsideBlock(const imagemap::Area& block, int offset, int count);

template <class Byte>
class BlockView {
public:
    using Image = std::conditional_t<std::is_const_v<Byte>, const RadioImage, RadioImage>;

    BlockView(Image& image, imagemap::Area area) : data_(image.data()), area_(area)
    {
        if (!imagemap::kWholeImage.contains(area) || area.size < 0)
            ThrowOutsideBlock(imagemap::kWholeImage, area.start, area.size);
    }

    const imagemap::Area& area() const { return area_; }
    int size() const { return area_.size; }

    uint8_t byte(int offset) const { return *at(offset, 1); }

    // Bits shift .. shift+width-1 of a byte.
    unsigned bits(int offset, int shift, int width) const
    {
        return (byte(offset) >> shift) & ((1u << width) - 1u);
    }
    bool bit(int offset, int shift) const { return bits(offset, shift, 1) != 0; }

    // Bit (index % 8) of byte (index / 8), as the entry bitmaps count.
    bool mapBit(int index) const { return bit(index / 8, index % 8); }

    uint16_t u16le(int offset) const
    {
        const Byte* p = at(offset, 2);
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint16_t u16be(int offset) const
    {
        const Byte* p = at(offset, 2);
        return static_cast<uint16_t>((p[0] << 8) | p[1]);
    }

    Bcd4 bcd(int offset) const
    {
        const Byte* p = at(offset, 4);
        return Bcd4{p[0], p[1], p[2], p[3]};
    }

    // count bytes as characters, whatever their values.
    std::string chars(int offset, int count) const
    {
        const Byte* p = at(offset, count);
        return std::string(p, p + count);
    }

    // Characters from offset on, at most count, up to (not including) the
    // first byte that is 0x00 (when stopAtZero) or 0xFF (when stopAtFF).
    struct Collected {
        std::string text;
        bool stopped = false; // ended at a stop byte rather than at count
    };
    Collected collect(int offset, int count, bool stopAtZero, bool stopAtFF) const
    {
        const Byte* p = at(offset, count);
        Collected out;
        for (int i = 0; i < count; ++i) {
            if ((stopAtZero && p[i] == 0x00) || (stopAtFF && p[i] == 0xFF)) {
                out.stopped = true;
                break;
            }
            out.text += static_cast<char>(p[i]);
        }
        return out;
    }

    // Two upper-case hexadecimal digits per byte for count bytes.
    std::string hexDigits(int offset, int count) const
    {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const Byte* p = at(offset, count);
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += kHex[p[i] >> 4];
            out += kHex[p[i] & 0x0F];
        }
        return out;
    }

    // ---- writing (mutable images only) ----

    void setByte(int offset, uint8_t v)
        requires(!std::is_const_v<Byte>)
    {
        *at(offset, 1) = v;
    }

    // v must fit in width bits; other bits of the byte are kept.
    void setBits(int offset, int shift, int width, unsigned v)
        requires(!std::is_const_v<Byte>)
    {
        const unsigned mask = ((1u << width) - 1u) << shift;
        Byte* p = at(offset, 1);
        *p = static_cast<uint8_t>((*p & ~mask) | ((v << shift) & mask));
    }
    void setBit(int offset, int shift, bool on)
        requires(!std::is_const_v<Byte>)
    {
        setBits(offset, shift, 1, on ? 1u : 0u);
    }
    void setMapBit(int index, bool on)
        requires(!std::is_const_v<Byte>)
    {
        setBit(index / 8, index % 8, on);
    }

    void setU16le(int offset, uint16_t v)
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = at(offset, 2);
        p[0] = static_cast<uint8_t>(v & 0xFF);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
    void setU16be(int offset, uint16_t v)
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = at(offset, 2);
        p[0] = static_cast<uint8_t>(v >> 8);
        p[1] = static_cast<uint8_t>(v & 0xFF);
    }

    void setBcd(int offset, const Bcd4& v)
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = at(offset, 4);
        for (int i = 0; i < 4; ++i)
            p[i] = v[i];
    }

    // text cut to count, the rest filled with pad.
    void setChars(int offset, int count, std::string_view text, uint8_t pad)
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = at(offset, count);
        for (int i = 0; i < count; ++i)
            p[i] = i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i]) : pad;
    }

    // Packs pairs of hexadecimal digit characters into bytes, first digit in
    // the high nibble. digits must have an even length; nothing is written
    // and false is returned when a character is not a hexadecimal digit.
    bool setHexDigits(int offset, std::string_view digits)
        requires(!std::is_const_v<Byte>)
    {
        if (digits.size() % 2 != 0)
            return false;
        const int count = static_cast<int>(digits.size() / 2);
        Byte* p = at(offset, count);
        for (char c : digits)
            if (HexDigitValue(c) < 0)
                return false;
        for (int i = 0; i < count; ++i)
            p[i] = static_cast<uint8_t>(HexDigitValue(digits[2 * i]) * 16 + HexDigitValue(digits[2 * i + 1]));
        return true;
    }

    void fill(int offset, int count, uint8_t v)
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = at(offset, count);
        for (int i = 0; i < count; ++i)
            p[i] = v;
    }

private:
    Byte* at(int offset, int count) const
    {
        if (offset < 0 || count < 0 || offset > area_.size - count)
            ThrowOutsideBlock(area_, offset, count);
        return data_ + area_.start + offset;
    }

    Byte* data_;
    imagemap::Area area_;
};

using ImageReader = BlockView<const uint8_t>;
using ImageWriter = BlockView<uint8_t>;

} // namespace qtx
