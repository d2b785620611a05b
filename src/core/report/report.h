#pragma once
// The printed programming sheet as plain data: a title, the facts of the
// page header and the chosen sections, each a heading and blocks of label /
// value rows, column tables or a note. Every text is UTF-8 and final: a
// renderer only lays it out.

#include "files/signal_switches.h"
#include "image/embedded_info.h"
#include "model/codeplug.h"
#include "text/language_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// In the order a report prints them.
enum class ReportSection {
    Channels,
    Options,
    Keys,
    Scan,
    Alarm,
    Dtmf,
    TwoTone,
    FiveTone,
    CommBook,
    EmbeddedInfo,
};
inline constexpr std::array kReportSections{
    ReportSection::Channels, ReportSection::Options,  ReportSection::Keys,     ReportSection::Scan,
    ReportSection::Alarm,    ReportSection::Dtmf,     ReportSection::TwoTone,  ReportSection::FiveTone,
    ReportSection::CommBook, ReportSection::EmbeddedInfo};

// The name a script uses ("channels", "options", ...), and back.
std::string_view ReportSectionName(ReportSection s);
std::optional<ReportSection> FindReportSection(std::string_view name);

// A section is offered while its editor is reachable: the signalling ones
// follow their switches, the embedded information needs a read in this run.
bool ReportSectionOffered(ReportSection s, const SignalViewSwitches& switches, bool infoRead);

struct ReportTable {
    std::vector<std::string> headings;          // empty for label / value rows
    std::vector<std::vector<std::string>> rows; // each as wide as the headings (2 without)
    friend bool operator==(const ReportTable&, const ReportTable&) = default;
};

struct ReportBlock {
    std::string caption;   // optional sub-heading
    ReportTable table;     // used unless `note` is set
    std::string note;      // a paragraph instead of a table
    friend bool operator==(const ReportBlock&, const ReportBlock&) = default;
};

struct ReportPart {
    ReportSection section = ReportSection::Channels;
    std::string heading;
    std::vector<ReportBlock> blocks;
};

// What the caller knows about the Codeplug beside its records.
struct ReportFacts {
    std::string fileName; // shown without its folder
    bool untitled = false;
    bool modified = false;
    std::string modelLabel;
    std::string dateTime; // "yyyy-MM-dd HH:mm", taken by the caller
    SignalViewSwitches switches;
};

struct Report {
    std::string title;
    // Header lines, ready to print: "File: new.dat (never saved)", ...
    std::string fileLine;
    std::string modelLine;
    std::string dateLine;
    std::string pageFormat; // "%1" page, "%2" pages
    std::string font;       // the language's font family
    std::vector<ReportPart> parts;
};

// "Page 2 of 5" from the report's format.
std::string ReportPageText(const Report& report, int page, int pages);

// `info` is the last radio read's information, or none when nothing was read
// in this run. Sections not offered are left out; the order is fixed.
Report BuildPrintReport(const Codeplug& cp, const EmbeddedInfo* info, std::span<const ReportSection> chosen,
                   const LanguageTable& table, int language, const ReportFacts& facts);

} // namespace qtx
