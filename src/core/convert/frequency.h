#pragma once
// Frequencies in their forms: the text the user types and sees (MHz with
// five decimals), the nine digits a channel keeps (10 Hz units, "FFFFFFFFF"
// for none) and, through convert/bcd.h, the radio's packed bytes. The checks
// fit a typed value into the band being programmed, which callers pass in.
//
// Nothing here shows anything: a result says whether the input had to be
// replaced, and the caller decides what to tell the user (warning 2001 for
// a corrected check, "Not IsNumeric" for stored digits that are not digits).

#include "convert/bcd.h"
#include "model/band_limits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qtx {

// Frequencies in 10 Hz units; 100000 units are 1 MHz.
using FreqUnits = int64_t;
inline constexpr FreqUnits kUnitsPerMHz = 100000;
// The largest value with a nine-digit form: 9999.99999 MHz.
inline constexpr FreqUnits kMaxFreqUnits = 999999999;

// Units as megahertz with five decimals and at least intDigits integer
// digits: 3 gives "000.00000", 1 gives "#.00000".
std::string FormatFreqUnits(FreqUnits units, int intDigits);

struct FreqText {
    std::string text;
    bool corrected = false; // the input was unusable or outside the band
};

// "145.6" -> "014560000", rounding halves away from zero at 5 Hz. A text
// without "." is whole megahertz whatever its length ("145" -> "014500000",
// "1450" -> "145000000"). Empty when the text is empty, not a plain decimal
// number, negative, or 10000 MHz and above (no nine-digit form).
std::string FreqTextToDigits(std::string_view text);

// A frequency text ("145.00000", "0.60000", "136") in 10 Hz units; none
// when FreqTextToDigits gives no digits for it.
std::optional<FreqUnits> FreqTextUnits(std::string_view text);
// "014560000" -> "145.60000" (first four digits are the megahertz). Empty
// for empty digits or "FFFFFFFFF"; trailing padding is ignored. Digits that
// are not all 0-9 give the band's RxLow in shortest form ("136"), corrected.
FreqText DigitsToFreqText(std::string_view digits, const BandPlan& band);

// "000060000" -> "0.60000". "0.00000" for empty digits or "FFFFFFFFF";
// "0.00000", corrected, for digits that are not all 0-9.
FreqText DigitsToOffsetText(std::string_view digits);

// A typed receive (transmit) frequency fitted into the band: not a number
// gives RxLow, below the band RxLow, above it RxHigh (all corrected);
// inside it the value is put on the channel raster counted from RxLow,
// silently. The text is "000.00000" and always has a nine-digit form.
// Band limits outside 0-9999.99999 MHz (or not numbers) are taken as the
// nearest end of that range.
FreqText CheckRxText(std::string_view text, const BandPlan& band);
FreqText CheckTxText(std::string_view text, const BandPlan& band);

// Puts v on the 2.5 kHz, 6.25 kHz or 8.33 kHz raster counted from base: a
// value on none of them goes down to the 2.5 kHz raster; the third 8.33 kHz
// step of a 25 kHz block (24.99 kHz) becomes the end of the block (25 kHz).
// Applying it twice gives the same value as applying it once.
FreqUnits RasterSnapUnits(FreqUnits value, FreqUnits base);
// The same in MHz; v and base are rounded to 10 Hz (halves to even) first.
// Values that are not finite come back unchanged.
double RasterSnap(double v, double base);

struct OffsetText {
    std::string text;        // "000.00000", never negative
    bool corrected = false;  // the transmit frequency had to be fitted
    int16_t direction = 0;   // the shift direction to store with it
};

// The offset that puts the transmit frequency inside the transmit band:
// TX = rx + offset for direction 0 and 2, rx - offset for 1; TX is fitted
// like CheckTxText; the offset becomes the distance from rx to the fitted TX.
// When fitting moves TX to the other side of rx, the offset is that
// distance and the direction is turned round (1 <-> 2), so the stored pair
// still names the fitted TX; for direction 0 (simplex) the offset becomes 0.
// A non-numeric offset gives "000.00000"; a non-numeric rx leaves the
// offset unchecked (its magnitude, formatted). Other directions count as 0.
OffsetText NormaliseOffset(std::string_view offsetText, std::string_view rxText, int direction,
                           const BandPlan& band);

// A channel's frequencies as the channel editor stores them: receive and
// transmit fitted into their bands, then the shift direction and offset
// follow from where the transmit frequency ended up (an empty transmit
// text means simplex).
struct ChannelFrequencies {
    FreqUnits rx = 0;
    FreqUnits tx = 0;
    int16_t direction = 0;       // as ShiftDirection
    std::string rxText;          // the fitted receive frequency, "000.00000"
    std::string rxDigits;        // for RxFrequency
    std::string offsetDigits;    // for Offset
    bool rxCorrected = false;     // the receive text was unusable or outside the band
    bool txCorrected = false;     // the same for the transmit text
    bool offsetCorrected = false; // the offset had to be fitted again
};
ChannelFrequencies FitChannelFrequencies(std::string_view rxText, std::string_view txText, const BandPlan& band);

// CTCSS tones as a channel stores them: an index 0-50 into this table.
inline constexpr int kCtcssCount = 51;
inline constexpr std::array<std::string_view, kCtcssCount> kCtcssTexts{
    "62.5",  "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8",
    "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9", "171.3", "173.8",
    "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5", "210.7",
    "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
// Empty for an index outside 0-50.
std::string_view CtcssText(int index);

// DCS codes 0-511, shown as three octal digits (19 -> "023", 511 -> "777");
// empty for a value outside 0-511.
inline constexpr int kDcsCodeCount = 512;
std::string DcsText(int value);

} // namespace qtx
