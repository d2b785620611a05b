#include "convert/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qtx {

namespace {

std::string_view stripBlanks(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

} // namespace

bool IsDecimalNumber(std::string_view text)
{
    text = stripBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

std::optional<double> ParseDecimal(std::string_view text)
{
    if (!IsDecimalNumber(text))
        return std::nullopt;
    text = stripBlanks(text);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double v = 0;
    if (text.front() == '.') {
        // from_chars needs a digit before the point
        std::string withZero = "0" + std::string(text);
        auto [p, ec] = std::from_chars(withZero.data(), withZero.data() + withZero.size(), v);
        if (ec != std::errc() || p != withZero.data() + withZero.size())
            return std::nullopt;
    } else {
        auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || p != text.data() + text.size())
            return std::nullopt;
    }
    return negative ? -v : v;
}

std::optional<int32_t> ParseInteger(std::string_view text)
{
    const auto v = ParseDecimal(text);
    if (!v)
        return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(r);
}

bool IsHexDigits(std::string_view text)
{
    for (char c : text)
        if (HexDigitValue(c) < 0)
            return false;
    return true;
}

bool IsDecimalDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

double RoundHalfEven(double v) { return std::nearbyint(v); }

double RoundHalfAway(double v) { return std::round(v); }

std::string ShortDecimal(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

std::string FixedDecimal(double v, int intDigits, int decimals)
{
    char buf[64];
    const bool negative = v < 0 && std::fabs(v) >= 0.5 * std::pow(10.0, -decimals);
    const int width = intDigits + (decimals > 0 ? decimals + 1 : 0);
    std::snprintf(buf, sizeof buf, "%0*.*f", width, decimals, std::fabs(v));
    return negative ? "-" + std::string(buf) : std::string(buf);
}

} // namespace qtx
