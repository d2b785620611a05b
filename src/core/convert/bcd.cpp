#include "convert/bcd.h"

#include "convert/code_text.h"
#include "convert/numeric.h"

namespace qtx {

std::optional<Bcd4> DigitsToBcd(std::string_view digits)
{
    std::string text(digits);
    if (text.size() < 8)
        text.append(8 - text.size(), '0');
    Bcd4 out{};
    for (int i = 0; i < 4; ++i) {
        const int hi = HexDigitValue(text[2 * i]);
        const int lo = HexDigitValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return out;
}

std::string BcdToDigits(const Bcd4& bytes, BcdKind kind)
{
    std::string text;
    for (uint8_t b : bytes)
        text += ByteToHex2(b);
    bool numeric = true;
    for (char c : text)
        numeric = numeric && c >= '0' && c <= '9';
    if (!numeric)
        return kind == BcdKind::Receive ? std::string(kNoFrequencyDigits) : "000000000";
    char tenHz = '0';
    switch (text[7]) {
    case '2': tenHz = '5'; break;
    case '3': tenHz = '3'; break;
    case '6': tenHz = '6'; break;
    case '7': tenHz = '5'; break;
    default: break;
    }
    return text + tenHz;
}

} // namespace qtx
