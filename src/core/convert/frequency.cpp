#include "convert/frequency.h"

#include "convert/numeric.h"
#include "model/fixed_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace qtx {

namespace {

// Far beyond any frequency, far below int64 overflow.
constexpr FreqUnits kSaturated = 100000000000000000LL; // 1e17

enum class Halves { AwayFromZero, ToEven };

// A plain decimal number in MHz to 10 Hz units, rounded exactly on its
// decimal digits (no binary floating point in between). None when the text
// is not a plain decimal number; huge values saturate.
std::optional<FreqUnits> ParseUnits(std::string_view text, Halves halves)
{
    if (!IsDecimalNumber(text))
        return std::nullopt;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);

    while (!whole.empty() && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.size() > 11)
        return negative ? -kSaturated : kSaturated;

    FreqUnits units = 0;
    for (char c : whole)
        units = units * 10 + (c - '0');
    for (size_t i = 0; i < 5; ++i)
        units = units * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);

    if (fraction.size() > 5) {
        const int next = fraction[5] - '0';
        const bool beyond = fraction.find_first_not_of('0', 6) != std::string_view::npos;
        bool up = false;
        if (halves == Halves::AwayFromZero)
            up = next >= 5;
        else
            up = next > 5 || (next == 5 && (beyond || units % 2 != 0));
        if (up)
            ++units;
    }
    return negative ? -units : units;
}

// A band limit in units, inside the range that has a nine-digit form.
FreqUnits LimitUnits(double mhz)
{
    if (std::isnan(mhz))
        return 0;
    const double units = RoundHalfEven(mhz * kUnitsPerMHz);
    if (!(units > 0))
        return 0;
    if (units >= static_cast<double>(kMaxFreqUnits))
        return kMaxFreqUnits;
    return static_cast<FreqUnits>(units);
}

} // namespace

std::string FormatFreqUnits(FreqUnits units, int intDigits)
{
    const bool negative = units < 0;
    const FreqUnits magnitude = negative ? -units : units;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%0*lld.%05lld", negative ? "-" : "", intDigits,
                  static_cast<long long>(magnitude / kUnitsPerMHz), static_cast<long long>(magnitude % kUnitsPerMHz));
    return buf;
}

namespace {

std::string FormatUnits(FreqUnits units, int intDigits) { return FormatFreqUnits(units, intDigits); }

bool AllDecimalDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Stored digits: the first four are the megahertz, the rest the fraction.
std::optional<FreqUnits> DigitsToUnits(std::string_view digits)
{
    if (!AllDecimalDigits(digits))
        return std::nullopt;
    std::string asNumber(digits.substr(0, std::min<size_t>(4, digits.size())));
    asNumber += '.';
    if (digits.size() > 4)
        asNumber += digits.substr(4);
    return ParseUnits(asNumber, Halves::AwayFromZero);
}

FreqText CheckUnits(std::string_view text, double lowMHz, double highMHz)
{
    const FreqUnits low = LimitUnits(lowMHz);
    const FreqUnits high = LimitUnits(highMHz);
    const auto value = ParseUnits(text, Halves::ToEven);
    if (!value || *value < low)
        return {FormatUnits(low, 3), true};
    if (*value > high)
        return {FormatUnits(high, 3), true};
    // Snapping may step 10 Hz up; the band's end stays the end.
    return {FormatUnits(std::min(RasterSnapUnits(*value, low), high), 3), false};
}

} // namespace

std::optional<FreqUnits> FreqTextUnits(std::string_view text)
{
    const std::string digits = FreqTextToDigits(text);
    if (digits.empty())
        return std::nullopt;
    return std::stoll(digits);
}

std::string FreqTextToDigits(std::string_view text)
{
    const auto units = ParseUnits(text, Halves::AwayFromZero);
    if (!units || *units < 0 || *units > kMaxFreqUnits)
        return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%09lld", static_cast<long long>(*units));
    return buf;
}

FreqText DigitsToFreqText(std::string_view digits, const BandPlan& band)
{
    const std::string s = TrimFixed(digits);
    if (s.empty() || s == kNoFrequencyDigits)
        return {};
    if (const auto units = DigitsToUnits(s))
        return {FormatUnits(*units, 3), false};
    return {ShortDecimal(static_cast<double>(LimitUnits(band.RxLow)) / kUnitsPerMHz), true};
}

FreqText DigitsToOffsetText(std::string_view digits)
{
    const std::string s = TrimFixed(digits);
    if (s.empty() || s == kNoFrequencyDigits)
        return {"0.00000", false};
    if (const auto units = DigitsToUnits(s))
        return {FormatUnits(*units, 1), false};
    return {"0.00000", true};
}

