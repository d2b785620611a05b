#include "forms/dtmf_form.h"

#include "convert/code_text.h"
#include "model/fixed_text.h"

#include <algorithm>

namespace qtx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s) { return std::all_of(s.begin(), s.end(), IsDigit); }

std::string LeftPadZeros(std::string_view s, size_t width)
{
    return std::string(s.size() < width ? width - s.size() : 0, '0') + std::string(s);
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// A value outside lo-hi (negative ones too) becomes `fallback`.
void Correct(int16_t& v, int lo, int hi, int16_t fallback)
{
    if (!InRange(v, lo, hi))
        v = fallback;
}

std::vector<std::string> NumberRows(int first, int last, int step)
{
    std::vector<std::string> rows;
    for (int v = first; v <= last; v += step)
        rows.push_back(std::to_string(v));
    return rows;
}

template <size_t N> void StoreAt(DtmfForm& form, int field, DtmfCode<N>& code)
{
    StoreDtmfCode(form.codes[static_cast<size_t>(field)], code);
}

} // namespace

std::string PadOwnId(std::string_view text)
{
    const std::string id = TrimFixed(text);
    if (id.empty() || id.size() > 3 || !AllDigits(id))
        return "000";
    return LeftPadZeros(id, 3);
}

int DtmfSeparatorRow(int value) { return InRange(value, 10, 15) ? value - 10 : 0; }
int DtmfSeparatorValue(int row) { return row + 10; }
int DtmfGroupCodeRow(int value) { return InRange(value, 10, 15) ? value - 9 : 0; }
int DtmfGroupCodeValue(int row) { return row == 0 ? kDtmfGroupCodeOff : row + 9; }
int DtmfSendDelayRow(int value) { return InRange(value, 1, 250) ? value - 1 : 0; }
int DtmfSendDelayValue(int row) { return row + 1; }
int DtmfPauseRow(int value) { return InRange(value, 5, 75) ? value - 4 : 0; }
int DtmfPauseValue(int row) { return row == 0 ? 0 : row + 4; }
int DtmfPlainRow(int value, int rows) { return InRange(value, 0, rows - 1) ? value : 0; }

std::vector<std::string> DtmfFirstDigitDelayRows() { return NumberRows(0, 2500, 10); }
std::vector<std::string> DtmfSendDelayRows() { return NumberRows(10, 2500, 10); }
std::vector<std::string> DtmfPauseNumberRows() { return NumberRows(5, 75, 1); }

std::vector<std::string> DtmfResetTimeRows()
{
    std::vector<std::string> rows;
    for (int v = 0; v <= 250; ++v)
        rows.push_back(std::to_string(v / 10) + "." + std::to_string(v % 10));
    return rows;
}

char DtmfSeparatorChar(int row)
{
    return kDtmfSeparatorChars[static_cast<size_t>(InRange(row, 0, 5) ? row : kDtmfSeparatorDefault - 10)];
}

std::string DtmfCodeShownText(std::string_view raw, int length)
{
    if (length < 0)
        return {};
    std::string_view text = raw.substr(0, std::min(raw.size(), static_cast<size_t>(length)));
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return DtmfToShown(text);
}

std::string DtmfCodeStoredText(std::string_view shown, size_t maxLength)
{
    return DtmfToStored(shown.substr(0, std::min(shown.size(), maxLength)));
}

void RewriteForOwnId(std::array<std::string, kDtmfCodeFields>& codes, std::string_view previous,
                     std::string_view next, char separator)
{
    for (int i = 0; i < kDtmfComposableFields; ++i) {
        std::string& code = codes[static_cast<size_t>(i)];
        const std::string_view c = code;
        if (c.size() == 7 && AllDigits(c.substr(0, 3)) && c[3] == separator && c.substr(4) == previous)
            code = std::string(c.substr(0, 4)) + std::string(next);
        else if (c.size() == 4 && c[0] == separator && c.substr(1) == previous)
            code = std::string(1, separator) + std::string(next);
    }
}

void RewriteForSeparator(std::array<std::string, kDtmfCodeFields>& codes, std::string_view ownId, char previous,
                         char next)
{
    for (int i = 0; i < kDtmfComposableFields; ++i) {
        std::string& code = codes[static_cast<size_t>(i)];
        if (code.size() == 7 && AllDigits(std::string_view(code).substr(0, 3)) && code[3] == previous &&
            code.substr(4) == ownId)
            code[3] = next;
        else if (code.size() == 4 && code[0] == previous && code.substr(1) == ownId)
            code[0] = next;
    }
}

bool KillStunClash(std::string_view kill, std::string_view stun)
{
    const auto trimEnd = [](std::string_view s) {
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        return s;
    };
    const std::string_view k = trimEnd(kill);
    return !k.empty() && k == trimEnd(stun);
}

std::string PadCalledCode(std::string_view called) { return LeftPadZeros(called, 3); }

