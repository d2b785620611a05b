#include "forms/key_rules.h"

namespace qtx {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }
bool printable(char c) { return c >= 32 && c <= 126; }
// a-z as A-Z, other characters as they are.
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

char DigitKey(char c) { return digit(c) ? c : 0; }

char FrequencyKey(char c) { return digit(c) || c == '.' ? c : 0; }

char PrintableKey(char c) { return printable(c) ? c : 0; }

char NameKey(char c) { return printable(c) && c != '\\' && c != '~' ? c : 0; }

char HexKey(char c)
{
    const char u = upper(c);
    return digit(u) || (u >= 'A' && u <= 'F') ? u : 0;
}

char DtmfCodeKey(char c)
{
    const char u = upper(c);
    return digit(u) || (u >= 'A' && u <= 'D') || u == '*' || u == '#' ? u : 0;
}

char BookNameKey(char c)
{
    const char u = upper(c);
    return digit(u) || (u >= 'A' && u <= 'Z') || u == ' ' ? u : 0;
}

char CalledCodeKey(char c)
{
    const char u = c == 'a' ? 'A' : c;
    return digit(u) || u == 'A' ? u : 0;
}

char UpperAlnumKey(char c)
{
    const char u = upper(c);
    return digit(u) || (u >= 'A' && u <= 'Z') ? u : 0;
}

} // namespace qtx
