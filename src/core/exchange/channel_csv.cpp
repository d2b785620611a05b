#include "exchange/channel_csv.h"

#include "convert/frequency.h"
#include "convert/numeric.h"
#include "forms/channel_form.h"
#include "exchange/csv_table.h"
#include "files/file_io.h"
#include "model/channel_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace qtx {

namespace {

constexpr int kFirstMemoryLocation = 0;
constexpr int kLastMemoryLocation = kMemoryChannels - 1;

// Steps in Hz, in the order Step stores them.
constexpr std::array<int, kStepCount> kStepHz{2500, 5000, 6250, 8330, 10000, 12500, 20000, 25000, 30000, 50000};
constexpr std::array<std::string_view, kStepCount> kStepCsvTexts{"2.50",  "5.00",  "6.25",  "8.33",  "10.00",
                                                                 "12.50", "20.00", "25.00", "30.00", "50.00"};

// The power levels by the names the radio's lists give them.
constexpr std::array<std::string_view, kTxPowerCount> kPowerNames{"High", "Mid", "Low"};
// Nominal output of the levels, for lists that give watts.
constexpr std::array<double, kTxPowerCount> kPowerWatts{50.0, 25.0, 10.0};

constexpr size_t kNameLength = decltype(ChannelRecord::Name)::size;

constexpr std::string_view kDefaultTone = "88.5";
constexpr std::string_view kDefaultDcs = "023";

std::string_view trim(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

std::string lower(std::string_view t)
{
    std::string s(t);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

// Units (10 Hz) as the list writes megahertz: six decimals.
std::string csvMHz(FreqUnits units)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%06lld", static_cast<long long>(units / kUnitsPerMHz),
                  static_cast<long long>(units % kUnitsPerMHz * 10));
    return buf;
}

std::string shownMHz(FreqUnits units) { return FormatFreqUnits(units, 1); }

// A decimal frequency in MHz whose digits beyond 10 Hz are all zero.
bool exactTo10Hz(std::string_view text)
{
    text = trim(text);
    const size_t point = text.find('.');
    if (point == std::string_view::npos)
        return true;
    const std::string_view beyond = text.substr(point + 1);
    return beyond.size() <= 5 || beyond.substr(5).find_first_not_of('0') == std::string_view::npos;
}

std::optional<FreqUnits> positiveUnits(std::string_view text)
{
    text = trim(text);
    if (!IsDecimalNumber(text) || text.front() == '-')
        return std::nullopt;
    return FreqTextUnits(text);
}

std::optional<int> ctcssIndex(std::string_view text)
{
    const auto hz = ParseDecimal(trim(text));
    if (!hz)
        return std::nullopt;
    for (int i = 0; i < kCtcssCount; ++i)
        if (std::fabs(*ParseDecimal(kCtcssTexts[static_cast<size_t>(i)]) - *hz) < 0.05)
            return i;
    return std::nullopt;
}

// Three octal digits or fewer, 000-777.
std::optional<int> dcsCode(std::string_view text)
{
    text = trim(text);
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '7')
            return std::nullopt;
        value = value * 8 + (c - '0');
    }
    return value;
}

// --- Names ------------------------------------------------------------------

// The letters U+00C0-U+00FF without their accents; '?' where there is no
// plain letter.
constexpr std::string_view kLatin1Plain = "AAAAAAACEEEEIIIIDNOOOOO?OUUUUY?saaaaaaaceeeeiiiidnooooo?ouuuuy?y";

bool radioCanShow(char32_t c) { return c >= 0x20 && c <= 0x7E && c != '\\' && c != '~'; }

// The next character of a UTF-8 text (the reader has checked it).
char32_t nextChar(std::string_view s, size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < n && i + k < s.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += static_cast<size_t>(n);
    return c;
}

// --- Findings ---------------------------------------------------------------