std::string ComposeDtmfCall(DtmfCallType type, std::string_view called, char separator, std::string_view ownId)
{
    const std::string tail = std::string(1, separator) + std::string(ownId);
    return type == DtmfCallType::Ani ? PadCalledCode(called) + tail : tail;
}

DtmfForm LoadDtmfForm(DtmfSettings& d)
{
    Correct(d.Ani, 0, 1, 0);
    Correct(d.SendTime, 0, kDtmfSendTimeRows - 1, 0);
    Correct(d.PttIdMode, 0, 3, 0);
    Correct(d.Separator, 10, 15, kDtmfSeparatorDefault);
    if (d.GroupCode != kDtmfGroupCodeOff)
        Correct(d.GroupCode, 10, 15, kDtmfGroupCodeOff);
    Correct(d.DecodeResponse, 0, 2, 0);
    Correct(d.FirstDigitDelay, 0, 250, 0);
    if (d.PauseTime <= 4)
        d.PauseTime = 0;
    Correct(d.SideTone, 0, 1, 0);
    d.OwnId.setPadded(PadOwnId(d.OwnId.str()));

    DtmfForm f;
    for (int i = 0; i < 16; ++i)
        f.codes[static_cast<size_t>(i)] = DtmfCodeShown(d.Codes[static_cast<size_t>(i)]);
    f.codes[kDtmfPttIdBeginField] = DtmfCodeShown(d.PttIdBegin);
    f.codes[kDtmfPttIdEndField] = DtmfCodeShown(d.PttIdEnd);
    f.codes[kDtmfKillField] = DtmfCodeShown(d.KillCode);
    f.codes[kDtmfStunField] = DtmfCodeShown(d.StunCode);
    f.ani = d.Ani;
    f.sendTime = d.SendTime;
    f.pttIdMode = d.PttIdMode;
    f.ownId = d.OwnId.trimmed();
    f.settledOwnId = f.ownId;
    f.separator = DtmfSeparatorRow(d.Separator);
    f.groupCode = DtmfGroupCodeRow(d.GroupCode);
    f.decodeResponse = d.DecodeResponse;
    f.firstDigitDelay = d.FirstDigitDelay;
    f.preSendDelay = DtmfSendDelayRow(d.PreSendDelay);
    f.resetTime = DtmfPlainRow(d.ResetTime, 251);
    f.postSendDelay = DtmfSendDelayRow(d.PostSendDelay);
    f.pauseTime = DtmfPauseRow(d.PauseTime);
    f.sideTone = d.SideTone == 1;
    return f;
}

void LeaveOwnId(DtmfForm& form)
{
    form.ownId = PadOwnId(form.ownId);
    RewriteForOwnId(form.codes, form.settledOwnId, form.ownId, DtmfSeparatorChar(form.separator));
    form.settledOwnId = form.ownId;
}

void ChooseSeparator(DtmfForm& form, int row)
{
    LeaveOwnId(form);
    RewriteForSeparator(form.codes, form.ownId, DtmfSeparatorChar(form.separator), DtmfSeparatorChar(row));
    form.separator = row;
}

void PutComposedCall(DtmfForm& form, int field, DtmfCallType type, std::string_view called)
{
    if (field < 0 || field >= kDtmfComposableFields)
        return;
    LeaveOwnId(form);
    form.codes[static_cast<size_t>(field)] =
        ComposeDtmfCall(type, called, DtmfSeparatorChar(form.separator), form.ownId);
}

void ApplyDtmfForm(DtmfForm& form, DtmfSettings& d)
{
    LeaveOwnId(form);
    for (int i = 0; i < 16; ++i)
        StoreAt(form, i, d.Codes[static_cast<size_t>(i)]);
    StoreAt(form, kDtmfPttIdBeginField, d.PttIdBegin);
    StoreAt(form, kDtmfPttIdEndField, d.PttIdEnd);
    StoreAt(form, kDtmfKillField, d.KillCode);
    StoreAt(form, kDtmfStunField, d.StunCode);
    d.Ani = static_cast<int16_t>(form.ani);
    d.SendTime = static_cast<int16_t>(form.sendTime);
    d.PttIdMode = static_cast<int16_t>(form.pttIdMode);
    d.OwnId.setPadded(form.ownId);
    d.Separator = static_cast<int16_t>(DtmfSeparatorValue(form.separator));
    d.GroupCode = static_cast<int16_t>(DtmfGroupCodeValue(form.groupCode));
    d.DecodeResponse = static_cast<int16_t>(form.decodeResponse);
    d.FirstDigitDelay = static_cast<int16_t>(form.firstDigitDelay);
    d.PreSendDelay = static_cast<int16_t>(DtmfSendDelayValue(form.preSendDelay));
    d.ResetTime = static_cast<int16_t>(form.resetTime);
    d.PostSendDelay = static_cast<int16_t>(DtmfSendDelayValue(form.postSendDelay));
    d.PauseTime = static_cast<int16_t>(DtmfPauseValue(form.pauseTime));
    d.SideTone = form.sideTone ? 1 : 0;
}

} // namespace qtx
