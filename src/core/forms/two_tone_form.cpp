#include "forms/two_tone_form.h"

#include "convert/numeric.h"
#include "model/channel_list.h"

#include <algorithm>
#include <cmath>

namespace qtx {

namespace {

constexpr std::array<uint16_t, kTwoToneBoxCount> kDefaultTones = {3217, 9281, 6265, 20438};

// Stored tone positions of the boxes A-D.
std::array<uint16_t*, kTwoToneBoxCount> tonesOf(TwoToneSettings& s)
{
    return {&s.ToneA, &s.ToneB, &s.ToneC, &s.ToneD};
}

int rowOr(int value, int rows, int fallback)
{
    return value >= 0 && value < rows ? value : fallback;
}

std::string tenthsText(unsigned tenths)
{
    return FixedDecimal(tenths / 10.0, 1, 1);
}

uint16_t tenths(double hz)
{
    return static_cast<uint16_t>(RoundHalfAway(hz * 10.0));
}

double clampTone(double hz)
{
    return std::clamp(hz, kTwoToneMinHz, kTwoToneMaxHz);
}

// The boxes of a format: first and second tone (second -1 for a long tone).
std::pair<int, int> formatTones(int format)
{
    static constexpr std::array<std::pair<int, int>, 15> kPairs = {{
        {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 2}, {1, 3}, {2, 0}, {2, 1},
        {2, 3}, {3, 0}, {3, 1}, {3, 2}, {0, -1}, {1, -1}, {2, -1}}};
    return kPairs[static_cast<size_t>(rowOr(format, 15, 0))];
}

} // namespace

std::string TwoToneDurationText(int row) { return FixedDecimal((row + 5) / 10.0, 1, 1); }
std::string TwoToneDelayText(int row) { return std::to_string(row * 100); }
std::string TwoToneTimerText(int row) { return FixedDecimal(row / 10.0, 1, 1); }

TwoToneForm LoadTwoToneForm(TwoToneSettings& work)
{
    TwoToneForm form;
    form.format = rowOr(work.OwnFormat, static_cast<int>(kTwoToneFormats.size()), 0);
    form.decodeResponse = rowOr(work.DecodeResponse, kTwoToneDecodeRows, 0);
    form.durations[0] = rowOr(work.Duration1 - 5, kTwoToneDurationRows, 0);
    form.durations[1] = rowOr(work.Duration2 - 5, kTwoToneDurationRows, 0);
    form.durations[2] = rowOr(work.Duration3 - 5, kTwoToneDurationRows, 5);
    form.delay = rowOr(work.Delay, kTwoToneDelayRows, 10);
    form.timer = rowOr(work.Timer, kTwoToneTimerRows, 0);
    if (work.SideTone > 1)
        work.SideTone = 0;
    form.sideTone = work.SideTone == 1;
    auto tones = tonesOf(work);
    for (int i = 0; i < kTwoToneBoxCount; ++i) {
        const unsigned high = *tones[i] >> 8;
        if (high == 0 || high == 255)
            *tones[i] = kDefaultTones[i];
        form.tones[i] = tenthsText(*tones[i]);
    }
    return form;
}

std::array<bool, kTwoToneBoxCount> EnabledToneBoxes(int format)
{
    const auto [first, second] = formatTones(format);
    std::array<bool, kTwoToneBoxCount> on{};
    on[first] = true;
    if (second >= 0)
        on[second] = true;
    return on;
}

std::string ToneOnLeave(std::string_view text)
{
    return ShortDecimal(clampTone(ParseDecimal(text).value_or(0.0)), 1);
}

double ToneAtOk(std::string_view text)
{
    const auto hz = ParseDecimal(text);
    if (!hz)
        return 2000.0;
    return std::clamp(*hz, 280.0, kTwoToneMaxHz);
}

OwnCodeValues OwnCode(int format, double a, double b, double c, double d)
{
    const std::array<double, kTwoToneBoxCount> hz = {a, b, c, d};
    const auto [first, second] = formatTones(format);
    OwnCodeValues own;
    own.firstTone = tenths(hz[first]);
    own.firstDivider = static_cast<uint16_t>(std::floor(4800000.0 / hz[first]));
    if (second >= 0 && hz[second] > 0) {
        own.secondTone = tenths(hz[second]);
        own.secondDivider = static_cast<uint16_t>(std::floor(4800000.0 / hz[second]));
    }
    return own;
}

void ApplyTwoToneForm(const TwoToneForm& form, TwoToneSettings& work)
{
    work.DecodeResponse = static_cast<uint8_t>(form.decodeResponse);
    work.Delay = static_cast<uint8_t>(form.delay);
    work.Duration1 = static_cast<uint8_t>(form.durations[0] + 5);
    work.Duration2 = static_cast<uint8_t>(form.durations[1] + 5);
    work.Duration3 = static_cast<uint8_t>(form.durations[2] + 5);
    work.Timer = static_cast<uint8_t>(form.timer);
    work.SideTone = form.sideTone ? 1 : 0;

    std::array<double, kTwoToneBoxCount> hz{};
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        hz[i] = ToneAtOk(form.tones[i]);

    work.OwnFormat = static_cast<uint8_t>(form.format);
    const OwnCodeValues own = OwnCode(form.format, hz[0], hz[1], hz[2], hz[3]);
    work.OwnFirstTone = own.firstTone;
    work.OwnFirstDivider = own.firstDivider;
    work.OwnSecondTone = own.secondTone;
    work.OwnSecondDivider = own.secondDivider;

    auto tones = tonesOf(work);
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        *tones[i] = tenths(hz[i]);
}

CallCells EntryCellTexts(const TwoToneEntry& entry)
{
    if (entry.Empty != 0 || entry.FirstDivider == 0)
        return {};
    CallCells cells;
    cells.first = tenthsText(entry.FirstTone);
    if (entry.SecondDivider != 0)
        cells.second = tenthsText(entry.SecondTone);
    cells.name = entry.Name.trimmed();
    return cells;
}

CallCells CommitFirstTone(TwoToneEntry& entry, std::string_view text)
{
    const auto hz = ParseDecimal(text);
    if (!hz) {
        entry = TwoToneEntry{};
        return {};
    }
    const double f = clampTone(*hz);
    entry.Empty = 0;
    entry.FirstTone = tenths(f);
    entry.FirstDivider = static_cast<uint16_t>(std::floor(600000.0 / f));
    return EntryCellTexts(entry);
}

CallCells CommitSecondTone(TwoToneEntry& entry, std::string_view text)
{
    const auto hz = ParseDecimal(text);
    if (!hz) {
        entry.SecondTone = 0;
        entry.SecondDivider = 0;
    } else {
        const double f = clampTone(*hz);
        entry.SecondTone = tenths(f);
        entry.SecondDivider = static_cast<uint16_t>(std::floor(600000.0 / f));
    }
    return EntryCellTexts(entry);
}

CallCells CommitName(TwoToneEntry& entry, std::string_view text)
{
    entry.Name.setPadded(TrimFixed(text.substr(0, std::min<size_t>(text.size(), kCallNameLength))));
    return EntryCellTexts(entry);
}

CallCells CommitCell(TwoToneEntry& entry, int column, std::string_view text)
{
    switch (column) {
    case kCallColumnFirst: return CommitFirstTone(entry, text);
    case kCallColumnSecond: return CommitSecondTone(entry, text);
    case kCallColumnName: return CommitName(entry, text);
    default: return EntryCellTexts(entry);
    }
}

bool CanEnterCell(int column, std::string_view firstToneCell)
{
    return column <= kCallColumnFirst || ParseDecimal(firstToneCell).has_value();
}

CellPos NextCellOnEnter(CellPos from, std::string_view firstToneCell)
{
    const int nextRow = (from.row + 1) % kTwoToneEntryCount;
    if (from.column == kCallColumnName)
        return {nextRow, kCallColumnFirst};
    if (from.column == kCallColumnFirst && !CanEnterCell(kCallColumnSecond, firstToneCell))
        return {nextRow, kCallColumnFirst};
    return {from.row, from.column + 1};
}

void FinishTwoTone(Codeplug& cp, const TwoToneSettings& work)
{
    cp.body.Settings.TwoTone = work;
    RepairSignalReferences(cp);
}

} // namespace qtx