class Findings {
public:
    explicit Findings(ChannelCsvImport& out) : out_(out) {}
    void add(int line, std::string_view column, CsvFindingKind kind, std::string_view value, std::string result = {})
    {
        if (static_cast<int>(out_.findings.size()) >= kMaxCsvFindings) {
            ++out_.omittedFindings;
            return;
        }
        out_.findings.push_back(CsvFinding{line, std::string(column), kind, std::string(value), std::move(result)});
    }

private:
    ChannelCsvImport& out_;
};

// --- One row ----------------------------------------------------------------

enum Column : size_t {
    cLocation, cName, cFrequency, cDuplex, cOffset, cTone, cRTone, cCTone, cDtcs, cPolarity, cRxDtcs, cCross,
    cMode, cStep, cSkip, cPower,
};

class RowReader {
public:
    RowReader(const std::vector<int>& index, const std::vector<std::string>& fields, int line, Findings& findings)
        : index_(index), fields_(fields), line_(line), findings_(findings)
    {
    }

    std::string_view cell(Column c) const
    {
        const int i = index_[c];
        return i >= 0 && static_cast<size_t>(i) < fields_.size() ? std::string_view(fields_[static_cast<size_t>(i)])
                                                                 : std::string_view();
    }
    void report(Column c, CsvFindingKind kind, std::string result = {})
    {
        findings_.add(line_, kChannelCsvColumns[c], kind, cell(c), std::move(result));
    }
    void reportValue(Column c, CsvFindingKind kind, std::string_view value, std::string result)
    {
        findings_.add(line_, kChannelCsvColumns[c], kind, value, std::move(result));
    }
    int line() const { return line_; }

private:
    const std::vector<int>& index_;
    const std::vector<std::string>& fields_;
    int line_;
    Findings& findings_;
};

struct Tone {
    int type = 0; // 0 none, 1 CTCSS, 2 DCS
    int value = 0;
};

Tone ctcssFrom(RowReader& row, Column column)
{
    if (const auto i = ctcssIndex(row.cell(column)))
        return {1, *i};
    row.report(column, CsvFindingKind::ToneNotInTable);
    return {};
}

Tone dcsFrom(RowReader& row, Column column)
{
    if (const auto code = dcsCode(row.cell(column)))
        return {2, *code};
    row.report(column, CsvFindingKind::DcsNotInList);
    return {};
}

void readTones(RowReader& row, ChannelRecord& ch)
{
    const std::string mode = lower(trim(row.cell(cTone)));
    Tone tx;
    Tone rx;
    if (mode.empty()) {
    } else if (mode == "tone") {
        tx = ctcssFrom(row, cRTone);
    } else if (mode == "tsql") {
        tx = rx = ctcssFrom(row, cCTone);
    } else if (mode == "dtcs") {
        tx = rx = dcsFrom(row, cDtcs);
    } else if (mode == "cross") {
        const std::string cross = lower(trim(row.cell(cCross)));
        const size_t arrow = cross.find("->");
        const std::string from = arrow == std::string::npos ? std::string() : cross.substr(0, arrow);
        const std::string to = arrow == std::string::npos ? std::string() : cross.substr(arrow + 2);
        const bool known = arrow != std::string::npos && (from.empty() || from == "tone" || from == "dtcs") &&
                           (to.empty() || to == "tone" || to == "dtcs") && !(from.empty() && to.empty());
        if (!known) {
            row.report(cCross, CsvFindingKind::CrossModeUnknown);
        } else {
            if (from == "tone")
                tx = ctcssFrom(row, cRTone);
            else if (from == "dtcs")
                tx = dcsFrom(row, cDtcs);
            if (to == "tone")
                rx = ctcssFrom(row, cCTone);
            else if (to == "dtcs")
                rx = dcsFrom(row, cRxDtcs);
        }
    } else {
        row.report(cTone, CsvFindingKind::ToneModeUnknown);
    }

    bool txInverted = false;
    bool rxInverted = false;
    if (tx.type == 2 || rx.type == 2) {
        const std::string polarity = lower(trim(row.cell(cPolarity)));
        const bool known = polarity.empty() ||
                           (polarity.size() == 2 && (polarity[0] == 'n' || polarity[0] == 'r') &&
                            (polarity[1] == 'n' || polarity[1] == 'r'));
        if (!known)
            row.report(cPolarity, CsvFindingKind::PolarityUnknown, "NN");
        else if (!polarity.empty()) {
            txInverted = polarity[0] == 'r';
            rxInverted = polarity[1] == 'r';
        }
    }

    auto store = [](const Tone& t, bool inverted, int16_t& type, int16_t& ctcss, int16_t& dcs, int16_t& inv,
                    int16_t& high) {
        type = static_cast<int16_t>(t.type);
        if (t.type == 1)
            ctcss = static_cast<int16_t>(t.value);
        if (t.type == 2) {
            dcs = static_cast<int16_t>(t.value);
            inv = inverted ? 1 : 0;
            high = static_cast<int16_t>(t.value >> 8);
        }
    };
    store(tx, txInverted, ch.TxToneType, ch.TxCtcss, ch.TxDcsCode, ch.TxDcsInverted, ch.TxDcsHigh);
    store(rx, rxInverted, ch.RxToneType, ch.RxCtcss, ch.RxDcsCode, ch.RxDcsInverted, ch.RxDcsHigh);
}

