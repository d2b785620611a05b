#pragma once
// Channel lists in the comma-separated form most radio programming tools
// exchange (one row per memory, columns by header name). Reading gives the
// channels and a finding for every cell that had to be changed or row that
// had to be left out; nothing touches a Codeplug until the caller applies
// the whole result in one step.

#include "model/codeplug.h"
#include "model/result.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// The columns written, in this order; reading finds them by name.
inline constexpr int kChannelCsvColumnCount = 21;
inline constexpr std::array<std::string_view, kChannelCsvColumnCount> kChannelCsvColumns{
    "Location", "Name",         "Frequency",  "Duplex",    "Offset",  "Tone",   "rToneFreq",
    "cToneFreq", "DtcsCode",    "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",        "Comment",    "URCALL",    "RPT1CALL", "RPT2CALL", "DVCODE"};

// A file larger than this is not a channel list; it is refused unread.
inline constexpr size_t kMaxChannelCsvBytes = 32u * 1024 * 1024;
// Findings kept in full; the rest are only counted.
inline constexpr int kMaxCsvFindings = 1000;

enum class CsvFindingKind {
    // The row is left out.
    LocationInvalid,  // not a whole number, or outside 0-199
    LocationRepeated, // an earlier row has this location (result: its line)
    FrequencyInvalid, // empty or not a frequency
    // The cell's value was changed; result says into what.
    NameReplaced,     // characters the radio cannot show were replaced
    NameCut,          // longer than the radio's name
    FrequencyFitted,  // receive frequency fitted into the band or onto the raster
    TransmitFitted,   // transmit frequency fitted the same way
    DuplexUnknown,    // taken as simplex
    OffsetInvalid,    // not a frequency: taken as simplex
    ToneModeUnknown,  // no tones
    CrossModeUnknown, // no tones
    ToneNotInTable,   // no tone on that side
    DcsNotInList,     // no code on that side
    PolarityUnknown,  // taken as normal
    ModeUnknown,      // taken as FM
    StepNearest,      // the nearest step
    SkipUnknown,      // scanned
    PowerNearest,     // the nearest level
    // The file as a whole.
    NotUtf8,          // read as Latin-1
};

struct CsvFinding {
    int line = 0;        // line of the file on which the row begins; 0 = the whole file
    std::string column;  // the column's header name; empty for the row or the file
    CsvFindingKind kind = CsvFindingKind::NotUtf8;
    std::string value;   // the cell as read (UTF-8)
    std::string result;  // what was kept instead, when anything was

    bool skipsRow() const { return kind <= CsvFindingKind::FrequencyInvalid; }
    friend bool operator==(const CsvFinding&, const CsvFinding&) = default;
};

// One row as a channel: the mapped fields set on a blank channel of its
// number. Applying keeps the fields the list does not carry.
struct ImportedChannel {
    ChannelRecord record;
    int line = 0;
    // Duplex "off": transmission inhibited; the channel it replaces keeps
    // its transmit frequency.
    bool keepsShift = false;
    // Mode "FM" covers 25 kHz and 20 kHz: a 20 kHz channel it replaces stays so.
    bool wide = false;
};

struct ChannelCsvImport {
    std::vector<ImportedChannel> channels; // file order, numbers 1-200, each once
    std::vector<CsvFinding> findings;      // file order, at most kMaxCsvFindings
    int omittedFindings = 0;               // findings beyond those kept
    int rows = 0;                          // rows read, blank ones not counted
};

// The list read from the file's bytes, the frequencies fitted into `band`.
// Refused (the file is not a channel list at all): empty, binary, a quoted
// field never closed, no Location or Frequency column.
Result<ChannelCsvImport> ReadChannelCsv(std::string_view bytes, const BandPlan& band);
// The same from a file: only regular files of at most kMaxChannelCsvBytes.
Result<ChannelCsvImport> ReadChannelCsvFile(const std::string& path, const BandPlan& band);

enum class ChannelImportMode {
    ReplaceAll, // the memory channels become those of the list
    Merge,      // the list's locations are added or replaced, the others stay
};

// What applying would do, for the preview.
struct ChannelImportPlan {
    std::vector<int> added;    // channel numbers, in the order of the list
    std::vector<int> replaced;
    std::vector<int> removed;  // memory channels the list does not hold (ReplaceAll)
};
ChannelImportPlan PlanChannelImport(const Codeplug& cp, const ChannelCsvImport& import, ChannelImportMode mode);

// The whole import as one edit: the memory channels are replaced or merged,
// PA, PB and the VFO stay, and the channel references of the settings are
// repaired.
void ApplyChannelImport(Codeplug& cp, const ChannelCsvImport& import, ChannelImportMode mode, const BandPlan& band);

// The list written: the header and every memory channel in use, by number.
struct ChannelCsvExport {
    std::string text;            // UTF-8, CRLF line ends
    int channels = 0;
    std::vector<int> leftOut;    // in use, but without a receive frequency
};
ChannelCsvExport WriteChannelCsv(const Codeplug& cp);

// A finding in words: the text `textOf` gives for FindingTextId(kind),
// with %1 the cell as read and %2 what was kept; when it gives nothing, a
// plain English form.
using CsvTextFn = std::function<std::string(int)>;
int FindingTextId(CsvFindingKind kind);
std::string FindingText(const CsvFinding& finding, const CsvTextFn& textOf);

// Storage and exchange forms of single values, shared with the tests.
// Names: the characters the radio can show (printable ASCII but "\" and
// "~"); accented Latin letters lose their accent, others become "?".
struct NameFit {
    std::string name; // at most 7 characters
    bool replaced = false;
    bool cut = false;
};
NameFit FitChannelName(std::string_view utf8);

} // namespace qtx
