#include "forms/five_tone_form.h"

#include "convert/code_text.h"
#include "convert/numeric.h"
#include "forms/form_lists.h"
#include "model/channel_list.h"

#include <algorithm>

namespace qtx {

namespace {

constexpr int kOffText = 1755;
constexpr int kKill = 3, kStun = 4, kWaken = 5;

bool toneLengthInRange(int ms) { return ms >= 30 && ms <= 100; }

std::vector<int> range(int first, int last, int step = 1)
{
    std::vector<int> out;
    for (int v = first; v <= last; v += step)
        out.push_back(v);
    return out;
}

std::vector<int> listValues(FiveToneList list)
{
    switch (list) {
    case FiveToneList::DecodeResponse: return range(0, 2);
    case FiveToneList::ToneLength: return range(30, 100, 10);
    case FiveToneList::PreSendDelay:
    case FiveToneList::PostSendDelay:
    case FiveToneList::FirstDigitDelay: return range(1, 255);
    case FiveToneList::AutoReset:
    case FiveToneList::FirstCodeDelay: return range(0, 250);
    case FiveToneList::RingTime: {
        std::vector<int> v = range(5, 75);
        v.insert(v.begin(), 0);
        return v;
    }
    case FiveToneList::PauseCode: return {0, 11, 12, 13, 15};
    case FiveToneList::PauseTime: return range(0, 255);
    case FiveToneList::DecodeTime: return range(0, 200);
    }
    return {};
}

std::string valueText(FiveToneList list, int value)
{
    switch (list) {
    case FiveToneList::ToneLength:
    case FiveToneList::RingTime: return std::to_string(value);
    case FiveToneList::AutoReset: return FixedDecimal(value / 10.0, 1, 1);
    case FiveToneList::PauseCode: return std::string(1, "0123456789ABCDEF"[value & 15]);
    default: return std::to_string(value * 10);
    }
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// The previous own ID written out after tone p, in a form the code helpers
// accept: plain or repeat-encoded.
bool isOwnId(std::string_view rest, std::string_view own, char p)
{
    return own.size() == kOwnIdLength &&
           (rest == own || rest == RepeatEncode(own, "X") || rest == RepeatEncode(own, std::string(1, p)));
}

// The data-call message: each pair of hexadecimal digits is one character,
// up to the first pair that is not one (or is 00).
std::string dataMessage(std::string_view pairs)
{
    std::string out;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const int hi = HexDigitValue(pairs[i]);
        const int lo = HexDigitValue(pairs[i + 1]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0))
            break;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

void setCode(FiveToneCode& entry, std::string_view code)
{
    entry.Code.setPadded(code);
    entry.CodeLength = static_cast<uint8_t>(std::min<size_t>(code.size(), entry.Code.size));
}

void correctCode(FiveToneCode& c, int maxLength)
{
    if (c.Standard > kFiveToneStandardUser)
        c.Standard = 0;
    if (c.CodeLength > kCallCodeLength)
        c.CodeLength = 0;
    c.CodeLength = static_cast<uint8_t>(std::min<int>(c.CodeLength, maxLength));
    if (!toneLengthInRange(c.ToneLength))
        c.ToneLength = 70;
}

PttIdForm showPttId(const FiveToneCode& c)
{
    return {c.Standard, FiveToneRowOfValue(FiveToneList::ToneLength, c.ToneLength),
            CodeAtLength(c.Code.str(), c.CodeLength)};
}

void storePttId(const PttIdForm& form, std::string_view own, FiveToneCode& c)
{
    const std::string typed = form.code.substr(0, kFiveTonePttIdLength);
    setCode(c, EncodeFiveToneCode(typed, own));
    c.Standard = static_cast<uint8_t>(form.standard);
    c.ToneLength = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::ToneLength, form.toneLength));
}

std::string infoCodeText(const FiveToneInfoCode& c)
{
    const std::string raw = c.Code.str();
    return raw.substr(0, std::min<size_t>(c.CodeLength, raw.size()));
}

} // namespace

std::vector<FiveToneListEntry> FiveToneListEntries(FiveToneList list)
{
    std::vector<FiveToneListEntry> out;
    for (int v : listValues(list)) {
        if (list == FiveToneList::DecodeResponse)
            out.push_back({60057 + v, {}});
        else if (v == 0 && (list == FiveToneList::RingTime || list == FiveToneList::PauseCode))
            out.push_back({kOffText, {}});
        else
            out.push_back({0, valueText(list, v)});
    }
    return out;
}

int FiveToneRowOfValue(FiveToneList list, int value) { return RowOfValue(listValues(list), value); }

int FiveToneValueOfRow(FiveToneList list, int row)
{
    const std::vector<int> values = listValues(list);
    return ValueAtRow(values, row, values.front());
}