// Frequency, Duplex and Offset. False when the row has no usable frequency.
bool readFrequencies(RowReader& row, ImportedChannel& imported, const BandPlan& band)
{
    ChannelRecord& ch = imported.record;
    const std::string_view rxCell = trim(row.cell(cFrequency));
    const auto rx = positiveUnits(rxCell);
    if (!rx || *rx == 0) {
        row.report(cFrequency, CsvFindingKind::FrequencyInvalid);
        return false;
    }

    const std::string duplex = lower(trim(row.cell(cDuplex)));
    const std::string_view offsetCell = trim(row.cell(cOffset));
    FreqUnits tx = *rx;
    bool txTyped = false; // the transmit frequency differs from the receive one on purpose
    bool txExact = true;
    if (duplex == "+" || duplex == "-" || duplex == "split") {
        if (const auto offset = positiveUnits(offsetCell)) {
            tx = duplex == "split" ? *offset : duplex == "+" ? *rx + *offset : *rx - *offset;
            txTyped = true;
            txExact = exactTo10Hz(offsetCell);
        } else {
            row.report(cOffset, CsvFindingKind::OffsetInvalid);
        }
    } else if (duplex == "off") {
        ch.TxInhibit = 1;
        imported.keepsShift = true;
    } else if (!duplex.empty()) {
        row.report(cDuplex, CsvFindingKind::DuplexUnknown);
    }

    const ChannelFrequencies f = FitChannelFrequencies(FormatFreqUnits(*rx, 3), FormatFreqUnits(tx, 3), band);
    ch.RxFrequency.setPadded(f.rxDigits);
    ch.Offset.setPadded(f.offsetDigits);
    ch.ShiftDirection = f.direction;

    if (f.rx != *rx || !exactTo10Hz(rxCell))
        row.report(cFrequency, CsvFindingKind::FrequencyFitted, shownMHz(f.rx));
    // A simplex channel's transmit frequency follows the receive one; it is
    // only worth a word when the transmit band moved it apart, and never
    // when the channel does not transmit.
    const bool txMoved = txTyped ? (f.tx != tx || !txExact) : (f.tx != f.rx && !ch.TxInhibit);
    if (txMoved)
        row.reportValue(txTyped ? cOffset : cFrequency, CsvFindingKind::TransmitFitted, shownMHz(tx), shownMHz(f.tx));
    return true;
}

