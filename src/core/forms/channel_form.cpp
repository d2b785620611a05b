#include "forms/channel_form.h"

#include "convert/frequency.h"
#include "convert/numeric.h"
#include "model/channel_list.h"

#include <algorithm>
#include <string>

namespace qtx {

namespace {

// A list position, or the first entry when it is outside the list (or
// nothing is selected, -1).
int inList(int value, int count) { return value >= 0 && value < count ? value : 0; }

bool switchOn(const SignalViewSwitches& s, OptionalSignalKind kind)
{
    switch (kind) {
    case OptionalSignalKind::Dtmf: return s.Dtmf != 0;
    case OptionalSignalKind::TwoTone: return s.TwoTone != 0;
    case OptionalSignalKind::FiveTone: return s.FiveTone != 0;
    default: return true;
    }
}

std::string transmitText(FreqUnits rx, FreqUnits offset, int direction)
{
    if (direction == 1)
        return FormatFreqUnits(rx - offset, 1);
    if (direction == 2)
        return FormatFreqUnits(rx + offset, 1);
    return FormatFreqUnits(rx, 1);
}

template <class Entries>
std::vector<int> entriesInUse(const Entries& entries)
{
    std::vector<int> out;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Empty == 0)
            out.push_back(static_cast<int>(i));
    return out;
}

bool contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

ToneForm loadTone(int16_t type, int16_t ctcss, int16_t dcs, int16_t inverted)
{
    return {inList(type, kToneTypeCount), inList(ctcss, kCtcssCount), inList(dcs, kDcsCodeCount), inverted != 0};
}

void resetTone(ToneForm& tone, int type)
{
    tone = ToneForm{};
    tone.type = inList(type, kToneTypeCount);
}

int16_t i16(int v) { return static_cast<int16_t>(v); }
int16_t flag(bool on) { return on ? 1 : 0; }

} // namespace

// --- Load and show ----------------------------------------------------------

ChannelForm LoadChannelForm(const Codeplug& cp, int editRow, const BandPlan& band)
{
    const auto pos = FindChannel(cp, editRow);
    const ChannelRecord ch = pos ? cp.channels[*pos] : BlankChannel(editRow);
    ChannelForm f;

    const FreqText rx = DigitsToFreqText(ch.RxFrequency.trimmed(), band);
    f.receive = rx.text;
    f.loadedNotNumeric = rx.corrected;
    if (!rx.text.empty()) {
        const FreqText offset = DigitsToOffsetText(ch.Offset.trimmed());
        f.loadedNotNumeric = f.loadedNotNumeric || offset.corrected;
        const auto rxUnits = FreqTextUnits(rx.text);
        const auto offsetUnits = FreqTextUnits(offset.text);
        if (rxUnits && offsetUnits)
            f.transmit = transmitText(*rxUnits, *offsetUnits, ch.ShiftDirection);
        else
            f.transmit = rx.text;
    }

    const std::string name = ch.Name.trimmed();
    for (size_t i = 0; i < name.size() && i < f.name.size(); ++i)
        f.name[i] = std::string(1, name[i]);

    f.step = inList(ch.Step, kStepCount);
    f.bandwidth = inList(ch.Bandwidth, kBandwidthCount);
    f.txPower = ch.TxPower == 3 ? 2 : inList(ch.TxPower, kTxPowerCount);
    f.scrambler = inList(ch.Scrambler, kScramblerCount);
    f.dtmfPttId = inList(ch.DtmfPttId, kPttIdCount);
    f.fiveTonePttId = inList(ch.FiveTonePttId, kPttIdCount);
    f.busyLock = inList(ch.BusyLock, kBusyLockCount);

    // The channel's own signalling stays on offer even while its view is
    // switched off (see OptionalSignalChoices), so a plain OK never drops it.
    f.signal = static_cast<OptionalSignalKind>(inList(ch.OptionalSignal, 4));
    switch (f.signal) {
    case OptionalSignalKind::Dtmf: f.code = inList(ch.DtmfCode, kDtmfCodeCount); break;
    case OptionalSignalKind::TwoTone:
        if (contains(TwoToneCallChoices(cp), ch.TwoToneCall))
            f.code = ch.TwoToneCall;
        break;
    case OptionalSignalKind::FiveTone:
        if (contains(FiveToneCallChoices(cp), ch.FiveToneCall))
            f.code = ch.FiveToneCall;
        break;
    default: break;
    }

    f.rxTone = loadTone(ch.RxToneType, ch.RxCtcss, ch.RxDcsCode, ch.RxDcsInverted);
    f.txTone = loadTone(ch.TxToneType, ch.TxCtcss, ch.TxDcsCode, ch.TxDcsInverted);

    f.txInhibit = ch.TxInhibit != 0;
    f.reverse = ch.Reverse != 0;
    f.talkAround = ch.TalkAround != 0;
    f.compander = ch.Compander != 0;
    f.scanSkip = ch.ScanSkip != 0;
    f.pttIdDecode = ch.PttIdDecode != 0;
    f.pttIdCode = ch.PttIdCode.trimmed();
    f.extraDisplay = ExtraDisplayPosition(ch.ExtraDisplay);

    f.squelch = inList(ch.SquelchMode, kSquelchModeCount);
    RebuildSquelch(f);
    return f;
}