FreqText CheckRxText(std::string_view text, const BandPlan& band)
{
    return CheckUnits(text, band.RxLow, band.RxHigh);
}

FreqText CheckTxText(std::string_view text, const BandPlan& band)
{
    return CheckUnits(text, band.TxLow, band.TxHigh);
}

FreqUnits RasterSnapUnits(FreqUnits value, FreqUnits base)
{
    const FreqUnits x = value - base;
    const FreqUnits r250 = x % 250;
    const FreqUnits r625 = x % 625;
    const FreqUnits r2500 = x % 2500;
    if (r250 != 0 && r625 != 0 && r2500 % 833 != 0)
        return value - r250;
    // Only the 8.33 kHz raster point itself: a 2.5 kHz step 22.5 kHz into
    // the block is already on a raster and must stay where it is.
    if (r2500 == 3 * 833)
        return value + 1;
    return value;
}

double RasterSnap(double v, double base)
{
    const double limit = static_cast<double>(kSaturated);
    const double d = RoundHalfEven(v * kUnitsPerMHz);
    const double b = RoundHalfEven(base * kUnitsPerMHz);
    if (!std::isfinite(d) || !std::isfinite(b) || std::fabs(d) > limit || std::fabs(b) > limit)
        return v;
    return static_cast<double>(RasterSnapUnits(static_cast<FreqUnits>(d), static_cast<FreqUnits>(b))) /
           kUnitsPerMHz;
}

OffsetText NormaliseOffset(std::string_view offsetText, std::string_view rxText, int direction,
                           const BandPlan& band)
{
    const int16_t dir = (direction == 1 || direction == 2) ? static_cast<int16_t>(direction) : int16_t{0};
    const auto offset = ParseUnits(offsetText, Halves::ToEven);
    if (!offset)
        return {"000.00000", false, dir};
    const auto rx = ParseUnits(rxText, Halves::ToEven);
    if (!rx) {
        const FreqUnits magnitude = std::min(*offset < 0 ? -*offset : *offset, kMaxFreqUnits);
        return {FormatUnits(magnitude, 3), false, dir};
    }

    const FreqUnits wanted = dir == 1 ? *rx - *offset : *rx + *offset;
    const FreqText fitted = CheckTxText(FormatUnits(wanted, 3), band);
    const FreqUnits tx = *ParseUnits(fitted.text, Halves::ToEven);
    const FreqUnits result = dir == 1 ? *rx - tx : tx - *rx;
    if (result >= 0)
        return {FormatUnits(result, 3), fitted.corrected, dir};
    if (dir == 0)
        return {"000.00000", fitted.corrected, dir};
    return {FormatUnits(-result, 3), fitted.corrected, static_cast<int16_t>(dir == 1 ? 2 : 1)};
}

ChannelFrequencies FitChannelFrequencies(std::string_view rxText, std::string_view txText, const BandPlan& band)
{
    ChannelFrequencies f;
    const FreqText rx = CheckRxText(rxText, band);
    std::string_view typed = txText;
    while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t'))
        typed.remove_prefix(1);
    while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
        typed.remove_suffix(1);
    const FreqText tx = CheckTxText(typed.empty() ? std::string_view(rx.text) : typed, band);
    f.rx = *ParseUnits(rx.text, Halves::ToEven);
    const FreqUnits txUnits = *ParseUnits(tx.text, Halves::ToEven);
    const int direction = f.rx > txUnits ? 1 : f.rx < txUnits ? 2 : 0;
    const OffsetText offset =
        NormaliseOffset(FormatUnits(f.rx > txUnits ? f.rx - txUnits : txUnits - f.rx, 1), rx.text, direction, band);
    const FreqUnits offsetUnits = *ParseUnits(offset.text, Halves::ToEven);
    f.direction = offset.direction;
    f.tx = f.direction == 1 ? f.rx - offsetUnits : f.direction == 2 ? f.rx + offsetUnits : f.rx;
    f.rxDigits = FreqTextToDigits(rx.text);
    const std::string offsetDigits = FreqTextToDigits(offset.text);
    f.offsetDigits = offsetDigits.empty() ? "000000000" : offsetDigits;
    f.rxText = rx.text;
    f.rxCorrected = rx.corrected;
    f.txCorrected = tx.corrected;
    f.offsetCorrected = offset.corrected;
    return f;
}

std::string_view CtcssText(int index)
{
    if (index < 0 || index >= kCtcssCount)
        return {};
    return kCtcssTexts[static_cast<size_t>(index)];
}

std::string DcsText(int value)
{
    if (value < 0 || value >= kDcsCodeCount)
        return {};
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03o", static_cast<unsigned>(value));
    return buf;
}

} // namespace qtx