void readMode(RowReader& row, ImportedChannel& imported)
{
    const std::string mode = lower(trim(row.cell(cMode)));
    if (mode == "nfm") {
        imported.record.Bandwidth = 2;
        return;
    }
    if (!mode.empty() && mode != "fm")
        row.report(cMode, CsvFindingKind::ModeUnknown, "FM");
    imported.record.Bandwidth = 0;
    imported.wide = true;
}

void readStep(RowReader& row, ChannelRecord& ch)
{
    const std::string_view cell = trim(row.cell(cStep));
    if (cell.empty())
        return; // the blank channel's step
    const auto khz = ParseDecimal(cell);
    if (!khz || !std::isfinite(*khz)) {
        row.report(cStep, CsvFindingKind::StepNearest, std::string(kStepCsvTexts[static_cast<size_t>(ch.Step)]));
        return;
    }
    const double hz = *khz * 1000.0;
    int best = 0;
    for (int i = 1; i < kStepCount; ++i)
        if (std::fabs(kStepHz[static_cast<size_t>(i)] - hz) < std::fabs(kStepHz[static_cast<size_t>(best)] - hz))
            best = i;
    ch.Step = static_cast<int16_t>(best);
    // 8.33 is how every list writes the 25/3 kHz step.
    const double tolerance = kStepHz[static_cast<size_t>(best)] == 8330 ? 5.0 : 0.5;
    if (std::fabs(kStepHz[static_cast<size_t>(best)] - hz) > tolerance)
        row.report(cStep, CsvFindingKind::StepNearest, std::string(kStepCsvTexts[static_cast<size_t>(best)]));
}

void readSkip(RowReader& row, ChannelRecord& ch)
{
    const std::string skip = lower(trim(row.cell(cSkip)));
    ch.ScanSkip = skip == "s" ? 1 : 0;
    if (!skip.empty() && skip != "s")
        row.report(cSkip, CsvFindingKind::SkipUnknown);
}

void readPower(RowReader& row, ChannelRecord& ch)
{
    const std::string_view cell = trim(row.cell(cPower));
    if (cell.empty())
        return;
    // The radio's own names, in either language of its lists.
    static constexpr std::array<std::string_view, kTxPowerCount> kChineseNames{"\xE9\xAB\x98", "\xE4\xB8\xAD",
                                                                              "\xE4\xBD\x8E"};
    for (int i = 0; i < kTxPowerCount; ++i) {
        if (equalsNoCase(cell, kPowerNames[static_cast<size_t>(i)]) || cell == kChineseNames[static_cast<size_t>(i)]) {
            ch.TxPower = static_cast<int16_t>(i);
            return;
        }
    }
    int level = 0;
    std::string_view number = cell;
    if (!number.empty() && (number.back() == 'w' || number.back() == 'W'))
        number = trim(number.substr(0, number.size() - 1));
    if (const auto watts = ParseDecimal(number); watts && std::isfinite(*watts)) {
        for (int i = 1; i < kTxPowerCount; ++i)
            if (std::fabs(kPowerWatts[static_cast<size_t>(i)] - *watts) <
                std::fabs(kPowerWatts[static_cast<size_t>(level)] - *watts))
                level = i;
    } else {
        const std::string word = lower(cell);
        if (word.rfind("m", 0) == 0)
            level = 1;
        else if (word.rfind("l", 0) == 0)
            level = 2;
    }
    ch.TxPower = static_cast<int16_t>(level);
    row.report(cPower, CsvFindingKind::PowerNearest, std::string(kPowerNames[static_cast<size_t>(level)]));
}

void readName(RowReader& row, ChannelRecord& ch)
{
    const std::string_view cell = row.cell(cName);
    const NameFit fit = FitChannelName(cell);
    ch.Name.setTerminated(fit.name);
    if (fit.replaced)
        row.report(cName, CsvFindingKind::NameReplaced, fit.name);
    else if (fit.cut)
        row.report(cName, CsvFindingKind::NameCut, fit.name);
}

bool blankRow(const std::vector<std::string>& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return trim(f).empty(); });
}

