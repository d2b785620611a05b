#include "view/main_view.h"

#include "convert/frequency.h"
#include "convert/numeric.h"
#include "forms/choices.h"
#include "model/band_plan.h"

#include <algorithm>

namespace qtx {

std::string MainWindowTitle(const std::string& modelLabel, const BandPlan& band, const std::string& fileWord,
                            const std::string& fileName)
{
    return "QTX[" + modelLabel + ":" + BandText(band) + "][" + fileWord + ":" + fileName + "]";
}

std::string GridRowHeading(int row)
{
    if (row >= 1 && row <= kMemoryChannels)
        return std::to_string(row - 1);
    switch (row) {
    case kChannelPA: return "PA";
    case kChannelPB: return "PB";
    case kChannelVfo: return "VFO";
    default: return {};
    }
}

std::string GridColumnHeading(int column, const TextLookupFn& text)
{
    switch (column) {
    case 0: return "ID";
    case 1: return text(1101);
    case 2: return text(1140);
    case 3: return text(1103);
    case 4: return text(1104);
    case 5: return text(1106);
    case 6: return text(1108);
    case 7: return text(1109);
    case 8: return text(1107) + "\n" + text(1112);
    case 9: return text(1107) + "\n" + text(1113);
    case 10: return text(1110);
    default: return {};
    }
}

namespace {

bool allDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string GridTransmitText(const ChannelRecord& ch, const BandPlan& band)
{
    const std::string rxText = DigitsToFreqText(ch.RxFrequency.trimmed(), band).text;
    const std::string rxDigits = ch.RxFrequency.trimmed();
    const std::string offset = ch.Offset.trimmed();
    if (rxText.empty() || !allDigits(rxDigits) || !allDigits(offset) || (ch.ShiftDirection != 1 && ch.ShiftDirection != 2))
        return rxText;
    const FreqUnits rx = std::stoll(rxDigits);
    const FreqUnits off = std::stoll(offset);
    return FormatFreqUnits(ch.ShiftDirection == 1 ? rx - off : rx + off, 1);
}

std::string GridToneText(int type, int ctcss, int dcs, int inverted, const TextLookupFn& text)
{
    if (type == 1)
        return std::string(CtcssText(ctcss >= 0 && ctcss < kCtcssCount ? ctcss : 0));
    if (type == 2)
        return "D" + DcsText(dcs >= 0 && dcs < kDcsCodeCount ? dcs : 0) + (inverted ? "I" : "N");
    return text(1206);
}

std::string GridSignalText(const ChannelRecord& ch, const TextLookupFn& text)
{
    switch (ch.OptionalSignal) {
    case 1: return "DTMF M" + std::to_string(ch.DtmfCode + 1);
    case 2: return "2tone " + std::to_string(ch.TwoToneCall);
    case 3: return "5tone " + std::to_string(ch.FiveToneCall);
    default: return text(1206);
    }
}

ChannelCells GridChannelCells(const ChannelRecord& ch, const BandPlan& band, const TextLookupFn& text)
{
    ChannelCells out;
    auto& c = out.cells;
    c[0] = GridRowHeading(ch.Number);
    const FreqText rx = DigitsToFreqText(ch.RxFrequency.trimmed(), band);
    out.notNumeric = rx.corrected;
    c[1] = rx.text;
    c[2] = rx.corrected ? rx.text : GridTransmitText(ch, band);
    c[3] = ch.Name.trimmed();
    c[4] = ChoiceText(ChoiceAt(kStepChoices, ch.Step), text);
    // Any bandwidth but 25K and 12.5K shows as 20K.
    c[5] = ChoiceText(ChoiceAt(kBandwidthGridChoices, ch.Bandwidth == 0 || ch.Bandwidth == 2 ? ch.Bandwidth : 1), text);
    c[6] = text(ch.Reserved1 == 1 ? 1203 : 1202);
    c[7] = ChoiceText(ChoiceAt(kTxPowerChoices, ch.TxPower), text);
    c[8] = GridToneText(ch.RxToneType, ch.RxCtcss, ch.RxDcsCode, ch.RxDcsInverted, text);
    c[9] = GridToneText(ch.TxToneType, ch.TxCtcss, ch.TxDcsCode, ch.TxDcsInverted, text);
    c[10] = GridSignalText(ch, text);
    return out;
}

std::vector<TreeNode> MainTreeNodes(const SignalViewSwitches& switches, const TextLookupFn& text)
{
    std::vector<TreeNode> nodes;
    nodes.push_back({"N1", "CH"});
    nodes.push_back({"N4", text(5021)});
    if (switches.Dtmf)
        nodes.push_back({"N5", text(5023)});
    if (switches.TwoTone)
        nodes.push_back({"N6", text(5024)});
    if (switches.FiveTone)
        nodes.push_back({"N7", text(5025)});
    nodes.push_back({"N10", text(2400)});
    nodes.push_back({"N11", text(2600)});
    nodes.push_back({"N12", text(5029)});
    nodes.push_back({"N8", text(5804)});
    nodes.push_back({"N9", text(5028)});
    return nodes;
}

} // namespace qtx
