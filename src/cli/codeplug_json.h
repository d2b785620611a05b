#pragma once
// The whole Codeplug as JSON, driven by the records' field lists: the body's
// fields under "body" and the channels, in list order, under "channels",
// each with the model's field names and its stored value. Writing then
// reading gives back every stored byte (see docs/json-format.md).

#include "model/codeplug.h"
#include "model/result.h"

#include <string>
#include <string_view>

namespace qtx::cli {

inline constexpr const char* kJsonFormatName = "qtx-codeplug";
inline constexpr int kJsonFormatVersion = 1;

std::string CodeplugToJson(const Codeplug& cp);

// The Codeplug a JSON text describes. Refuses, with one line naming the
// place ("line 12: body.Settings.Dtmf.Ani: 70000 is outside -32768..32767"),
// text that is not JSON, a value of the wrong kind, an unknown or missing
// field, a number outside its field's type, a text of the wrong length or
// with a character beyond one byte, a list of the wrong length, a
// ChannelCount other than the number of channels listed or above 203, and a
// channel number outside 1-203 or listed twice. Error message "JsonError".
Result<Codeplug> CodeplugFromJson(std::string_view text);

} // namespace qtx::cli