std::optional<int> locationOf(std::string_view cell)
{
    cell = trim(cell);
    if (cell.empty() || cell.size() > 6 || cell.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int location = std::stoi(std::string(cell));
    if (location < kFirstMemoryLocation || location > kLastMemoryLocation)
        return std::nullopt;
    return location;
}

size_t columnOrder(const CsvFinding& f)
{
    return static_cast<size_t>(std::find(kChannelCsvColumns.begin(), kChannelCsvColumns.end(), f.column) -
                               kChannelCsvColumns.begin());
}

Error notAList(std::string detail) { return Error{"7513", std::move(detail)}; }

} // namespace

NameFit FitChannelName(std::string_view utf8)
{
    NameFit fit;
    std::string_view text = utf8;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    size_t chars = 0;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = nextChar(text, i);
        char shown = '?';
        if (radioCanShow(c))
            shown = static_cast<char>(c);
        else if (c >= 0xC0 && c <= 0xFF)
            shown = kLatin1Plain[c - 0xC0];
        if (chars == kNameLength) {
            fit.cut = true;
            break;
        }
        if (c > 0x7F || shown != static_cast<char>(c))
            fit.replaced = true;
        fit.name += shown;
        ++chars;
    }
    while (!fit.name.empty() && fit.name.back() == ' ')
        fit.name.pop_back();
    return fit;
}

Result<ChannelCsvImport> ReadChannelCsv(std::string_view bytes, const BandPlan& band)
{
    if (bytes.size() > kMaxChannelCsvBytes)
        return notAList("the file holds " + std::to_string(bytes.size()) + " bytes, far more than any channel list");
    if (bytes.find('\0') != std::string_view::npos)
        return notAList("the file is not text (it holds NUL bytes)");

    ChannelCsvImport out;
    Findings findings(out);
    std::string converted;
    std::string_view text = bytes;
    if (!IsValidUtf8(text)) {
        converted = Latin1ToUtf8(text);
        text = converted;
        findings.add(0, {}, CsvFindingKind::NotUtf8, {});
    }

    CsvReader reader(text);
    std::vector<std::string> fields;
    // The header: the first row that is not blank.
    std::vector<int> index(kChannelCsvColumnCount, -1);
    while (true) {
        auto more = reader.Next(fields);
        if (!more)
            return notAList(more.error().detail);
        if (!more.value())
            return notAList("the file is empty");
        if (!blankRow(fields))
            break;
    }
    for (size_t i = fields.size(); i-- > 0;) {
        const std::string name = lower(trim(fields[i]));
        for (size_t c = 0; c < kChannelCsvColumns.size(); ++c)
            if (name == lower(kChannelCsvColumns[c]))
                index[c] = static_cast<int>(i); // the first of repeated names wins
    }
    if (index[cLocation] < 0 || index[cFrequency] < 0) {
        std::string missing = index[cLocation] < 0 ? "Location" : "";
        if (index[cFrequency] < 0)
            missing += missing.empty() ? "Frequency" : " and Frequency";
        return notAList("the first line has no column " + missing + "; it is not a channel list");
    }

    std::map<int, int> lineOfNumber;
    while (true) {
        auto more = reader.Next(fields);
        if (!more)
            return notAList(more.error().detail);
        if (!more.value())
            break;
        if (blankRow(fields))
            continue;
        ++out.rows;
        RowReader row(index, fields, reader.RecordLine(), findings);
        const auto location = locationOf(row.cell(cLocation));
        if (!location) {
            row.report(cLocation, CsvFindingKind::LocationInvalid);
            continue;
        }
        const int number = *location + 1;
        if (const auto seen = lineOfNumber.find(number); seen != lineOfNumber.end()) {
            row.report(cLocation, CsvFindingKind::LocationRepeated, std::to_string(seen->second));
            continue;
        }
        const size_t firstFinding = out.findings.size();
        ImportedChannel imported;
        imported.record = BlankChannel(number);
        imported.record.InUse = 1;
        imported.line = row.line();
        if (!readFrequencies(row, imported, band))
            continue;
        lineOfNumber.emplace(number, row.line());
        readName(row, imported.record);
        readTones(row, imported.record);
        readMode(row, imported);
        readStep(row, imported.record);
        readSkip(row, imported.record);
        readPower(row, imported.record);
        // A row's findings in the order of the columns.
        std::stable_sort(out.findings.begin() + static_cast<std::ptrdiff_t>(firstFinding), out.findings.end(),
                         [](const CsvFinding& a, const CsvFinding& b) { return columnOrder(a) < columnOrder(b); });
        out.channels.push_back(std::move(imported));
    }
    return out;
}

