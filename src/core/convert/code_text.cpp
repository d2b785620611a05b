#include "convert/code_text.h"

#include "convert/numeric.h"
#include "model/fixed_text.h"

#include <algorithm>

namespace qtx {

std::string DtmfToShown(std::string_view stored)
{
    std::string out(stored);
    for (char& c : out) {
        if (c == 'E')
            c = '*';
        else if (c == 'F')
            c = '#';
    }
    return out;
}

std::string DtmfToStored(std::string_view shown)
{
    std::string out(shown);
    for (char& c : out) {
        if (c == '*')
            c = 'E';
        else if (c == '#')
            c = 'F';
    }
    return out;
}

std::string ByteToHex2(uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[b >> 4], digits[b & 0x0F]};
}

uint8_t ToImageByte(int value)
{
    if (value < 0)
        return 0xFF;
    if (value > 255)
        return 0;
    return static_cast<uint8_t>(value);
}

int TextToNumber(std::string_view text, int fallback)
{
    const auto v = ParseInteger(text);
    return v ? *v : fallback;
}

double DefaultBandLimit(int index) { return (index == 0 || index == 2) ? 100.0 : 500.0; }

std::string FileNameOfPath(std::string_view path)
{
    const size_t sep = path.find_last_of("/\\");
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

namespace {

// The repeat encoding over s. Positions are 1-based. In a code starting
// with "E1" the positions after 8 are copied unchanged; keep6and7 copies
// positions 6 and 7 unchanged (the function character of a special call and
// the digit after it).
std::string repeatEncodeCore(std::string_view s, bool e1Rule, bool keep6and7)
{
    if (s.empty())
        return {};
    std::string out(1, s[0]);
    const bool startsE1 = e1Rule && s.size() >= 2 && s[0] == 'E' && s[1] == '1';
    for (size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        const size_t position = i + 1;
        if ((startsE1 && position > 8) || (keep6and7 && (position == 6 || position == 7)))
            out += c;
        else if (c == out[i - 1])
            out += 'E';
        else
            out += c;
    }
    return out;
}

} // namespace

std::string RepeatEncode(std::string_view code, std::string_view previous)
{
    if (code.empty())
        return {};
    std::string s = TrimFixed(code);
    const bool hasPrevious = previous != "X";
    if (hasPrevious)
        s = std::string(previous) + s;
    std::string out = repeatEncodeCore(s, true, false);
    if (hasPrevious && !out.empty())
        out.erase(0, 1);
    return out;
}

std::string RepeatEncodeSpecial(std::string_view code)
{
    return repeatEncodeCore(code, true, code.size() == 11);
}

bool IsSpecialCode(std::string_view code, std::string_view own)
{
    if (code.size() < 10)
        return false;
    bool checkFunction = false;
    if (code.ends_with(kOwnIdMark)) {
        if (code.size() == 11)
            return true;
        if (code.size() != 12)
            return false;
        checkFunction = true;
    } else {
        if (own.size() != 5)
            return false;
        const std::string_view last5 = code.substr(code.size() - 5);
        const std::string before(1, code[code.size() - 6]);
        if (last5 != own && last5 != RepeatEncode(own, "X") && last5 != RepeatEncode(own, before))
            return false;
        if (code.size() == 10)
            return true;
        if (code.size() != 11)
            return false;
        checkFunction = true;
    }
    if (checkFunction) {
        const int v = HexDigitValue(code[5]);
        return v >= 10 && v <= 15;
    }
    return false;
}

std::string EncodeFiveToneCode(std::string_view code, std::string_view own)
{
    return IsSpecialCode(code, own) ? RepeatEncodeSpecial(code) : RepeatEncode(code, "X");
}

std::string ListFindText(const TextList& list, std::string_view text)
{
    if (list.empty())
        return {};
    const auto it = std::find(list.begin(), list.end(), text);
    return it != list.end() ? *it : list.front();
}

std::string ListTextAt(const TextList& list, int index)
{
    if (list.empty())
        return {};
    if (index < 0 || index >= static_cast<int>(list.size()))
        return list.front();
    return list[index];
}

int ListIndexOfText(const TextList& list, std::string_view text, int fallback)
{
    if (list.empty() || text.empty())
        return fallback;
    const auto it = std::find(list.begin(), list.end(), text);
    return it != list.end() ? static_cast<int>(it - list.begin()) : 0;
}

void ListAddOnce(TextList& list, std::string_view text)
{
    if (std::find(list.begin(), list.end(), text) == list.end())
        list.emplace_back(text);
}

} // namespace qtx
