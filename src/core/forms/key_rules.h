#pragma once
// What a text box takes: each rule maps a typed character to the character
// the box stores, or to 0 when the box refuses it. Only printable ASCII
// (32-126) reaches a rule; everything above 127 is refused before.

namespace qtx {

using KeyRule = char (*)(char);

// 0-9 (PTT-ID codes, numbers).
char DigitKey(char c);
// 0-9 and "." (frequencies, band limits).
char FrequencyKey(char c);
// Any printable character (passwords).
char PrintableKey(char c);
// A printable character but "\" and "~" (channel and entry names).
char NameKey(char c);
// 0-9 and A-F; a-f become A-F.
char HexKey(char c);
// 0-9, A-D, "*" and "#"; a-d become A-D (DTMF codes).
char DtmfCodeKey(char c);
// A-Z, 0-9 and the space; a-z become A-Z (communication-book names).
char BookNameKey(char c);
// 0-9 and "A"; "a" becomes "A" (5-tone called codes).
char CalledCodeKey(char c);
// A-Z and 0-9; a-z become A-Z (5-tone data-call messages).
char UpperAlnumKey(char c);

} // namespace qtx