Result<ChannelCsvImport> ReadChannelCsvFile(const std::string& path, const BandPlan& band)
{
    auto bytes = ReadBoundedFile(path, FileShape{"a channel list", 0, kMaxChannelCsvBytes});
    if (!bytes)
        return bytes.error();
    const auto& b = bytes.value();
    return ReadChannelCsv(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()), band);
}

// --- Applying ------------------------------------------------------------------

namespace {

// The imported values over the channel they replace (or a blank one).
ChannelRecord mergedChannel(const ChannelRecord& base, const ImportedChannel& imported, const BandPlan& band)
{
    const ChannelRecord& in = imported.record;
    ChannelRecord ch = base;
    ch.Number = in.Number;
    ch.InUse = 1;
    ch.ScanSkip = in.ScanSkip;
    ch.RxFrequency = in.RxFrequency;
    ch.Name = in.Name;
    ch.Step = in.Step;
    ch.TxInhibit = in.TxInhibit;
    ch.TxPower = in.TxPower;
    ch.Bandwidth = imported.wide && base.Bandwidth == 1 ? int16_t{1} : in.Bandwidth;
    if (imported.keepsShift) {
        // Transmission is off; the transmit frequency the channel had stays,
        // fitted to its new receive frequency.
        const auto rx = FreqTextUnits(DigitsToFreqText(in.RxFrequency.str(), band).text).value_or(0);
        const auto offset = FreqTextUnits(DigitsToOffsetText(base.Offset.str()).text).value_or(0);
        const FreqUnits tx = base.ShiftDirection == 1 ? rx - offset : base.ShiftDirection == 2 ? rx + offset : rx;
        const ChannelFrequencies f = FitChannelFrequencies(FormatFreqUnits(rx, 3), FormatFreqUnits(tx, 3), band);
        ch.ShiftDirection = f.direction;
        ch.Offset.setPadded(f.offsetDigits);
    } else {
        ch.ShiftDirection = in.ShiftDirection;
        ch.Offset = in.Offset;
    }
    ch.TxToneType = in.TxToneType;
    ch.RxToneType = in.RxToneType;
    if (in.TxToneType == 1)
        ch.TxCtcss = in.TxCtcss;
    if (in.RxToneType == 1)
        ch.RxCtcss = in.RxCtcss;
    if (in.TxToneType == 2) {
        ch.TxDcsCode = in.TxDcsCode;
        ch.TxDcsInverted = in.TxDcsInverted;
        ch.TxDcsHigh = in.TxDcsHigh;
    }
    if (in.RxToneType == 2) {
        ch.RxDcsCode = in.RxDcsCode;
        ch.RxDcsInverted = in.RxDcsInverted;
        ch.RxDcsHigh = in.RxDcsHigh;
    }
    // New tones may leave the squelch mode the channel had without a tone.
    const auto choices = SquelchChoices(ch.Reverse != 0, ch.RxToneType, ch.TxToneType,
                                        static_cast<OptionalSignalKind>(std::clamp<int>(ch.OptionalSignal, 0, 3)));
    ch.SquelchMode = static_cast<int16_t>(KeepSquelch(choices, ch.SquelchMode));
    return ch;
}

std::vector<const ImportedChannel*> byNumber(const ChannelCsvImport& import)
{
    std::vector<const ImportedChannel*> list;
    for (const auto& c : import.channels)
        list.push_back(&c);
    std::stable_sort(list.begin(), list.end(),
                     [](const ImportedChannel* a, const ImportedChannel* b) { return a->record.Number < b->record.Number; });
    return list;
}

} // namespace

