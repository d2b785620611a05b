#include "forms/scan_form.h"

#include <cstdio>

namespace qtx {

namespace {

constexpr int kLookBackFirst = 5, kLookBackLast = 50;
constexpr int kResumeFirst = 1, kResumeLast = 50;
constexpr int kWaitFirst = 2, kWaitLast = 255;
constexpr int kScanTypeCount = 4;

ListEntries tenthsEntries(int first, int last)
{
    ListEntries out;
    for (int t = first; t <= last; ++t)
        out.push_back({Lit(TenthsText(t))});
    return out;
}

} // namespace

std::string TenthsText(int tenths)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, tenths % 10);
    return buf;
}

ListEntries ScanPriorityEntries() { return TextEntries({2430, 2431}); }

ListEntries ScanModeEntries()
{
    return {{Tx(2430)}, {Tx(2403), Lit("1")}, {Tx(2403), Lit("2")},
            {Tx(2403), Lit("1"), Lit(" + "), Tx(2403), Lit("2")}};
}

ListEntries RevertMasterEntries()
{
    return {{Tx(2432)},
            {Tx(2432), Lit(" + "), Tx(2433)},
            {Tx(2403), Lit("1")},
            {Tx(2403), Lit("2")},
            {Tx(2434)},
            {Tx(2435)},
            {Tx(2403), Lit("1"), Lit(" + "), Tx(2433)},
            {Tx(2403), Lit("2"), Lit(" + "), Tx(2433)}};
}

ListEntries ScanLookBackEntries() { return tenthsEntries(kLookBackFirst, kLookBackLast); }
ListEntries ScanResumeEntries() { return tenthsEntries(kResumeFirst, kResumeLast); }
ListEntries ScanTypeEntries() { return TextEntries({2436, 2437, 2438, 2439}); }

ListEntries ScanWaitEntries()
{
    ListEntries out;
    for (int b = kWaitFirst; b <= kWaitLast; ++b)
        out.push_back({Lit(std::to_string(b * 25))});
    return out;
}

std::vector<int> RevertEntries(int mode)
{
    switch (mode) {
    case 1: return {0, 1, 2, 4, 5, 6};
    case 2: return {0, 1, 3, 4, 5, 7};
    case 3: return {0, 1, 2, 3, 4, 5, 6, 7};
    default: return {0, 1, 4, 5};
    }
}

ScanForm LoadScanForm(const Codeplug& cp)
{
    ScanForm f;
    const ScanSettings& s = cp.body.Settings.Scan;
    f.work = s;
    f.channels = MemoryChannelEntries(cp);
    f.priority = RowInRange(s.PriorityScan, 2);
    f.mode = RowInRange(s.PriorityMode, kPriorityModeCount);
    f.channel1 = RowOfValue(f.channels, s.Priority1Channel - 1);
    f.channel2 = RowOfValue(f.channels, s.Priority2Channel - 1);
    f.revert = RowOfValue(RevertEntries(f.mode), s.RevertChannel);
    f.lookBackA = RowFromByte(s.LookBackTimeA, kLookBackFirst, kLookBackLast);
    f.lookBackB = RowFromByte(s.LookBackTimeB, kLookBackFirst, kLookBackLast);
    f.rxResume = RowFromByte(s.RxResumeDelay, kResumeFirst, kResumeLast);
    f.txResume = RowFromByte(s.TxResumeDelay, kResumeFirst, kResumeLast);
    f.scanType = RowInRange(s.ScanType, kScanTypeCount);
    f.waitTime = RowFromByte(s.WaitTime, kWaitFirst, kWaitLast);
    f.beep = s.ScanStartBeep == 1;
    return f;
}

void SetScanPriority(ScanForm& form, int row) { form.priority = RowInRange(row, 2); }

void SetScanMode(ScanForm& form, int row)
{
    const int master = ValueAtRow(RevertEntries(form.mode), form.revert);
    form.mode = RowInRange(row, kPriorityModeCount);
    form.revert = RowOfValue(RevertEntries(form.mode), master);
}

void SetScanRevert(ScanForm& form, int row)
{
    form.revert = RowInRange(row, static_cast<int>(RevertEntries(form.mode).size()));
}

ScanFieldStates ScanStates(const ScanForm& form)
{
    ScanFieldStates s;
    if (form.priority == 0)
        return s;
    s.others = true;
    s.channel1 = form.mode == 1 || form.mode == 3;
    s.channel2 = form.mode == 2 || form.mode == 3;
    return s;
}

void ApplyScanForm(Codeplug& cp, const ScanForm& form)
{
    ScanSettings s = form.work;
    s.PriorityScan = static_cast<uint8_t>(RowInRange(form.priority, 2));
    s.PriorityMode = static_cast<uint8_t>(RowInRange(form.mode, kPriorityModeCount));
    s.RevertChannel = static_cast<uint8_t>(ValueAtRow(RevertEntries(s.PriorityMode), form.revert));
    s.LookBackTimeA = ByteFromRow(form.lookBackA, kLookBackFirst, kLookBackLast);
    s.LookBackTimeB = ByteFromRow(form.lookBackB, kLookBackFirst, kLookBackLast);
    s.RxResumeDelay = ByteFromRow(form.rxResume, kResumeFirst, kResumeLast);
    s.TxResumeDelay = ByteFromRow(form.txResume, kResumeFirst, kResumeLast);
    s.ScanType = static_cast<uint8_t>(RowInRange(form.scanType, kScanTypeCount));
    s.ScanStartBeep = form.beep ? 1 : 0;
    s.WaitTime = ByteFromRow(form.waitTime, kWaitFirst, kWaitLast);
    // A channel list without entries stores 0: no channel.
    s.Priority1Channel = form.channels.empty() ? 0 : static_cast<uint8_t>(ValueAtRow(form.channels, form.channel1) + 1);
    s.Priority2Channel = form.channels.empty() ? 0 : static_cast<uint8_t>(ValueAtRow(form.channels, form.channel2) + 1);
    cp.body.Settings.Scan = s;
}

} // namespace qtx
