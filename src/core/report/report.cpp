#include "report/report.h"

#include "convert/code_text.h"
#include "forms/alarm_form.h"
#include "forms/comm_book_form.h"
#include "forms/dtmf_form.h"
#include "forms/five_tone_standards.h"
#include "forms/key_form.h"
#include "forms/option_form.h"
#include "forms/scan_form.h"
#include "forms/two_tone_form.h"
#include "model/band_plan.h"
#include "model/channel_list.h"
#include "text/builtin_texts.h"
#include "view/main_view.h"

#include <algorithm>

namespace qtx {

namespace {

// Record texts are the radio's single-byte characters.
std::string latin1ToUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct Names {
    ReportSection section;
    std::string_view name;
};
constexpr std::array kNames{
    Names{ReportSection::Channels, "channels"}, Names{ReportSection::Options, "options"},
    Names{ReportSection::Keys, "keys"},         Names{ReportSection::Scan, "scan"},
    Names{ReportSection::Alarm, "alarm"},       Names{ReportSection::Dtmf, "dtmf"},
    Names{ReportSection::TwoTone, "2tone"},     Names{ReportSection::FiveTone, "5tone"},
    Names{ReportSection::CommBook, "book"},     Names{ReportSection::EmbeddedInfo, "info"}};

constexpr int kTextOff = 1202;
constexpr int kTextOn = 1203;
constexpr int kTextNone = 7014;

class Builder {
public:
    Builder(const Codeplug& cp, const LanguageTable& table, int language)
        : cp_(cp), table_(table), language_(language)
    {
    }

    std::string text(int id) const { return table_.TextLookup(id); }
    std::string option(int key) const { return table_.OptionLookup(std::to_string(key)); }
    std::string onOff(bool on) const { return text(on ? kTextOn : kTextOff); }
    std::string entry(const ListEntries& list, int row) const
    {
        if (row < 0 || row >= static_cast<int>(list.size()))
            return {};
        return EntryText(list[static_cast<size_t>(row)], [this](int id) { return text(id); });
    }

    ReportPart channels() const;
    ReportPart options() const;
    ReportPart keys() const;
    ReportPart scan() const;
    ReportPart alarm() const;
    ReportPart dtmf() const;
    ReportPart twoTone() const;
    ReportPart fiveTone() const;
    ReportPart commBook() const;
    ReportPart embedded(const EmbeddedInfo& info, const std::string& modelLabel) const;