std::vector<OptionalSignalKind> OptionalSignalChoices(const SignalViewSwitches& switches, OptionalSignalKind current)
{
    std::vector<OptionalSignalKind> out{OptionalSignalKind::None};
    for (auto kind : {OptionalSignalKind::Dtmf, OptionalSignalKind::TwoTone, OptionalSignalKind::FiveTone})
        if (switchOn(switches, kind) || kind == current)
            out.push_back(kind);
    return out;
}

std::vector<int> TwoToneCallChoices(const Codeplug& cp) { return entriesInUse(cp.body.Settings.TwoTone.Entries); }

std::vector<int> FiveToneCallChoices(const Codeplug& cp)
{
    return entriesInUse(cp.body.Settings.FiveTone.CallList);
}

std::vector<int> SignalCodeChoices(const Codeplug& cp, OptionalSignalKind kind)
{
    switch (kind) {
    case OptionalSignalKind::Dtmf: {
        std::vector<int> out(kDtmfCodeCount);
        for (int i = 0; i < kDtmfCodeCount; ++i)
            out[i] = i;
        return out;
    }
    case OptionalSignalKind::TwoTone: return TwoToneCallChoices(cp);
    case OptionalSignalKind::FiveTone: return FiveToneCallChoices(cp);
    default: return {};
    }
}

std::string SignalCodeText(OptionalSignalKind kind, int value)
{
    if (kind == OptionalSignalKind::Dtmf)
        return "M" + std::to_string(value + 1);
    return std::to_string(value);
}

ChannelFieldStates ChannelFieldsEnabled(std::string_view receiveText, int editRow)
{
    ChannelFieldStates s;
    s.others = !receiveText.empty() && receiveText != kNoFrequencyDigits;
    s.pttId = s.others && editRow <= kMemoryChannels;
    return s;
}

int ExtraDisplayPosition(int stored)
{
    if (stored >= 0 && stored <= 2)
        return stored;
    if (stored >= 4)
        return inList(stored - 1, kExtraDisplayCount);
    return 0;
}

int ExtraDisplayStored(int position)
{
    const int p = inList(position, kExtraDisplayCount);
    return p <= 2 ? p : p + 1;
}

// --- Reactions while editing ------------------------------------------------

std::vector<int> SquelchChoices(bool reverse, int rxToneType, int txToneType, OptionalSignalKind signal)
{
    const bool tone = (reverse ? txToneType : rxToneType) != 0;
    const bool signalling = signal != OptionalSignalKind::None;
    if (tone && signalling)
        return {0, 1, 2, 3, 4};
    if (tone)
        return {0, 1};
    if (signalling)
        return {0, 2};
    return {0};
}

int KeepSquelch(const std::vector<int>& choices, int remembered)
{
    if (contains(choices, remembered))
        return remembered;
    return choices.empty() ? 0 : choices.front();
}

void RebuildSquelch(ChannelForm& form)
{
    form.squelch =
        KeepSquelch(SquelchChoices(form.reverse, form.rxTone.type, form.txTone.type, form.signal), form.squelch);
}

void SetOptionalSignal(ChannelForm& form, OptionalSignalKind kind, const Codeplug& cp)
{
    form.signal = kind;
    const std::vector<int> codes = SignalCodeChoices(cp, kind);
    form.code = codes.empty() ? std::nullopt : std::optional<int>(codes.front());
    RebuildSquelch(form);
}

void SetRxToneType(ChannelForm& form, int type)
{
    resetTone(form.rxTone, type);
    RebuildSquelch(form);
}

void SetTxToneType(ChannelForm& form, int type)
{
    resetTone(form.txTone, type);
    RebuildSquelch(form);
}

void SetDtmfPttId(ChannelForm& form, int value)
{
    form.dtmfPttId = inList(value, kPttIdCount);
    if (form.dtmfPttId >= 1)
        form.fiveTonePttId = 0;
}

void SetFiveTonePttId(ChannelForm& form, int value)
{
    form.fiveTonePttId = inList(value, kPttIdCount);
    if (form.fiveTonePttId >= 1)
        form.dtmfPttId = 0;
}

void SetReverse(ChannelForm& form, bool on)
{
    form.reverse = on;
    if (on)
        form.talkAround = false;
    RebuildSquelch(form);
}

void SetTalkAround(ChannelForm& form, bool on)
{
    form.talkAround = on;
    if (on)
        form.reverse = false;
    RebuildSquelch(form);
}

// --- OK -----------------------------------------------------------------------

std::string JoinChannelName(const std::array<std::string, kChannelNameBoxes>& boxes)
{
    std::string name;
    for (const std::string& box : boxes)
        name += box.empty() ? ' ' : box.front();
    return name;
}

std::string PadPttIdCode(std::string_view code)
{
    std::string out(code.substr(0, std::min<size_t>(code.size(), kPttIdCodeLength)));
    out.insert(0, kPttIdCodeLength - out.size(), '0');
    return out;
}

