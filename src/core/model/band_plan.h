#pragma once
// The band variant being programmed: its limits, their text, the standard
// bands of the model, and fitting typed limits and existing channels to a
// band.

#include "model/codeplug.h"

#include <array>
#include <string>
#include <string_view>

namespace qtx {

inline constexpr const char* kModelName = "QM-5210";

// The name itself for the one model served, else empty.
std::string ModelCheck(std::string_view name);

// "Rx(136 - 174 MHz) Tx(136 - 174 MHz)", each limit in shortest form.
std::string BandText(const BandPlan& band);

// Bands 1-5 (136-174, 180-240, 216-280/220-260, 350-390, 400-490 MHz);
// any other number, band 0 included, gives band 1.
inline constexpr int kStandardBandCount = 5;
BandPlan StandardBand(int band);

// The model's band variants, for reference only (positions 0-31).
inline constexpr int kBandVariantCount = 32;
inline constexpr std::array<std::string_view, kBandVariantCount> kBandVariantTexts{
    "Rx(26 - 45.9950 MHz) Tx(26 - 45.9950 MHz)",
    "Rx(33 - 42.9950 MHz) Tx(33 - 42.9950 MHz)",
    "Rx(136 - 173.99750 MHz) Tx(144 - 145.99750 MHz)",
    "Rx(136 - 173.99750 MHz) Tx(136 - 173.99750 MHz)",
    "Rx(144 - 145.99750 MHz) Tx(144 - 145.99750 MHz)",
    "Rx(136 - 173.99750 MHz) Tx(144 - 147.99750 MHz)",
    "Rx(144 - 147.99750 MHz) Tx(144 - 147.99750 MHz)",
    "Rx(136 - 173.99750 MHz) Tx(136 - 173.99750 MHz)",
    "Rx(245 - 245.9875 MHz) Tx(245 - 245.9875 MHz)",
    "Rx(220 - 259.9950 MHz) Tx(220 - 259.9950 MHz)",
    "Rx(200 - 229.9950 MHz) Tx(200 - 229.9950 MHz)",
    "Rx(230 - 249.9950 MHz) Tx(230 - 249.9950 MHz)",
    "Rx(200 - 299.9950 MHz) Tx(200 - 299.9950 MHz)",
    "Rx(200 - 299.9950 MHz) Tx(200 - 299.9950 MHz)",
    "Rx(216 - 279.9950 MHz) Tx(222 - 224.9950 MHz)",
    "Rx(216 - 279.9950 MHz) Tx(220 - 259.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(350 - 369.9950 MHz) Tx(350 - 369.9950 MHz)",
    "Rx(350 - 389.9950 MHz) Tx(350 - 389.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)",
    "Rx(400 - 469.9950 MHz) Tx(400 - 469.9950 MHz)",
    "Rx(400 - 489.9950 MHz) Tx(400 - 489.9950 MHz)",
    "Rx(430 - 439.9950 MHz) Tx(430 - 439.9950 MHz)",
    "Rx(420 - 449.9950 MHz) Tx(420 - 449.9950 MHz)",
    "Rx(350 - 511.9950 MHz) Tx(400 - 489.9950 MHz)",
    "Rx(440 - 511.9950 MHz) Tx(440 - 511.9950 MHz)",
    "Rx(410 - 429.9950 MHz) Tx(410 - 429.9950 MHz)",
    "Rx(400 - 429.9950 MHz) Tx(400 - 429.9950 MHz)",
};
// Empty for a position outside 0-31.
std::string_view BandVariantText(int position);

// Which limit a typed value is for: an unusable value becomes that limit.
enum class LimitKind { Lower = 0, Upper = 1 };

// A decimal number inside low-high comes back as "#.00000"; anything else
// (empty, not a number, outside) becomes low or high by kind, not the
// nearer of the two.
std::string JustSingleFre(std::string_view text, double low, double high, LimitKind kind);

// The four limit texts of the model dialog.
struct BandLimitTexts {
    std::string rxLow;
    std::string rxHigh;
    std::string txLow;
    std::string txHigh;
};

// Fits each text to its limit of standard band `band` (0 and unknown: band 1).
void JustBandFre(BandLimitTexts& texts, int band);

// Chooses the standard band the texts vote for (each numeric text votes for
// every band containing it, band 3 by its receive or transmit range; most
// votes wins, ties go to the lower band, no votes to band 1), fits the texts
// to it and returns it.
int IsFre(BandLimitTexts& texts);

// What the model dialog's OK stores: IsFre, then a reversed receive or
// transmit pair is exchanged; the texts are updated the same way.
BandPlan AcceptBandTexts(BandLimitTexts& texts);

// Re-fits every channel to cp.body.Band after a band change: receive into
// the receive range, the transmit frequency (rx -/+ offset by direction)
// into the transmit range, then direction and offset follow from where TX
// ended up. No warnings; the caller redraws.
void ApplyBandToChannels(Codeplug& cp);

} // namespace qtx
