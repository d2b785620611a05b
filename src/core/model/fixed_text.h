#pragma once
// Fixed-length text fields: N raw single-byte characters (Latin-1), exactly
// as they travel in data files and to the radio. Conversion to display
// strings happens only in the widget layer.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qtx {

// Trailing spaces removed, then cut before the first NUL.
inline std::string_view TrimFixedView(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    text = text.substr(0, end);
    return text.substr(0, text.find('\0'));
}

inline std::string TrimFixed(std::string_view text) { return std::string(TrimFixedView(text)); }

template <size_t N>
struct FixedText {
    static constexpr size_t size = N;
    std::array<uint8_t, N> bytes{};

    FixedText() { bytes.fill(' '); }

    // All N characters, padding and NULs included.
    std::string str() const { return std::string(bytes.begin(), bytes.end()); }
    std::string trimmed() const { return TrimFixed(str()); }

    // Left-justified, space-padded, cut to N.
    void setPadded(std::string_view value)
    {
        bytes.fill(' ');
        std::copy_n(value.begin(), std::min(value.size(), N), bytes.begin());
    }

    // A value shorter than N is followed by a NUL and then spaces; a value
    // of N characters or more is cut to N with no end mark.
    void setTerminated(std::string_view value)
    {
        setPadded(value);
        if (value.size() < N)
            bytes[value.size()] = 0;
    }

    // Exactly these N bytes.
    void setRaw(std::string_view value)
    {
        bytes.fill(0);
        std::copy_n(value.begin(), std::min(value.size(), N), bytes.begin());
    }

    char at(size_t i) const { return static_cast<char>(bytes[i]); }

    friend bool operator==(const FixedText&, const FixedText&) = default;
};

} // namespace qtx
