#include "forms/option_form.h"

#include "forms/channel_form.h"
#include "forms/key_form.h"
#include "model/channel_list.h"

#include <stdexcept>

namespace qtx {

namespace {

struct ListSpec {
    int label;
    int16_t OptionSettings::*word;
};

// Indexed by list k.
const std::array<ListSpec, kOptionListCount> kSpecs{{
    {1702, &OptionSettings::Item1702},
    {1703, &OptionSettings::Item1703},
    {1704, &OptionSettings::ChannelSelect},
    {1705, &OptionSettings::Item1705},
    {1706, &OptionSettings::Item1706},
    {1707, &OptionSettings::Item1707},
    {1708, &OptionSettings::Item1708},
    {1709, &OptionSettings::Item1709},
    {1710, &OptionSettings::Item1710},
    {1711, &OptionSettings::ToneBurst},
    {1712, &OptionSettings::Item1712},
    {1713, &OptionSettings::Item1713},
    {1714, &OptionSettings::Item1714},
    {1715, &OptionSettings::Item1715},
    {1716, &OptionSettings::Item1716},
    {1717, &OptionSettings::Item1717},
    {1718, &OptionSettings::TailTonePhase},
    {1719, &OptionSettings::Item1719},
    {0, &OptionSettings::Item1703Alt},
}};

constexpr std::array<int16_t OptionSettings::*, 3> kSwitchWords{
    &OptionSettings::InternalFunctionOperation, &OptionSettings::InitialiseKeys,
    &OptionSettings::TailToneElimination};

const ListSpec& spec(int list)
{
    if (list < 0 || list >= kOptionListCount)
        throw std::out_of_range("option list");
    return kSpecs[list];
}

void setWord(OptionSettings& o, int list, int value)
{
    OptionWord(o, list) = static_cast<int16_t>(value);
}

} // namespace

int OptionListLabel(int list) { return spec(list).label; }
int16_t& OptionWord(OptionSettings& o, int list) { return o.*spec(list).word; }
int16_t OptionWord(const OptionSettings& o, int list) { return o.*spec(list).word; }
int16_t& OptionSwitch(OptionSettings& o, int sw) { return o.*kSwitchWords.at(sw); }
int16_t OptionSwitch(const OptionSettings& o, int sw) { return o.*kSwitchWords.at(sw); }

std::vector<int> OptionChannelValues(const Codeplug& cp)
{
    std::vector<int> out;
    for (int t = 1; t <= kChannelPB; ++t)
        if (ChannelExists(cp, t))
            out.push_back(t - 1);
    if (out.empty())
        out.push_back(0);
    return out;
}

std::string OptionChannelText(int value)
{
    if (value == kChannelPA - 1)
        return "PA";
    if (value == kChannelPB - 1)
        return "PB";
    return std::to_string(value);
}

ListEntries OptionListEntries(const OptionForm& form, int list)
{
    switch (list) {
    case 0: return TextEntries({1750, 1751, 1752});
    case 1: return TextEntries({1753, 1754});
    case 2: {
        ListEntries out;
        for (int v : form.channelValues)
            out.push_back({Lit(OptionChannelText(v))});
        return out;
    }
    case 3: return NumberEntries(0, 20);
    case 4: return NumberEntries(0, 25);
    case 5: return TextEntries({1747, 1748, 1749});
    case 6: return TextEntries({1790, 1791, 1792});
    case 7: return {{Lit("0s")}, {Lit("1s")}, {Lit("2s")}, {Lit("3s")}, {Lit("Always")}};
    case 8: return NumberEntries(1, 32);
    case 9: return {{Lit("1750Hz")}, {Lit("2100Hz")}, {Lit("1000Hz")}, {Lit("1450Hz")}};
    case 10: {
        ListEntries out{{Tx(1755)}};
        for (int n = 1; n <= 30; ++n)
            out.push_back({Lit(std::to_string(n)), Tx(1782)});
        return out;
    }
    case 11: return TextEntries({1755, 1768, 1769, 1770});
    case 12: return TextEntries({1761, 1762});
    case 13: return TextEntries({1755, 1756});
    case 14: return TextEntries({1794, 1795});
    case 15: return {{Tx(1755)}, {Lit("Repeater")}, {Lit("Busy")}};
    case 16: return TextEntries({1755, 3010, 3011});
    case 17: return TextEntries({1798, 1799});
    case 18: return TextEntries({1796, 1797});
    default: throw std::out_of_range("option list");
    }
}

int OptionListRow(const OptionForm& form, int list)
{
    const int v = OptionWord(form.work, list);
    if (list == kOptionChannelList)
        return RowOfValue(form.channelValues, v);
    return RowInRange(v, static_cast<int>(OptionListEntries(form, list).size()));
}

OptionForm LoadOptionForm(const Codeplug& cp)
{
    OptionForm f;
    f.work = cp.body.Settings.Options;
    f.channelValues = OptionChannelValues(cp);
    const std::string msg = f.work.PowerOnMessage.trimmed();
    for (int i = 0; i < kOptionMessageBoxes; ++i)
        f.message[i] = i < static_cast<int>(msg.size()) && msg[i] != ' ' ? std::string(1, msg[i]) : std::string();
    f.passwordOn = f.work.PowerOnPasswordEnabled == 1;
    f.password = f.work.PowerOnPassword.trimmed();
    return f;
}

void PickOptionList(OptionForm& form, int list, int row)
{
    if (list == kOptionChannelList) {
        setWord(form.work, list, ValueAtRow(form.channelValues, row));
        return;
    }
    setWord(form.work, list, RowInRange(row, static_cast<int>(OptionListEntries(form, list).size())));
    if (list == kOptionModeList) {
        switch (form.work.Item1702) {
        case 0:
            form.work.Item1703 = 0;
            form.work.Item1703Alt = 0;
            break;
        case 1: form.work.Item1703 = 1; break;
        default:
            form.work.Item1703 = 1;
            form.work.Item1703Alt = 0;
            break;
        }
    }
}

void SetOptionSwitch(OptionForm& form, int sw, bool on) { OptionSwitch(form.work, sw) = on ? 1 : 0; }

OptionFieldStates OptionStates(const OptionForm& form)
{
    OptionFieldStates s;
    s.list1Enabled = form.work.Item1702 != 1;
    s.list18Shown = form.work.Item1702 == 1;
    s.passwordShown = form.passwordOn;
    return s;
}

void ApplyOptionForm(Codeplug& cp, const OptionForm& form)
{
    OptionSettings o = form.work;
    o.PowerOnPasswordEnabled = form.passwordOn ? 1 : 0;
    o.PowerOnPassword.setTerminated(form.password);
    o.PowerOnMessage.setPadded(JoinChannelName(form.message));
    cp.body.Settings.Options = o;
    if (o.Item1716 == 0)
        ClearShortPressFunction10(cp.body.Settings.Keys);
}

} // namespace qtx