ChannelImportPlan PlanChannelImport(const Codeplug& cp, const ChannelCsvImport& import, ChannelImportMode mode)
{
    ChannelImportPlan plan;
    std::vector<bool> listed(kMemoryChannels + 1, false);
    for (const auto& c : import.channels) {
        const int n = c.record.Number;
        listed[static_cast<size_t>(n)] = true;
        (ChannelExists(cp, n) ? plan.replaced : plan.added).push_back(n);
    }
    if (mode == ChannelImportMode::ReplaceAll)
        for (int n = 1; n <= kMemoryChannels; ++n)
            if (!listed[static_cast<size_t>(n)] && ChannelExists(cp, n))
                plan.removed.push_back(n);
    return plan;
}

void ApplyChannelImport(Codeplug& cp, const ChannelCsvImport& import, ChannelImportMode mode, const BandPlan& band)
{
    if (mode == ChannelImportMode::ReplaceAll)
        for (int n = 1; n <= kMemoryChannels; ++n)
            while (FindChannel(cp, n))
                DeleteChannel(cp, n);
    for (const ImportedChannel* imported : byNumber(import)) {
        const int n = imported->record.Number;
        if (n < 1 || n > kMemoryChannels)
            continue;
        const auto pos = FindChannel(cp, n);
        const ChannelRecord base = pos && cp.channels[*pos].InUse == 1 ? cp.channels[*pos] : BlankChannel(n);
        const ChannelRecord merged = mergedChannel(base, *imported, band);
        if (pos) {
            cp.channels[*pos] = merged;
        } else if (cp.count() < kMaxChannels) {
            cp.channels[static_cast<size_t>(cp.count())] = merged;
            ++cp.body.ChannelCount;
        }
    }
    RepairChannelReferences(cp);
}

// --- Writing ---------------------------------------------------------------------

namespace {

struct ToneColumns {
    std::string mode;
    std::string rTone{kDefaultTone};
    std::string cTone{kDefaultTone};
    std::string dtcs{kDefaultDcs};
    std::string polarity = "NN";
    std::string rxDtcs{kDefaultDcs};
    std::string cross = "Tone->Tone";
};

ToneColumns toneColumns(const ChannelRecord& ch)
{
    ToneColumns t;
    // A side whose tone is outside the radio's lists has none.
    auto side = [](int type, int ctcss, int dcs) {
        if (type == 1 && !CtcssText(ctcss).empty())
            return 1;
        if (type == 2 && !DcsText(dcs).empty())
            return 2;
        return 0;
    };
    const int tx = side(ch.TxToneType, ch.TxCtcss, ch.TxDcsCode);
    const int rx = side(ch.RxToneType, ch.RxCtcss, ch.RxDcsCode);
    if (tx == 1)
        t.rTone = CtcssText(ch.TxCtcss);
    if (rx == 1)
        t.cTone = CtcssText(ch.RxCtcss);
    if (tx == 2)
        t.dtcs = DcsText(ch.TxDcsCode);
    if (rx == 2)
        t.rxDtcs = DcsText(ch.RxDcsCode);
    t.polarity = std::string(tx == 2 && ch.TxDcsInverted ? "R" : "N") + (rx == 2 && ch.RxDcsInverted ? "R" : "N");

    if (tx == 0 && rx == 0)
        return t;
    if (tx == 1 && rx == 0) {
        t.mode = "Tone";
    } else if (tx == 1 && rx == 1 && ch.TxCtcss == ch.RxCtcss) {
        t.mode = "TSQL";
    } else if (tx == 2 && rx == 2 && ch.TxDcsCode == ch.RxDcsCode) {
        t.mode = "DTCS";
    } else {
        static constexpr std::array<std::string_view, 3> kSide{"", "Tone", "DTCS"};
        t.mode = "Cross";
        t.cross = std::string(kSide[static_cast<size_t>(tx)]) + "->" + std::string(kSide[static_cast<size_t>(rx)]);
    }
    return t;
}

std::string latin1Name(const ChannelRecord& ch) { return Latin1ToUtf8(ch.Name.trimmed()); }

} // namespace

