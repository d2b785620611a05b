#include "forms/channel_cells.h"

#include "convert/frequency.h"
#include "convert/numeric.h"
#include "forms/key_rules.h"
#include "model/channel_list.h"
#include "view/main_view.h"

namespace qtx {

namespace {

constexpr int kToneDcsFirst = 1 + kCtcssCount;

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool nameFits(const std::string& name)
{
    if (name.size() > static_cast<size_t>(kChannelNameBoxes))
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) > 126 || NameKey(c) != c)
            return false;
    return true;
}

template <class Table>
std::vector<std::string> choiceTexts(const Table& table, const std::function<std::string(int)>& text)
{
    std::vector<std::string> out;
    for (const Choice& c : table)
        out.push_back(ChoiceText(c, text));
    return out;
}

std::string signalText(const SignalCell& s, const std::function<std::string(int)>& text)
{
    ChannelRecord ch;
    ch.OptionalSignal = static_cast<int16_t>(s.kind);
    ch.DtmfCode = ch.TwoToneCall = ch.FiveToneCall = static_cast<int16_t>(s.code);
    return GridSignalText(ch, text);
}

CellResult refused(int reasonId)
{
    CellResult r;
    r.outcome = CellOutcome::Refused;
    r.reasonId = reasonId;
    return r;
}

} // namespace

CellKind ChannelCellKind(int column)
{
    switch (column) {
    case kColumnReceive:
    case kColumnTransmit: return CellKind::Frequency;
    case kColumnName: return CellKind::Name;
    case kColumnStep:
    case kColumnBandwidth:
    case kColumnPower:
    case kColumnRxTone:
    case kColumnTxTone:
    case kColumnSignal: return CellKind::List;
    default: return CellKind::None;
    }
}

int ToneCellCount() { return kToneDcsFirst + 2 * kDcsCodeCount; }

ToneForm ToneCellValue(int index)
{
    ToneForm t;
    if (index >= 1 && index < kToneDcsFirst) {
        t.type = 1;
        t.ctcss = index - 1;
    } else if (index >= kToneDcsFirst && index < ToneCellCount()) {
        t.type = 2;
        t.dcs = (index - kToneDcsFirst) / 2;
        t.inverted = (index - kToneDcsFirst) % 2 == 1;
    }
    return t;
}

int ToneCellIndex(const ToneForm& tone)
{
    if (tone.type == 1)
        return 1 + tone.ctcss;
    if (tone.type == 2)
        return kToneDcsFirst + 2 * tone.dcs + (tone.inverted ? 1 : 0);
    return 0;
}

std::vector<SignalCell> SignalCellChoices(const Codeplug& cp, const SignalViewSwitches& switches,
                                          OptionalSignalKind current)
{
    std::vector<SignalCell> out;
    for (OptionalSignalKind kind : OptionalSignalChoices(switches, current)) {
        if (kind == OptionalSignalKind::None)
            out.push_back({});
        for (int code : SignalCodeChoices(cp, kind))
            out.push_back({kind, code});
    }
    return out;
}

CellChoices ChannelCellChoices(const Codeplug& cp, int row, int column, const SignalViewSwitches& switches,
                               const std::function<std::string(int)>& text)
{
    CellChoices out;
    const ChannelForm f = LoadChannelForm(cp, row, cp.body.Band);
    switch (column) {
    case kColumnStep:
        out.texts = choiceTexts(kStepChoices, text);
        out.current = f.step;
        break;
    case kColumnBandwidth:
        out.texts = choiceTexts(kBandwidthGridChoices, text);
        out.current = f.bandwidth;
        break;
    case kColumnPower:
        out.texts = choiceTexts(kTxPowerChoices, text);
        out.current = f.txPower;
        break;
    case kColumnRxTone:
    case kColumnTxTone: {
        for (int i = 0; i < ToneCellCount(); ++i) {
            const ToneForm t = ToneCellValue(i);
            out.texts.push_back(GridToneText(t.type, t.ctcss, t.dcs, t.inverted, text));
        }
        out.current = ToneCellIndex(column == kColumnRxTone ? f.rxTone : f.txTone);
        break;
    }
    case kColumnSignal: {
        const SignalCell mine{f.signal, f.code.value_or(-1)};
        const auto choices = SignalCellChoices(cp, switches, f.signal);
        for (size_t i = 0; i < choices.size(); ++i) {
            out.texts.push_back(signalText(choices[i], text));
            if (choices[i] == mine || (f.signal == OptionalSignalKind::None && i == 0))
                out.current = static_cast<int>(i);
        }
        break;
    }
    default: break;
    }
    return out;
}

CellResult ApplyChannelCell(Codeplug& cp, int row, int column, const CellValue& value,
                            const SignalViewSwitches& switches)
{
    if (row < 1 || row > kMaxChannels || ChannelCellKind(column) == CellKind::None)
        return {};
    const BandPlan& band = cp.body.Band;
    const bool exists = ChannelExists(cp, row);
    const std::string text = trimmed(value.text);
    if (!exists && column != kColumnReceive)
        return refused(kCellNeedsReceive);
    if (ChannelCellKind(column) == CellKind::Frequency && !text.empty() && !IsDecimalNumber(text))
        return refused(kCellNotFrequency);

    ChannelForm form = LoadChannelForm(cp, row, band);
    switch (column) {
    case kColumnReceive:
        if (text.empty() && !exists)
            return {};
        form.receive = text;
        break;
    case kColumnTransmit: form.transmit = text; break;
    case kColumnName:
        if (!nameFits(value.text))
            return refused(kCellBadName);
        form.name = {};
        for (size_t i = 0; i < value.text.size(); ++i)
            form.name[i] = std::string(1, value.text[i]);
        break;
    case kColumnStep: form.step = value.index; break;
    case kColumnBandwidth: form.bandwidth = value.index; break;
    case kColumnPower: form.txPower = value.index; break;
    case kColumnRxTone:
    case kColumnTxTone:
        if (value.index < 0 || value.index >= ToneCellCount())
            return {};
        (column == kColumnRxTone ? form.rxTone : form.txTone) = ToneCellValue(value.index);
        RebuildSquelch(form);
        break;
    case kColumnSignal: {
        const auto choices = SignalCellChoices(cp, switches, form.signal);
        if (value.index < 0 || value.index >= static_cast<int>(choices.size()))
            return {};
        form.signal = choices[value.index].kind;
        form.code = choices[value.index].code;
        RebuildSquelch(form);
        break;
    }
    default: break;
    }

    const ChannelOkResult ok = ApplyChannelForm(cp, row, form, band);
    CellResult result;
    result.warnings = ok.warnings;
    switch (ok.outcome) {
    case ChannelOkOutcome::VfoNull:
        result.outcome = CellOutcome::Refused;
        result.reasonText = ok.message;
        break;
    case ChannelOkOutcome::Deleted: result.outcome = CellOutcome::Deleted; break;
    case ChannelOkOutcome::Stored: result.outcome = CellOutcome::Stored; break;
    default: break;
    }
    return result;
}

} // namespace qtx
