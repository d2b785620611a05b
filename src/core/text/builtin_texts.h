#pragma once
// Texts compiled into the program in both languages, independent of the
// language files: progress titles, transfer confirmations and refusals, file
// messages, the embedded-information viewer's labels and a few fixed
// messages. Line breaks inside a text are "\n".
//
// Every entry has a stable name (BuiltInName), which is what a core Error
// carries in its `message` to ask for that text (Error{"FileError", ...}).

#include "text/language_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qtx {

enum class BuiltIn {
    // Prepared at start-up, in this order.
    ReadTitle,
    WriteTitle,
    ProgressLabel,
    ReadConfirm,
    WriteConfirm,
    ModelWrong,
    RadioKilled,
    RadioStunned,
    VersionWrong,
    AllDataCleared,
    FileError,
    FileOverwrite,
    FileModified,
    DataFileFilter,
    CloseCaption,
    HelpCaption,
    // Embedded-information viewer.
    InfoTitle,
    InfoAreaCode,
    InfoManufactureCode,
    InfoUserCode,
    InfoRadioType,
    InfoSerialNumber,
    InfoProductionDate,
    InfoMaintenanceDate,
    InfoMaintenanceDescription,
    InfoVersion,
    InfoBand,
    InfoDealerGroup,
    InfoDealerCode,
    InfoStockDate,
    InfoSellDate,
    InfoSeller,
    // Fixed messages.
    NotNumeric,
    VfoEmpty,
    NameTooLong,
    ResetSpecialCall,
    UnknownOs,
    SystemInfoUnavailable,
    // Added by this program: reports the original set of texts had no words for.
    ChannelFileIncomplete,
    ChannelRecordsDropped,
    AboutSystemInfo,
    SystemInfoTitle,
    SystemInfoProgram,
    SystemInfoQt,
    SystemInfoSystem,
    SystemInfoPorts,
    SystemInfoNoPorts,
    HelpTitle,
    HelpMissing,
};

// Every entry, in declaration order.
std::span<const BuiltIn> AllBuiltIns();

// The entry's text in `language` (kLanguageChinese for Chinese, English for
// any other value).
std::string_view BuiltInText(BuiltIn entry, int language);

// The entry's stable name, the enumerator's own name ("FileError").
std::string_view BuiltInName(BuiltIn entry);

// The entry with that exact name, if any.
std::optional<BuiltIn> FindBuiltIn(std::string_view name);

// What the user sees for an Error's `message`:
// - the name of a built-in entry: that entry's text in `language`;
// - a decimal text ID of section "OTHER" ("2002"): its text;
// - "MSG:<key>" or "OPTION:<key>": the text of that key in that section;
// - anything else (a fixed text such as "SetCommDataByOptionError"): itself.
// A text ID whose language text is missing or empty gives the message
// itself, so that a message box is never blank.
std::string ResolveMessage(std::string_view message, int language, const LanguageTable& table);

} // namespace qtx