std::vector<int> StandardRows(int stored)
{
    std::vector<int> rows = range(0, kFiveToneListedStandards - 1);
    if (stored == kFiveToneStandardEia || stored == kFiveToneStandardUser)
        rows.push_back(stored);
    return rows;
}

std::optional<int> ToneLengthOnChoosing(int standard)
{
    if (standard < 0 || standard >= kFiveToneListedStandards)
        return std::nullopt;
    return DefaultToneLength(StandardName(standard).text);
}

std::string CodeAtLength(std::string_view code, int length)
{
    std::string s = TrimFixed(code);
    if (length <= 0)
        return {};
    if (static_cast<size_t>(length) <= s.size())
        return s.substr(0, static_cast<size_t>(length));
    return s + std::string(static_cast<size_t>(length) - s.size(), 'E');
}

std::string Mid5ToneNoE(std::string_view code, size_t start, size_t count)
{
    const size_t end = std::min(code.size(), start + count);
    std::string decoded;
    for (size_t i = 0; i < end; ++i)
        decoded += code[i] == 'E' && i > 0 ? decoded[i - 1] : code[i];
    return start < decoded.size() ? decoded.substr(start) : std::string();
}

CodeCells ClassifyFiveToneCode(std::string_view code, int length, std::string_view own)
{
    const std::string s = CodeAtLength(code, length);
    if (s.size() >= 8 && startsWith(s, "E1") && s[7] == 'E')
        return {FiveToneCallType::DataCall, dataMessage(std::string_view(s).substr(8))};
    if (s.size() >= 6 && startsWith(s, "E6"))
        return {FiveToneCallType::PttId, {}};
    if (IsSpecialCode(s, own))
        return {FiveToneCallType::Ani, Mid5ToneNoE(s, 0, 5)};
    return {FiveToneCallType::Plain, s};
}

bool RewriteOwnId(FiveToneCode& code, std::string_view previous, std::string_view own)
{
    const std::string text = CodeAtLength(code.Code.str(), code.CodeLength);
    std::string plain; // the code with the new ID, before encoding
    if (text.size() >= 2 && text[0] == 'E' && (text[1] == '2' || text[1] == '6')) {
        const std::string_view rest = std::string_view(text).substr(2);
        if (rest != kOwnIdMark && !isOwnId(rest, previous, text[1]))
            return false;
        plain = text.substr(0, 2) + std::string(own);
    } else if (ClassifyFiveToneCode(text, static_cast<int>(text.size()), previous).type == FiveToneCallType::Ani &&
               !endsWith(text, kOwnIdMark)) {
        // The called part decoded, the separator (11 characters) as it is.
        plain = Mid5ToneNoE(text, 0, 5) + (text.size() == 11 ? text.substr(5, 1) : std::string()) + std::string(own);
    } else {
        return false;
    }
    const std::string encoded = EncodeFiveToneCode(plain, own);
    if (encoded == text)
        return false;
    setCode(code, encoded);
    return true;
}

void CorrectFiveTone(FiveToneSettings& work)
{
    if (!toneLengthInRange(work.ToneLength))
        work.ToneLength = 70;
    if (work.Setting60309 <= 4)
        work.Setting60309 = 0;
    for (FiveToneCode& c : work.CallList)
        correctCode(c, kCallCodeLength);
    correctCode(work.PttIdBegin, kFiveTonePttIdLength);
    correctCode(work.PttIdEnd, kFiveTonePttIdLength);
    for (FiveToneInfoCode& c : work.InfoCodes)
        c.CodeLength = static_cast<uint8_t>(std::min<int>(c.CodeLength, kInfoCodeLength));
}

FiveToneForm LoadFiveToneForm(FiveToneSettings& work, uint8_t decodeTime)
{
    CorrectFiveTone(work);
    FiveToneForm f;
    f.ownId = work.OwnCode.trimmed();
    f.standard = work.Standard <= kFiveToneStandardUser ? work.Standard : 0;
    f.decodeResponse = FiveToneRowOfValue(FiveToneList::DecodeResponse, work.DecodeResponse);
    f.toneLength = FiveToneRowOfValue(FiveToneList::ToneLength, work.ToneLength);
    f.preSendDelay = FiveToneRowOfValue(FiveToneList::PreSendDelay, work.Setting60081);
    f.autoReset = FiveToneRowOfValue(FiveToneList::AutoReset, work.Setting60307);
    f.postSendDelay = FiveToneRowOfValue(FiveToneList::PostSendDelay, work.Setting60308);
    f.ringTime = FiveToneRowOfValue(FiveToneList::RingTime, work.Setting60309);
    f.firstDigitDelay = FiveToneRowOfValue(FiveToneList::FirstDigitDelay, work.FirstDigitDelay);
    f.pauseCode = FiveToneRowOfValue(FiveToneList::PauseCode, work.PauseCode);
    f.pauseTime = FiveToneRowOfValue(FiveToneList::PauseTime, work.PauseTime);
    f.decodeTime = FiveToneRowOfValue(FiveToneList::DecodeTime, decodeTime);
    f.firstCodeDelay = FiveToneRowOfValue(FiveToneList::FirstCodeDelay, work.FirstCodeDelay);
    f.sideTone = work.SideTone == 1;
    f.pttId = {showPttId(work.PttIdBegin), showPttId(work.PttIdEnd)};
    f.shownInfo = 0;
    f.info = ShowInfoCode(work.InfoCodes[0]);
    return f;
}