ChannelOkResult ApplyChannelForm(Codeplug& cp, int editRow, const ChannelForm& form, const BandPlan& band)
{
    ChannelOkResult result;
    if (editRow < 1 || editRow > kMaxChannels)
        return result;
    const auto pos = FindChannel(cp, editRow);

    if (!IsDecimalNumber(form.receive)) {
        if (editRow == kChannelVfo) {
            result.outcome = ChannelOkOutcome::VfoNull;
            result.message = kVfoNullMessage;
            return result;
        }
        if (pos) {
            DeleteChannel(cp, editRow);
            result.outcome = ChannelOkOutcome::Deleted;
        }
        RepairChannelReferences(cp);
        return result;
    }
    if (!pos && cp.count() >= kMaxChannels)
        return result; // numbers are unique, so a full list has this row already

    ChannelRecord ch = pos ? cp.channels[*pos] : BlankChannel(editRow);
    ch.InUse = 1;
    ch.Step = i16(inList(form.step, kStepCount));

    // An empty transmit field is simplex: the receive frequency, as far as
    // the transmit band allows.
    const ChannelFrequencies f = FitChannelFrequencies(form.receive, form.transmit, band);
    result.receiveCorrected = f.rxCorrected;
    result.transmitCorrected = f.txCorrected;
    ch.RxFrequency.setPadded(f.rxDigits);
    ch.Name.setPadded(JoinChannelName(form.name));
    ch.ShiftDirection = f.direction;
    ch.Offset.setPadded(f.offsetDigits);
    result.warnings = int{f.rxCorrected} + int{f.txCorrected} + int{f.offsetCorrected};
    result.receive = f.rxText;
    result.transmit = FormatFreqUnits(f.tx, 1);

    ch.Bandwidth = i16(inList(form.bandwidth, kBandwidthCount));
    ch.TxPower = i16(inList(form.txPower, kTxPowerCount));
    ch.Scrambler = i16(inList(form.scrambler, kScramblerCount));
    ch.DtmfPttId = i16(inList(form.dtmfPttId, kPttIdCount));
    ch.FiveTonePttId = i16(inList(form.fiveTonePttId, kPttIdCount));
    ch.BusyLock = i16(inList(form.busyLock, kBusyLockCount));

    ch.RxToneType = i16(inList(form.rxTone.type, kToneTypeCount));
    ch.RxCtcss = i16(inList(form.rxTone.ctcss, kCtcssCount));
    ch.RxDcsCode = i16(inList(form.rxTone.dcs, kDcsCodeCount));
    ch.RxDcsInverted = flag(form.rxTone.inverted);
    ch.TxToneType = i16(inList(form.txTone.type, kToneTypeCount));
    ch.TxCtcss = i16(inList(form.txTone.ctcss, kCtcssCount));
    ch.TxDcsCode = i16(inList(form.txTone.dcs, kDcsCodeCount));
    ch.TxDcsInverted = flag(form.txTone.inverted);

    ch.TxInhibit = flag(form.txInhibit);
    ch.Reverse = flag(form.reverse);
    ch.TalkAround = flag(form.talkAround);
    ch.Compander = flag(form.compander);
    ch.ScanSkip = flag(form.scanSkip);

    // The squelch list only ever offers modes that fit the tones and the
    // signalling; a form that skipped the rebuild gets the same answer.
    const auto squelchChoices = SquelchChoices(form.reverse, ch.RxToneType, ch.TxToneType, form.signal);
    ch.SquelchMode = i16(KeepSquelch(squelchChoices, inList(form.squelch, kSquelchModeCount)));

    // Only the code of the chosen signalling is edited; the others keep
    // what the channel had.
    const auto signal = static_cast<OptionalSignalKind>(inList(static_cast<int>(form.signal), 4));
    ch.OptionalSignal = static_cast<int16_t>(signal);
    switch (signal) {
    case OptionalSignalKind::Dtmf: ch.DtmfCode = i16(inList(form.code.value_or(0), kDtmfCodeCount)); break;
    case OptionalSignalKind::TwoTone: {
        const int call = form.code.value_or(0);
        ch.TwoToneCall = i16(contains(TwoToneCallChoices(cp), call) ? call : 0);
        break;
    }
    case OptionalSignalKind::FiveTone: {
        const int call = form.code.value_or(0);
        ch.FiveToneCall = i16(contains(FiveToneCallChoices(cp), call) ? call : 0);
        break;
    }
    default: break;
    }

    ch.ExtraDisplay = i16(ExtraDisplayStored(form.extraDisplay));

    // PA, PB and the VFO carry no PTT-ID code in the radio; theirs stays.
    if (editRow <= kMemoryChannels) {
        ch.PttIdDecode = flag(form.pttIdDecode);
        ch.PttIdCode.setPadded(PadPttIdCode(form.pttIdCode));
    }

    if (pos) {
        cp.channels[*pos] = ch;
    } else {
        cp.channels[cp.count()] = ch;
        ++cp.body.ChannelCount;
    }
    RepairChannelReferences(cp);
    result.outcome = ChannelOkOutcome::Stored;
    return result;
}

} // namespace qtx