ChannelCsvExport WriteChannelCsv(const Codeplug& cp)
{
    ChannelCsvExport out;
    out.text = CsvRecord(std::vector<std::string>(kChannelCsvColumns.begin(), kChannelCsvColumns.end()));
    const BandPlan& band = cp.body.Band;
    std::vector<const ChannelRecord*> channels;
    const int count = std::clamp<int>(cp.count(), 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& ch = cp.channels[static_cast<size_t>(i)];
        if (ch.InUse == 1 && ch.Number >= 1 && ch.Number <= kMemoryChannels)
            channels.push_back(&ch);
    }
    std::stable_sort(channels.begin(), channels.end(),
                     [](const ChannelRecord* a, const ChannelRecord* b) { return a->Number < b->Number; });

    for (const ChannelRecord* ch : channels) {
        const FreqText rxText = DigitsToFreqText(ch->RxFrequency.str(), band);
        const auto rx = FreqTextUnits(rxText.text);
        if (rxText.corrected || !rx) {
            out.leftOut.push_back(ch->Number);
            continue;
        }
        const auto offset = FreqTextUnits(DigitsToOffsetText(ch->Offset.str()).text).value_or(0);
        std::string duplex;
        if (ch->TxInhibit)
            duplex = "off";
        else if (offset != 0 && ch->ShiftDirection == 1)
            duplex = "-";
        else if (offset != 0 && ch->ShiftDirection == 2)
            duplex = "+";
        const ToneColumns tones = toneColumns(*ch);
        const int step = ch->Step >= 0 && ch->Step < kStepCount ? ch->Step : 5;
        const int power = ch->TxPower == 3 ? 2 : ch->TxPower >= 0 && ch->TxPower < kTxPowerCount ? ch->TxPower : 0;
        out.text += CsvRecord({
            std::to_string(ch->Number - 1),
            latin1Name(*ch),
            csvMHz(*rx),
            duplex,
            csvMHz(duplex == "-" || duplex == "+" ? offset : 0),
            tones.mode,
            tones.rTone,
            tones.cTone,
            tones.dtcs,
            tones.polarity,
            tones.rxDtcs,
            tones.cross,
            ch->Bandwidth == 2 ? "NFM" : "FM",
            std::string(kStepCsvTexts[static_cast<size_t>(step)]),
            ch->ScanSkip ? "S" : "",
            std::string(kPowerNames[static_cast<size_t>(power)]),
            "", "", "", "", "",
        });
        ++out.channels;
    }
    return out;
}

// --- Words -----------------------------------------------------------------------

int FindingTextId(CsvFindingKind kind)
{
    if (kind == CsvFindingKind::NotUtf8)
        return 7519;
    return 7520 + static_cast<int>(kind);
}

std::string FindingText(const CsvFinding& finding, const CsvTextFn& textOf)
{
    std::string pattern = textOf ? textOf(FindingTextId(finding.kind)) : std::string();
    if (pattern.empty()) {
        // No language file: the cell and the result in plain form.
        pattern = finding.column.empty() ? "file read as Latin-1" : "\"%1\"";
        if (finding.skipsRow())
            pattern += ": row left out";
        else if (!finding.result.empty())
            pattern += " -> \"%2\"";
        else if (!finding.column.empty())
            pattern += " not used";
    }
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? finding.value : finding.result;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace qtx