bool PauseTimeEnabled(int pauseCodeRow) { return pauseCodeRow != 0; }

ResponseList ResponseRows(int function)
{
    switch (function) {
    case 1: return {2, true};
    case 2:
    case kKill:
    case kStun:
    case kWaken:
    case 6: return {3, false};
    default: return {3, true};
    }
}

int ResponseRowFor(int function, int row) { return row >= 0 && row < ResponseRows(function).rows ? row : 0; }

bool InfoNameEnabled(int function) { return function != 0 && function != 6; }

InfoCodeForm ShowInfoCode(const FiveToneInfoCode& code)
{
    InfoCodeForm f;
    f.function = code.DecodeFunction <= 6 ? code.DecodeFunction : 0;
    f.response = ResponseRowFor(f.function, code.DecodeResponse);
    f.code = infoCodeText(code);
    if (InfoNameEnabled(f.function))
        f.name = code.Name.trimmed();
    return f;
}

void StoreInfoCode(const InfoCodeForm& form, FiveToneInfoCode& code)
{
    code.DecodeFunction = static_cast<uint8_t>(form.function);
    code.DecodeResponse = static_cast<uint8_t>(ResponseRowFor(form.function, form.response));
    const std::string text = form.code.substr(0, kInfoCodeLength);
    code.Code.setPadded(text);
    code.CodeLength = static_cast<uint8_t>(text.size());
    if (InfoNameEnabled(form.function))
        code.Name.setPadded(TrimFixed(form.name.substr(0, kFiveToneNameLength)));
}

void SwitchInfoCode(FiveToneForm& form, FiveToneSettings& work, int number)
{
    StoreInfoCode(form.info, work.InfoCodes[static_cast<size_t>(form.shownInfo)]);
    form.shownInfo = std::clamp(number, 0, kFiveToneInfoCount - 1);
    form.info = ShowInfoCode(work.InfoCodes[static_cast<size_t>(form.shownInfo)]);
}

std::vector<int> IsInfoKillStunWakenOK(const std::array<FiveToneInfoCode, 8>& codes)
{
    std::vector<int> refused;
    const auto has = [&](auto pred) { return std::any_of(codes.begin(), codes.end(), pred); };
    const auto guarded = [](int f) { return f == kKill || f == kStun || f == kWaken; };
    if (has([](const auto& c) { return c.DecodeFunction == kKill || c.DecodeFunction == kStun; }) &&
        !has([](const auto& c) { return c.DecodeFunction == kWaken; }))
        refused.push_back(60300);
    for (const FiveToneInfoCode& a : codes) {
        if (!guarded(a.DecodeFunction))
            continue;
        const bool shared = has([&](const FiveToneInfoCode& b) {
            return b.DecodeFunction != a.DecodeFunction && infoCodeText(b) == infoCodeText(a);
        });
        if (shared) {
            refused.push_back(60301);
            break;
        }
    }
    return refused;
}