    // An empty part or table says so rather than printing nothing.
    void closePart(ReportPart& part) const
    {
        for (ReportBlock& b : part.blocks)
            if (b.note.empty() && b.table.rows.empty())
                b.note = text(kTextNone);
        if (part.blocks.empty())
            part.blocks.push_back({{}, {}, text(kTextNone)});
    }

private:
    const Codeplug& cp_;
    const LanguageTable& table_;
    int language_;
};

using Rows = std::vector<std::vector<std::string>>;

ReportBlock fields(Rows rows, std::string caption = {})
{
    return {std::move(caption), {{}, std::move(rows)}, {}};
}

ReportPart Builder::channels() const
{
    const TextLookupFn lookup = [this](int id) { return text(id); };
    ReportTable t;
    // The grid's columns without the hidden one, then the two flags.
    for (int c = 0; c <= 10; ++c)
        if (c != 6)
            t.headings.push_back(GridColumnHeading(c, lookup));
    t.headings.push_back(text(1111));
    t.headings.push_back(text(1105));
    for (int number = 1; number <= kMaxChannels; ++number) {
        const auto pos = FindChannel(cp_, number);
        if (!pos)
            continue;
        const ChannelRecord& ch = cp_.channels[static_cast<size_t>(*pos)];
        const ChannelCells cells = GridChannelCells(ch, cp_.body.Band, lookup);
        std::vector<std::string> row;
        for (int c = 0; c <= 10; ++c)
            if (c != 6)
                row.push_back(c == 3 ? latin1ToUtf8(cells.cells[static_cast<size_t>(c)]) : cells.cells[static_cast<size_t>(c)]);
        row.push_back(onOff(ch.ScanSkip == 1));
        row.push_back(onOff(ch.TxInhibit == 1));
        t.rows.push_back(std::move(row));
    }
    return {ReportSection::Channels, text(7001), {{{}, std::move(t), {}}}};
}

ReportPart Builder::options() const
{
    const OptionForm form = LoadOptionForm(cp_);
    const OptionFieldStates states = OptionStates(form);
    Rows rows;
    for (int k : kOptionShownLists) {
        if (k == kOptionAltList && !states.list18Shown)
            continue;
        rows.push_back({text(OptionListLabel(k)), entry(OptionListEntries(form, k), OptionListRow(form, k))});
    }
    for (int sw = 0; sw < 3; ++sw)
        rows.push_back({text(kOptionSwitchLabels[static_cast<size_t>(sw)]), onOff(OptionSwitch(form.work, sw) == 1)});
    std::string message;
    for (const std::string& m : form.message)
        message += m.empty() ? std::string(" ") : m;
    rows.push_back({text(1739), latin1ToUtf8(message)});
    rows.push_back({text(1737), onOff(form.passwordOn)});
    // The password itself never goes on paper.
    if (form.passwordOn)
        rows.push_back({text(1738), "****"});
    return {ReportSection::Options, text(5021), {fields(std::move(rows))}};
}

ReportPart Builder::keys() const
{
    const KeyForm form = LoadKeyForm(cp_);
    const ListEntries functions = KeyFunctionEntries();
    Rows rows;
    for (int i = 0; i < kKeyPresses; ++i)
        rows.push_back({text(kKeyLabelFirst + i), entry(functions, form.rows[static_cast<size_t>(i)])});
    return {ReportSection::Keys, text(5029), {fields(std::move(rows))}};
}

ListEntries numberEntries(const std::vector<int>& values)
{
    ListEntries out;
    for (int v : values)
        out.push_back({Lit(std::to_string(v))});
    return out;
}

ReportPart Builder::scan() const
{
    const ScanForm form = LoadScanForm(cp_);
    const ListEntries master = RevertMasterEntries();
    ListEntries revert;
    for (int m : RevertEntries(form.mode))
        revert.push_back(master[static_cast<size_t>(m)]);
    const ListEntries channels = numberEntries(form.channels);
    const std::array<std::string, kScanLabels.size()> values{
        entry(ScanPriorityEntries(), form.priority),  entry(ScanModeEntries(), form.mode),
        entry(channels, form.channel1),               entry(channels, form.channel2),
        entry(revert, form.revert),                   entry(ScanLookBackEntries(), form.lookBackA),
        entry(ScanLookBackEntries(), form.lookBackB), entry(ScanResumeEntries(), form.rxResume),
        entry(ScanResumeEntries(), form.txResume),    onOff(form.beep)};
    Rows rows;
    for (size_t i = 0; i < kScanLabels.size(); ++i)
        rows.push_back({text(kScanLabels[i]), values[i]});
    return {ReportSection::Scan, text(2400), {fields(std::move(rows))}};
}

ReportPart Builder::alarm() const
{
    const AlarmForm form = LoadAlarmForm(cp_);
    ListEntries codes;
    for (int v : form.idCodes)
        codes.push_back({Lit(IdCodeText(form.idType, v))});
    const std::array<std::string, kAlarmLabels.size()> values{
        entry(AlarmKindEntries(), form.kind),
        entry(AlarmIdTypeEntries(), form.idType),
        entry(codes, form.idCode),
        entry(AlarmSecondsEntries(), form.alarmTime),
        entry(AlarmSecondsEntries(), form.txTime),
        entry(AlarmSecondsEntries(), form.rxTime),
        entry(AlarmChannelChoiceEntries(), form.channelChoice),
        entry(numberEntries(form.channels), form.channel),
        entry(AlarmCycleEntries(), form.cycle),
        onOff(form.autoDetect),
        entry(PreAlertEntries(), form.preAlert),
        entry(LoneWorkerEntries(), form.loneWorker)};
    Rows rows;
    for (size_t i = 0; i < kAlarmLabels.size(); ++i)
        rows.push_back({text(kAlarmLabels[i]), values[i]});
    return {ReportSection::Alarm, text(2600), {fields(std::move(rows))}};
}

std::string rowText(const std::vector<std::string>& rows, int row)
{
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : std::string();
}

ReportPart Builder::dtmf() const
{
    // The window's own view of the record, corrections of out-of-range values included.
    DtmfSettings work = cp_.body.Settings.Dtmf;
    const DtmfForm form = LoadDtmfForm(work);
    const std::array<int, 3> decode{1650, 1651, 1653};
    Rows settings{
        {option(60302), form.codes[kDtmfPttIdBeginField]},
        {option(60303), form.codes[kDtmfPttIdEndField]},
        {option(60069), form.codes[kDtmfKillField]},
        {option(60093), form.codes[kDtmfStunField]},
        {text(1740), text(form.ani == 1 ? 1756 : 1755)},
        {text(1741), std::to_string(kDtmfSendTimesMs[static_cast<size_t>(std::clamp(form.sendTime, 0, kDtmfSendTimeRows - 1))]) +
                         text(1780)},
        {text(3002), form.ownId},
        {text(1604), std::string(1, DtmfSeparatorChar(form.separator))},
        {text(1605), form.groupCode == 0 ? text(1755) : std::string(1, DtmfSeparatorChar(form.groupCode - 1))},
        {text(1606), text(decode[static_cast<size_t>(std::clamp(form.decodeResponse, 0, 2))])},
        {text(1607), rowText(DtmfFirstDigitDelayRows(), form.firstDigitDelay)},
        {text(1608), rowText(DtmfSendDelayRows(), form.preSendDelay)},
        {text(1609), rowText(DtmfResetTimeRows(), form.resetTime)},
        {text(1610), rowText(DtmfSendDelayRows(), form.postSendDelay)},
        {text(1611), form.pauseTime == 0 ? text(1755) : rowText(DtmfPauseNumberRows(), form.pauseTime - 1)},
        {text(1612), onOff(form.sideTone)},
    };
    ReportTable codes{{"M", text(7017)}, {}};
    for (int k = 0; k < 16; ++k)
        codes.rows.push_back({"M" + std::to_string(k + 1), form.codes[static_cast<size_t>(k)]});
    return {ReportSection::Dtmf, text(5023), {{text(1602), std::move(codes), {}}, fields(std::move(settings))}};
}

ReportPart Builder::twoTone() const
{
    TwoToneSettings work = cp_.body.Settings.TwoTone;
    const TwoToneForm form = LoadTwoToneForm(work);
    const std::array<int, 3> decode{60057, 60058, 60059};
    Rows rows{{option(60049), std::string(kTwoToneFormats[static_cast<size_t>(form.format)])},
              {option(60050), option(decode[static_cast<size_t>(std::clamp(form.decodeResponse, 0, 2))])}};
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        rows.push_back({std::string(1, static_cast<char>('A' + i)) + option(60056), form.tones[static_cast<size_t>(i)]});
    for (int i = 0; i < 3; ++i)
        rows.push_back({option(60045 + i), TwoToneDurationText(form.durations[static_cast<size_t>(i)])});
    rows.push_back({option(60048), TwoToneDelayText(form.delay)});
    rows.push_back({option(60307), TwoToneTimerText(form.timer)});
    rows.push_back({option(60312), onOff(form.sideTone)});
    ReportTable calls{{option(60053), option(60054), option(60055), option(60304)}, {}};
    for (size_t i = 0; i < work.Entries.size(); ++i) {
        if (work.Entries[i].Empty != 0)
            continue;
        const CallCells c = EntryCellTexts(work.Entries[i]);
        calls.rows.push_back({std::to_string(i), c.first, c.second, latin1ToUtf8(c.name)});
    }
    return {ReportSection::TwoTone, text(5024), {fields(std::move(rows)), {option(60044), std::move(calls), {}}}};
}

std::string fiveToneCode(const FixedText<12>& code, int length)
{
    return code.trimmed().substr(0, static_cast<size_t>(std::clamp(length, 0, 12)));
}

ReportPart Builder::fiveTone() const
{
    const FiveToneSettings& f = cp_.body.Settings.FiveTone;
    const std::array<int, 3> decode{60057, 60058, 60059};
    const auto standard = [this](int value) {
        return ChoiceText(StandardName(value), [this](int id) { return text(id); });
    };
    Rows rows{{option(60072), latin1ToUtf8(f.OwnCode.trimmed())},
              {text(3004), standard(f.Standard)},
              {option(60070), option(decode[static_cast<size_t>(std::clamp<int>(f.DecodeResponse, 0, 2))])},
              {option(60071), std::to_string(f.ToneLength)},
              {option(60312), onOff(f.SideTone == 1)}};
    const std::array<int, 7> functions{60098, 60075, 60074, 60069, 60093, 60082, 60099};
    ReportTable info{{option(60095), option(60096), option(60097), option(60306)}, {}};
    for (size_t i = 0; i < f.InfoCodes.size(); ++i) {
        const FiveToneInfoCode& c = f.InfoCodes[i];
        const std::string code = fiveToneCode(c.Code, c.CodeLength);
        if (code.empty() && c.Name.trimmed().empty())
            continue;
        info.rows.push_back({std::to_string(i + 1),
                             c.DecodeFunction < functions.size() ? option(functions[c.DecodeFunction]) : std::string(),
                             code, latin1ToUtf8(c.Name.trimmed())});
    }
    ReportTable calls{{option(60053), option(60079), option(60061), option(60080), option(60305)}, {}};
    for (size_t i = 0; i < f.CallList.size(); ++i) {
        const FiveToneCode& c = f.CallList[i];
        if (c.Empty != 0)
            continue;
        const std::string code = c.Code.trimmed().substr(0, std::min<size_t>(c.CodeLength, 40));
        calls.rows.push_back({std::to_string(i), code, standard(c.Standard), std::to_string(c.ToneLength),
                              latin1ToUtf8(c.Name.trimmed())});
    }
    return {ReportSection::FiveTone,
            text(5025),
            {fields(std::move(rows)), {option(60095), std::move(info), {}}, {option(60062), std::move(calls), {}}}};
}

ReportPart Builder::commBook() const
{
    const CommBookForm form(cp_.body.Book);
    ReportTable t{{text(3007), "Call ID", text(1801)}, {}};
    for (int r = 0; r < kBookEntryCount; ++r) {
        const std::string id = form.cellText(r, kBookCallIdColumn);
        const std::string name = form.cellText(r, kBookNameColumn);
        if (id.empty() && name.empty())
            continue;
        t.rows.push_back({form.cellText(r, kBookNumberColumn), latin1ToUtf8(id), latin1ToUtf8(name)});
    }
    return {ReportSection::CommBook, text(5804), {{{}, std::move(t), {}}}};
}

ReportPart Builder::embedded(const EmbeddedInfo& info, const std::string& modelLabel) const
{
    auto label = [this](BuiltIn b) { return std::string(BuiltInText(b, language_)); };
    Rows rows{{label(BuiltIn::InfoAreaCode), latin1ToUtf8(info.AreaCode)},
              {label(BuiltIn::InfoManufactureCode), latin1ToUtf8(info.ManufactureCode)},
              {label(BuiltIn::InfoUserCode), latin1ToUtf8(info.UserCode)},
              {label(BuiltIn::InfoRadioType), modelLabel},
              {label(BuiltIn::InfoSerialNumber), latin1ToUtf8(info.SerialNumber)},
              {label(BuiltIn::InfoProductionDate), latin1ToUtf8(info.ProductionDate)},
              {label(BuiltIn::InfoMaintenanceDate), latin1ToUtf8(info.MaintenanceDate)},
              {label(BuiltIn::InfoMaintenanceDescription), latin1ToUtf8(info.Description)},
              {label(BuiltIn::InfoVersion), latin1ToUtf8(info.Version)}};
    Rows dealer{{label(BuiltIn::InfoDealerCode), latin1ToUtf8(info.DealerCode)},
                {label(BuiltIn::InfoStockDate), latin1ToUtf8(info.StockDate)},
                {label(BuiltIn::InfoSellDate), latin1ToUtf8(info.SellDate)},
                {label(BuiltIn::InfoSeller), latin1ToUtf8(info.Seller)}};
    return {ReportSection::EmbeddedInfo,
            label(BuiltIn::InfoTitle),
            {{{}, {}, text(7015)}, fields(std::move(rows)), fields(std::move(dealer), label(BuiltIn::InfoDealerGroup))}};
}

std::string replaceAll(std::string s, std::string_view what, std::string_view with)
{
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
        s.replace(at, what.size(), with);
    return s;
}

} // namespace

std::string_view ReportSectionName(ReportSection s)
{
    for (const Names& n : kNames)
        if (n.section == s)
            return n.name;
    return {};
}

std::optional<ReportSection> FindReportSection(std::string_view name)
{
    for (const Names& n : kNames)
        if (n.name == name)
            return n.section;
    return std::nullopt;
}

bool ReportSectionOffered(ReportSection s, const SignalViewSwitches& switches, bool infoRead)
{
    switch (s) {
    case ReportSection::Dtmf: return switches.Dtmf != 0;
    case ReportSection::TwoTone: return switches.TwoTone != 0;
    case ReportSection::FiveTone: return switches.FiveTone != 0;
    case ReportSection::EmbeddedInfo: return infoRead;
    default: return true;
    }
}

std::string ReportPageText(const Report& report, int page, int pages)
{
    return replaceAll(replaceAll(report.pageFormat, "%1", std::to_string(page)), "%2", std::to_string(pages));
}

Report BuildPrintReport(const Codeplug& cp, const EmbeddedInfo* info, std::span<const ReportSection> chosen,
                   const LanguageTable& table, int language, const ReportFacts& facts)
{
    const Builder b(cp, table, language);
    Report r;
    r.title = b.text(7000);
    std::string file = b.text(7008) + ": " + FileNameOfPath(facts.fileName);
    if (facts.untitled)
        file += " " + b.text(7012);
    else if (facts.modified)
        file += " " + b.text(7011);
    r.fileLine = std::move(file);
    r.modelLine = b.text(7009) + ": " + facts.modelLabel + " " + BandText(cp.body.Band);
    r.dateLine = b.text(7010) + ": " + facts.dateTime;
    r.pageFormat = b.text(7013);
    r.font = b.text(20);
    for (ReportSection s : kReportSections) {
        if (std::find(chosen.begin(), chosen.end(), s) == chosen.end() ||
            !ReportSectionOffered(s, facts.switches, info != nullptr))
            continue;
        ReportPart part;
        switch (s) {
        case ReportSection::Channels: part = b.channels(); break;
        case ReportSection::Options: part = b.options(); break;
        case ReportSection::Keys: part = b.keys(); break;
        case ReportSection::Scan: part = b.scan(); break;
        case ReportSection::Alarm: part = b.alarm(); break;
        case ReportSection::Dtmf: part = b.dtmf(); break;
        case ReportSection::TwoTone: part = b.twoTone(); break;
        case ReportSection::FiveTone: part = b.fiveTone(); break;
        case ReportSection::CommBook: part = b.commBook(); break;
        case ReportSection::EmbeddedInfo: part = b.embedded(*info, facts.modelLabel); break;
        }
        b.closePart(part);
        r.parts.push_back(std::move(part));
    }
    return r;
}

} // namespace qtx
