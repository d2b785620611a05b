#include "model/band_plan.h"

#include "convert/frequency.h"
#include "convert/numeric.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qtx {

namespace {

bool Contains(double low, double high, double x) { return low <= x && x <= high; }

} // namespace

std::string ModelCheck(std::string_view name) { return name == kModelName ? std::string(name) : std::string(); }

std::string BandText(const BandPlan& band)
{
    return "Rx(" + ShortDecimal(band.RxLow) + " - " + ShortDecimal(band.RxHigh) + " MHz) Tx(" +
           ShortDecimal(band.TxLow) + " - " + ShortDecimal(band.TxHigh) + " MHz)";
}

BandPlan StandardBand(int band)
{
    switch (band) {
    case 2: return {180.0, 240.0, 180.0, 240.0};
    case 3: return {216.0, 280.0, 220.0, 260.0};
    case 4: return {350.0, 390.0, 350.0, 390.0};
    case 5: return {400.0, 490.0, 400.0, 490.0};
    default: return {136.0, 174.0, 136.0, 174.0};
    }
}

std::string_view BandVariantText(int position)
{
    if (position < 0 || position >= kBandVariantCount)
        return {};
    return kBandVariantTexts[static_cast<size_t>(position)];
}

std::string JustSingleFre(std::string_view text, double low, double high, LimitKind kind)
{
    const auto x = ParseDecimal(text);
    if (x && Contains(low, high, *x))
        return FixedDecimal(*x, 1, 5);
    return FixedDecimal(kind == LimitKind::Lower ? low : high, 1, 5);
}

void JustBandFre(BandLimitTexts& texts, int band)
{
    const BandPlan b = StandardBand(band);
    texts.rxLow = JustSingleFre(texts.rxLow, b.RxLow, b.RxHigh, LimitKind::Lower);
    texts.rxHigh = JustSingleFre(texts.rxHigh, b.RxLow, b.RxHigh, LimitKind::Upper);
    texts.txLow = JustSingleFre(texts.txLow, b.TxLow, b.TxHigh, LimitKind::Lower);
    texts.txHigh = JustSingleFre(texts.txHigh, b.TxLow, b.TxHigh, LimitKind::Upper);
}

int IsFre(BandLimitTexts& texts)
{
    std::array<int, kStandardBandCount + 1> votes{};
    const std::pair<const std::string*, bool> fields[] = {
        {&texts.rxLow, false}, {&texts.rxHigh, false}, {&texts.txLow, true}, {&texts.txHigh, true}};
    for (const auto& [text, transmit] : fields) {
        const auto x = ParseDecimal(*text);
        bool any = false;
        for (int band = 1; x && band <= kStandardBandCount; ++band) {
            const BandPlan b = StandardBand(band);
            const bool inside = transmit ? Contains(b.TxLow, b.TxHigh, *x) : Contains(b.RxLow, b.RxHigh, *x);
            if (inside) {
                ++votes[band];
                any = true;
            }
        }
        if (!any)
            ++votes[0];
    }
    int chosen = 1;
    for (int band = 2; band <= kStandardBandCount; ++band)
        if (votes[band] > votes[chosen])
            chosen = band;
    JustBandFre(texts, chosen);
    return chosen;
}

BandPlan AcceptBandTexts(BandLimitTexts& texts)
{
    IsFre(texts);
    // After IsFre every text is a number.
    if (*ParseDecimal(texts.rxLow) > *ParseDecimal(texts.rxHigh))
        std::swap(texts.rxLow, texts.rxHigh);
    if (*ParseDecimal(texts.txLow) > *ParseDecimal(texts.txHigh))
        std::swap(texts.txLow, texts.txHigh);
    return {*ParseDecimal(texts.rxLow), *ParseDecimal(texts.rxHigh), *ParseDecimal(texts.txLow),
            *ParseDecimal(texts.txHigh)};
}

void ApplyBandToChannels(Codeplug& cp)
{
    const BandPlan& band = cp.body.Band;
    const int count = std::clamp<int>(cp.body.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        ChannelRecord& ch = cp.channels[static_cast<size_t>(i)];

        // No frequency, or digits that are not digits, end up at RxLow.
        const std::string rxText = CheckRxText(DigitsToFreqText(ch.RxFrequency.str(), band).text, band).text;
        ch.RxFrequency.setPadded(FreqTextToDigits(rxText));

        const double rx = *ParseDecimal(rxText);
        const double offset = ParseDecimal(DigitsToOffsetText(ch.Offset.str()).text).value_or(0.0);
        double tx = rx;
        if (ch.ShiftDirection == 1)
            tx = rx - offset;
        else if (ch.ShiftDirection == 2)
            tx = rx + offset;
        const std::string txText = CheckTxText(FixedDecimal(tx, 3, 5), band).text;
        const double fittedTx = *ParseDecimal(txText);

        const int direction = rx > fittedTx ? 1 : rx < fittedTx ? 2 : 0;
        const OffsetText fitted = NormaliseOffset(FixedDecimal(std::fabs(fittedTx - rx), 1, 5), rxText, direction, band);
        ch.ShiftDirection = fitted.direction;
        ch.Offset.setPadded(FreqTextToDigits(fitted.text));
    }
}

} // namespace qtx