bool OwnIdComplete(std::string_view ownId)
{
    return ownId.size() == kOwnIdLength &&
           std::all_of(ownId.begin(), ownId.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void ChangeOwnId(FiveToneForm& form, FiveToneSettings& work)
{
    const std::string previous = work.OwnCode.trimmed();
    if (form.ownId == previous)
        return;
    // What the window shows goes in as it was typed, under the ID it was typed with.
    FiveToneForm shown = form;
    shown.ownId = previous;
    StoreFiveToneForm(shown, work);
    for (FiveToneCode& c : work.CallList)
        RewriteOwnId(c, previous, form.ownId);
    RewriteOwnId(work.PttIdBegin, previous, form.ownId);
    RewriteOwnId(work.PttIdEnd, previous, form.ownId);
    work.OwnCode.setPadded(form.ownId);
    work.OwnIdLength = static_cast<uint8_t>(form.ownId.size());

    const int number = form.shownInfo;
    const int decodeTime = FiveToneValueOfRow(FiveToneList::DecodeTime, form.decodeTime);
    form = LoadFiveToneForm(work, static_cast<uint8_t>(decodeTime));
    form.shownInfo = number;
    form.info = ShowInfoCode(work.InfoCodes[static_cast<size_t>(number)]);
}

void StoreFiveToneForm(const FiveToneForm& f, FiveToneSettings& work)
{
    work.OwnCode.setPadded(f.ownId);
    work.OwnIdLength = static_cast<uint8_t>(std::min<size_t>(f.ownId.size(), work.OwnCode.size));
    work.Standard = static_cast<uint8_t>(f.standard);
    work.DecodeResponse = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::DecodeResponse, f.decodeResponse));
    work.ToneLength = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::ToneLength, f.toneLength));
    work.Setting60081 = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::PreSendDelay, f.preSendDelay));
    work.Setting60307 = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::AutoReset, f.autoReset));
    work.Setting60308 = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::PostSendDelay, f.postSendDelay));
    work.Setting60309 = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::RingTime, f.ringTime));
    work.FirstDigitDelay = static_cast<int16_t>(FiveToneValueOfRow(FiveToneList::FirstDigitDelay, f.firstDigitDelay));
    work.PauseCode = static_cast<int16_t>(FiveToneValueOfRow(FiveToneList::PauseCode, f.pauseCode));
    work.PauseTime = static_cast<int16_t>(FiveToneValueOfRow(FiveToneList::PauseTime, f.pauseTime));
    work.FirstCodeDelay = static_cast<int16_t>(FiveToneValueOfRow(FiveToneList::FirstCodeDelay, f.firstCodeDelay));
    work.SideTone = f.sideTone ? 1 : 0;
    storePttId(f.pttId[0], f.ownId, work.PttIdBegin);
    storePttId(f.pttId[1], f.ownId, work.PttIdEnd);
    StoreInfoCode(f.info, work.InfoCodes[static_cast<size_t>(std::clamp(f.shownInfo, 0, kFiveToneInfoCount - 1))]);
}

CallRow CallRowOf(const FiveToneCode& entry, std::string_view own)
{
    CallRow row;
    if (entry.Empty != 0)
        return row;
    row.cells = ClassifyFiveToneCode(entry.Code.str(), entry.CodeLength, own);
    row.standard = entry.Standard <= kFiveToneStandardUser ? entry.Standard : 0;
    row.toneLength = toneLengthInRange(entry.ToneLength) ? entry.ToneLength : 70;
    row.name = entry.Name.trimmed();
    return row;
}

bool CanEditCallCell(int column, const CodeCells& cells)
{
    if (column == kColumnCode)
        return cells.type == FiveToneCallType::Plain;
    if (column >= kColumnStandard && column <= kColumnName)
        return cells.type != FiveToneCallType::Plain || !cells.code.empty();
    return false;
}

bool CanResetSpecialCall(const CodeCells& cells) { return cells.type != FiveToneCallType::Plain; }

void ResetSpecialCall(FiveToneCode& entry)
{
    entry.CodeLength = 0;
    entry.Code.setPadded("");
}

void CommitCallCode(FiveToneCode& entry, std::string_view typed, std::string_view own)
{
    setCode(entry, EncodeFiveToneCode(typed.substr(0, kCallCodeLength), own));
    entry.Empty = entry.CodeLength > 0 ? 0 : 1;
}

void CommitCallStandard(FiveToneCode& entry, int standard) { entry.Standard = static_cast<uint8_t>(standard); }

void ChooseCallStandard(FiveToneCode& entry, int standard)
{
    CommitCallStandard(entry, standard);
    if (const auto length = ToneLengthOnChoosing(standard))
        entry.ToneLength = static_cast<uint8_t>(*length);
}

void CommitCallToneLength(FiveToneCode& entry, std::string_view text)
{
    const auto ms = ParseInteger(text);
    entry.ToneLength = static_cast<uint8_t>(ms && toneLengthInRange(*ms) ? *ms : 70);
}

void CommitCallName(FiveToneCode& entry, std::string_view text)
{
    entry.Name.setPadded(TrimFixed(text.substr(0, std::min<size_t>(text.size(), kFiveToneNameLength))));
}

FiveToneOk ApplyFiveToneForm(const FiveToneForm& form, FiveToneSettings& work)
{
    FiveToneOk ok;
    if (!OwnIdComplete(form.ownId)) {
        ok.ownIdShort = true;
        return ok;
    }
    StoreFiveToneForm(form, work);
    ok.refused = IsInfoKillStunWakenOK(work.InfoCodes);
    return ok;
}

void FinishFiveTone(Codeplug& cp, const FiveToneSettings& work, int decodeTime)
{
    cp.body.Settings.FiveTone = work;
    cp.body.FiveToneCodeFormat = static_cast<uint8_t>(FiveToneValueOfRow(FiveToneList::DecodeTime, decodeTime));
    RepairSignalReferences(cp);
}

} // namespace qtx
