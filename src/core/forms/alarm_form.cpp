#include "forms/alarm_form.h"

#include "forms/channel_form.h"

namespace qtx {

namespace {

constexpr int kKindCount = 4;
constexpr int kSecondsCount = 255;    // 1-255
constexpr int kCycleCount = 256;      // off, 1-255
constexpr int kPreAlertFirst = 1, kPreAlertLast = 254;
constexpr int kLoneWorkerFirst = 5, kLoneWorkerLast = 255;

} // namespace

ListEntries AlarmKindEntries() { return TextEntries({2630, 2631, 2632, 2633}); }
ListEntries AlarmIdTypeEntries() { return {{Tx(2436)}, {Lit("DTMF")}, {Lit("5Tone")}}; }
ListEntries AlarmSecondsEntries() { return NumberEntries(1, kSecondsCount); }
ListEntries AlarmChannelChoiceEntries() { return TextEntries({2634, 2635}); }

ListEntries AlarmCycleEntries()
{
    ListEntries out{{Tx(2636)}};
    const ListEntries numbers = NumberEntries(1, 255);
    out.insert(out.end(), numbers.begin(), numbers.end());
    return out;
}

ListEntries PreAlertEntries() { return NumberEntries(kPreAlertFirst, kPreAlertLast); }
ListEntries LoneWorkerEntries() { return NumberEntries(kLoneWorkerFirst, kLoneWorkerLast); }

std::vector<int> IdCodeEntries(const Codeplug& cp, int type)
{
    std::vector<int> out;
    switch (static_cast<AlarmIdType>(type)) {
    case AlarmIdType::Dtmf: {
        const auto& codes = cp.body.Settings.Dtmf.Codes;
        for (int k = 0; k < static_cast<int>(codes.size()); ++k)
            if (codes[k].Length > 0)
                out.push_back(k);
        break;
    }
    case AlarmIdType::FiveTone:
        out = FiveToneCallChoices(cp);
        if (out.empty())
            out.push_back(0);
        break;
    default: break;
    }
    return out;
}

std::string IdCodeText(int type, int value)
{
    return static_cast<AlarmIdType>(type) == AlarmIdType::Dtmf ? "M" + std::to_string(value + 1)
                                                               : std::to_string(value);
}

AlarmForm LoadAlarmForm(const Codeplug& cp)
{
    AlarmForm f;
    const EmergencySettings& e = cp.body.Settings.Emergency;
    f.work = e;
    f.kind = RowInRange(e.AlarmType, kKindCount);
    f.idType = RowInRange(e.IdType, kAlarmIdTypeCount);
    f.idCodes = IdCodeEntries(cp, f.idType);
    f.idCode = RowOfValue(f.idCodes, e.IdGroup);
    f.alarmTime = RowFromByte(e.AlarmTime, 1, kSecondsCount);
    f.txTime = RowFromByte(e.TxTime, 1, kSecondsCount);
    f.rxTime = RowFromByte(e.RxTime, 1, kSecondsCount);
    f.channelChoice = RowInRange(e.ChannelChoice, 2);
    f.channels = MemoryChannelEntries(cp);
    f.channel = RowOfValue(f.channels, e.EmergencyChannel - 1);
    f.cycle = RowInRange(e.Period, kCycleCount);
    f.autoDetect = e.AutoDetect == 1;
    f.preAlert = RowFromByte(e.PreAlertTime, kPreAlertFirst, kPreAlertLast);
    f.loneWorker = RowFromByte(e.LoneWorkerTime, kLoneWorkerFirst, kLoneWorkerLast);
    return f;
}

void SetAlarmIdType(AlarmForm& form, const Codeplug& cp, int row)
{
    form.idType = RowInRange(row, kAlarmIdTypeCount);
    form.idCodes = IdCodeEntries(cp, form.idType);
    form.idCode = 0;
}

AlarmFieldStates AlarmStates(const AlarmForm& form)
{
    AlarmFieldStates s;
    s.alarmTime = form.kind == 0;
    s.idAndTimes = form.kind != 0;
    s.channel = form.channelChoice == 0;
    s.loneWorker = form.autoDetect;
    return s;
}

void ApplyAlarmForm(Codeplug& cp, const AlarmForm& form)
{
    EmergencySettings e = form.work;
    e.AlarmType = static_cast<uint8_t>(RowInRange(form.kind, kKindCount));
    e.IdType = static_cast<uint8_t>(RowInRange(form.idType, kAlarmIdTypeCount));
    e.IdGroup = static_cast<uint8_t>(ValueAtRow(form.idCodes, form.idCode));
    e.AlarmTime = ByteFromRow(form.alarmTime, 1, kSecondsCount);
    e.TxTime = ByteFromRow(form.txTime, 1, kSecondsCount);
    e.RxTime = ByteFromRow(form.rxTime, 1, kSecondsCount);
    e.ChannelChoice = static_cast<uint8_t>(RowInRange(form.channelChoice, 2));
    e.EmergencyChannel = form.channels.empty() ? 0 : static_cast<uint8_t>(ValueAtRow(form.channels, form.channel) + 1);
    e.Period = static_cast<uint8_t>(RowInRange(form.cycle, kCycleCount));
    e.AutoDetect = form.autoDetect ? 1 : 0;
    e.PreAlertTime = ByteFromRow(form.preAlert, kPreAlertFirst, kPreAlertLast);
    e.LoneWorkerTime = ByteFromRow(form.loneWorker, kLoneWorkerFirst, kLoneWorkerLast);
    cp.body.Settings.Emergency = e;
}

} // namespace qtx
