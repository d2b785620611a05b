#include "command_line.h"

#include "link/password.h"
#include "report/report.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace qtx::cli {

namespace {

enum Option : unsigned {
    kOutput = 1u << 0,
    kPort = 1u << 1,
    kPassword = 1u << 2,
    kRetries = 1u << 3,
    kProgramDir = 1u << 4,
    kQuiet = 1u << 5,
    kMerge = 1u << 6,
    kVerify = 1u << 7,
    kFrom = 1u << 8,
    kTo = 1u << 9,
    kPorts = 1u << 10, // --port may be given more than once
    kSection = 1u << 11, // may be given more than once
    kLanguage = 1u << 12,
};

struct CommandEntry {
    const char* name;
    const char* synopsis;
    int files;            // positional arguments required
    unsigned options;     // options taken besides --help
    bool outputRequired;
    const char* help;     // what it does, options, statuses
};

constexpr unsigned kLinkOptions = kPort | kPassword | kRetries | kProgramDir | kQuiet;

const CommandEntry kCommands[] = {
    {"new", "new -o FILE.dat", 0, kOutput | kProgramDir | kQuiet, true,
     R"(Saves a new Codeplug with the built-in defaults and one VFO channel as the
data file pair FILE.dat and FILE.fre. When the program directory holds the
factory file Init/QM-5210.dat (with its .fre), its settings and band are
taken, and its VFO channel, or all of its channels when FactoryFres=1 in
language/mysetup.ini.

Options:
  -o, --output FILE.dat   the data file to write (must end in .dat)
  --program-dir DIR       where Init/ and language/ are (default: beside the program)
  -q, --quiet             no confirmation on standard error
)"},
    {"read", "read --port PORT -o FILE.dat", 0, kOutput | kLinkOptions, true,
     R"(Reads the whole memory of the radio on PORT and saves it as the data file
pair FILE.dat and FILE.fre. Settings the radio does not hold come from a new
Codeplug (defaults, or the factory file as for "new"); the band type comes
from the radio's identification.

Options:
  -o, --output FILE.dat   the data file to write (must end in .dat)
)"},
    {"write", "write --port PORT [--port PORT ...] [--verify] FILE.dat", 1, kLinkOptions | kVerify | kPorts, false,
     R"(Builds the radio image from the data file pair FILE.dat and FILE.fre and
writes it into the radio on PORT (addresses 0x0100-0x3FFF). A Codeplug that
cannot be encoded stops before the port is opened (status 2).

With several --port options the same image is written into every radio at
once; each port gets a progress line on a terminal, and a table of port,
seconds, retries and result ends the run on standard output. The status is
that of the first radio that failed.

Options:
  --verify                read 0x0100-0x3FFF back after writing and compare;
                          a difference fails the write (status 3) and names
                          the first differing address
)"},
    {"clone", "clone --from PORT --to PORT [--to PORT ...] [--verify]", 0,
     kFrom | kTo | kPassword | kRetries | kProgramDir | kQuiet | kVerify, false,
     R"(Reads the whole memory of the radio on the --from port and writes it
(0x0100-0x3FFF) into the radios on every --to port at once, as "write" does
with several ports. Nothing is written when the read fails.

Options:
  --from PORT             the radio to copy
  --to PORT               a radio to write; give it once per radio
  --verify                read every written radio back and compare
  --password PW           the password of every radio that has one (there is
                          no prompt when several radios are written)
  --retries N             how often to start the exchange again after a radio
                          stopped answering (default 2)
  --program-dir DIR       the program directory (default: beside the program)
  -q, --quiet             no progress and no confirmation on standard error
)"},
    {"info", "info --port PORT", 0, kLinkOptions, false,
     R"(Reads the radio's identification and its embedded information (serial
number, dates, dealer ...) and prints them on standard output, one
"Name: value" line each.

Options:
)"},
    {"image", "image FILE.dat -o IMAGE.bin", 1, kOutput | kProgramDir | kQuiet, true,
     R"(Writes the 16384-byte radio image that "write" would send for the data file
pair: the prefill pattern, then every block built from the Codeplug. Bytes
0x0000-0x000F, which are never transferred, are 0x00; bytes 0x0010-0x00FF
(the radio's own information) keep the prefill 0x00.

Options:
  -o, --output IMAGE.bin  the image file to write
)"},
    {"parse-image", "parse-image IMAGE.bin -o FILE.dat", 1, kOutput | kProgramDir | kQuiet, true,
     R"(Parses a 16384-byte radio image as "read" parses what it received: a new
Codeplug (defaults, or the factory file) overlaid with everything the image
holds, saved as the data file pair FILE.dat and FILE.fre. The band type stays
that of the new Codeplug.

Options:
  -o, --output FILE.dat   the data file to write (must end in .dat)
  --program-dir DIR       where Init/ and language/ are (default: beside the program)
)"},
    {"export", "export FILE.dat [-o OUT.json]", 1, kOutput | kProgramDir | kQuiet, false,
     R"(Writes the whole Codeplug of the data file pair as JSON: every field with
the model's field name and stored value, the channels as a list in list
order (format: docs/json-format.md). "import" gives back both files byte for
byte.

Options:
  -o, --output OUT.json   the file to write (default, or "-": standard output)
)"},
    {"import", "import IN.json -o FILE.dat", 1, kOutput | kProgramDir | kQuiet, true,
     R"(Reads a Codeplug in the JSON format of "export" and saves it as the data file
pair FILE.dat and FILE.fre. Anything that does not fit the format exactly
(unknown or missing fields, wrong kinds, numbers outside a field's type,
texts of the wrong length, a ChannelCount that does not match the channel
list) is refused with its line number (status 2) and nothing is written.

Options:
  -o, --output FILE.dat   the data file to write (must end in .dat)
)"},
    {"diff", "diff A.dat B.dat", 2, kProgramDir | kQuiet, false,
     R"(Compares the Codeplugs of two data file pairs field by field and lists
what differs from A to B on standard output, one line per field, grouped by
record: "channel 12: receive 145.00000 → 145.02500", "option: squelch level
3 → 5", "channel 7: added". Texts compare trimmed, DTMF and 5-tone codes over
their length, channels by their number (their order in the list does not
count). Nothing is printed when they are the same.

Status 0 when the Codeplugs are the same, 5 when they differ.
)"},
    {"export-csv", "export-csv FILE.dat [-o OUT.csv]", 1, kOutput | kProgramDir | kQuiet, false,
     R"(Writes the memory channels in use of the data file pair as a channel list in
the comma-separated form other radio programming tools exchange: one row per
channel, Location 0-199 for channels 1-200, with the columns Location, Name,
Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity,
RxDtcsCode, CrossMode, Mode, TStep, Skip, Power and the empty Comment, URCALL,
RPT1CALL, RPT2CALL and DVCODE. PA, PB and the VFO are not written.

Options:
  -o, --output OUT.csv    the file to write (default, or "-": standard output)
)"},
    {"import-csv", "import-csv IN.csv FILE.dat -o OUT.dat [--merge]", 2,
     kOutput | kMerge | kProgramDir | kQuiet, true,
     R"(Reads a channel list in the form of "export-csv" (columns found by their
header names, in any order; others ignored) into the Codeplug of the data file
pair FILE.dat and FILE.fre, and saves the result as OUT.dat and OUT.fre
(OUT.dat may be FILE.dat itself). Without --merge the memory channels become
those of the list; with it, the list's locations are added or replaced and the
other channels stay. Settings, PA, PB and the VFO are kept, and so are the
fields the list does not carry when a channel is merged.

Frequencies are fitted into the band of FILE.dat as the channel editor fits
them. Every cell that had to be changed and every row left out is reported on
standard error as "IN.csv:LINE: COLUMN: what was done". A file that is not a
channel list at all (empty, binary, no Location or Frequency column) or holds
no usable row gives status 2 and nothing is written.

Options:
  -o, --output OUT.dat    the data file to write (must end in .dat)
  --merge                 merge by location instead of replacing all channels
)"},
    {"report", "report FILE.dat -o OUT.pdf [--section NAME]... [--language en|zh]", 1,
     kOutput | kSection | kLanguage | kProgramDir | kQuiet, true,
     R"(Writes the programming sheet of the data file pair as a PDF: a header with
the file, model, band and the time of printing, then the chosen sections as
the desktop program's File > Print makes them. Needs no display.

Options:
  -o, --output OUT.pdf    the PDF to write; nothing is left there on failure
  --section NAME          a section to print; give it once per section:
                          channels, options, keys, scan, alarm, dtmf, 2tone,
                          5tone, book (default: channels, options, keys, scan,
                          alarm and book)
  --language en|zh        the language of the sheet (default en)
  --program-dir DIR       where language/ is (default: beside the program)
)"},
    {"ports", "ports", 0, kProgramDir | kQuiet, false,
     R"(Lists the serial ports as "COMn device", one per line: the system's serial
devices under their fixed numbers (/dev/ttyS<k> COM<k+1>, /dev/ttyUSB<k>
COM<k+33>, /dev/ttyACM<k> COM<k+65>) and the entries COM1 to COM255 of the
[ports] section of language/mysetup.ini in the program directory
(COM99=/path/to/device), as the desktop program offers them.

Options:
  --program-dir DIR       where language/mysetup.ini is (default: beside the program)
)"},
};

const char* kLinkHelp = R"(  --port PORT             "COMn" (see "qtx-cli ports") or a device path; a
                          symbolic link to a device is followed
  --password PW           the radio's programming password (up to 4 characters);
                          without it, a radio that has one is refused, or asked
                          for it at a hidden prompt when standard input is a
                          terminal
  --retries N             how often to start the exchange again after the radio
                          stopped answering (default 2)
  --program-dir DIR       the program directory (default: beside the program)
  -q, --quiet             no progress and no confirmation on standard error
)";

const char* kStatusHelp = R"(
Exit status: 0 success, 1 wrong usage, 2 file error, 3 link or transfer
failure or a transfer cancelled, 4 the radio refused (wrong model or version,
killed or stunned on write, wrong or missing password), 5 diff found
differences.

Ctrl-C (SIGINT) or SIGTERM during a transfer cancels it: the radio is asked
to leave programming mode first, and a read writes no file. A second signal
ends the program at once.
)";

const CommandEntry* findCommand(const std::string& name)
{
    for (const auto& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

struct OptionName {
    const char* longName;
    char shortName;
    Option option;
    bool takesValue;
};

constexpr OptionName kOptionNames[] = {
    {"output", 'o', kOutput, true},       {"port", 0, kPort, true},
    {"password", 0, kPassword, true},     {"retries", 0, kRetries, true},
    {"program-dir", 0, kProgramDir, true}, {"quiet", 'q', kQuiet, false},
    {"merge", 0, kMerge, false},
    {"verify", 0, kVerify, false},        {"from", 0, kFrom, true},
    {"to", 0, kTo, true},                 {"section", 0, kSection, true},
    {"language", 0, kLanguage, true},
};

bool endsWithDat(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto slash = path.find_last_of('/');
    const size_t nameLength = path.size() - (slash == std::string::npos ? 0 : slash + 1);
    return tail == ".dat" && nameLength > 4;
}

Parsed usage(std::string line)
{
    Parsed p;
    p.error = Fail(kExitUsage, std::move(line) + " (see qtx-cli --help)");
    return p;
}

} // namespace

Parsed ParseCommandLine(const std::vector<std::string>& args)
{
    Parsed parsed;
    Invocation& inv = parsed.invocation;
    unsigned given = 0;
    std::vector<std::string> words;
    bool optionsEnded = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            inv.help = true;
            continue;
        }
        const OptionName* opt = nullptr;
        std::optional<std::string> value;
        std::string shown = arg;
        if (arg.rfind("--", 0) == 0) {
            std::string name = arg.substr(2);
            if (const auto eq = name.find('='); eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
                shown = "--" + name;
            }
            for (const auto& o : kOptionNames)
                if (name == o.longName)
                    opt = &o;
        } else if (arg.size() >= 2) {
            for (const auto& o : kOptionNames)
                if (o.shortName && arg[1] == o.shortName)
                    opt = &o;
            shown = arg.substr(0, 2);
            if (opt && arg.size() > 2) {
                if (!opt->takesValue)
                    opt = nullptr;
                else
                    value = arg.substr(2);
            }
        }
        if (!opt)
            return usage("unknown option " + arg);
        if (!opt->takesValue) {
            if (value)
                return usage(shown + " takes no value");
        } else if (!value) {
            if (i + 1 >= args.size())
                return usage(shown + " needs a value");
            value = args[++i];
        }
        if ((given & opt->option) && opt->option != kPort && opt->option != kTo && opt->option != kSection)
            return usage(shown + " is given twice");
        given |= opt->option;
        switch (opt->option) {
        case kOutput: inv.output = *value; break;
        case kPort:
            inv.ports.push_back(*value);
            inv.port = inv.ports.front();
            break;
        case kFrom: inv.from = *value; break;
        case kTo: inv.to.push_back(*value); break;
        case kVerify: inv.verify = true; break;
        case kPorts: break;
        case kPassword: inv.password = *value; break;
        case kProgramDir: inv.programDir = *value; break;
        case kQuiet: inv.quiet = true; break;
        case kMerge: inv.merge = true; break;
        case kSection: {
            // The embedded information exists only after a radio read in the desktop program.
            const auto section = FindReportSection(*value);
            if (!section || *section == ReportSection::EmbeddedInfo)
                return usage("--section: no section \"" + *value +
                             "\" (channels, options, keys, scan, alarm, dtmf, 2tone, 5tone, book)");
            inv.sections.push_back(*value);
            break;
        }
        case kLanguage:
            if (*value != "en" && *value != "zh")
                return usage("--language is en or zh, not \"" + *value + "\"");
            inv.language = *value;
            break;
        case kRetries: {
            int n = -1;
            const char* first = value->data();
            const char* last = first + value->size();
            const auto r = std::from_chars(first, last, n);
            if (value->empty() || r.ec != std::errc() || r.ptr != last || n < 0 || n > kMaxRetries)
                return usage("--retries needs a whole number from 0 to " + std::to_string(kMaxRetries) + ", not \"" +
                             *value + "\"");
            inv.retries = n;
            break;
        }
        }
    }

    if (words.empty()) {
        if (inv.help)
            return parsed;
        return usage("no command given");
    }
    inv.command = words.front();
    words.erase(words.begin());
    if (inv.command == "help") {
        // "qtx-cli help [COMMAND]"
        inv.help = true;
        inv.command = words.empty() ? std::string() : words.front();
        if (words.size() > 1)
            return usage("help takes at most one command");
        if (!inv.command.empty() && !findCommand(inv.command))
            return usage("unknown command \"" + inv.command + "\"");
        return parsed;
    }
    const CommandEntry* entry = findCommand(inv.command);
    if (!entry)
        return usage("unknown command \"" + inv.command + "\"");
    if (inv.help)
        return parsed;

    for (const auto& o : kOptionNames)
        if ((given & o.option) && !(entry->options & o.option))
            return usage(std::string(entry->name) + " does not take --" + o.longName);
    if (inv.ports.size() > 1 && !(entry->options & kPorts))
        return usage("--port is given twice");
    if (static_cast<int>(words.size()) < entry->files)
        return usage(std::string(entry->name) + " needs " +
                     (entry->files == 1 ? "a file argument" : std::to_string(entry->files) + " file arguments") +
                     ": qtx-cli " + entry->synopsis);
    if (static_cast<int>(words.size()) > entry->files)
        return usage("unexpected argument \"" + words[entry->files] + "\": qtx-cli " + entry->synopsis);
    inv.files = words;
    if (entry->outputRequired && !inv.output)
        return usage(std::string(entry->name) + " needs -o: qtx-cli " + entry->synopsis);
    if ((entry->options & kPort) && !inv.port)
        return usage(std::string(entry->name) + " needs --port: qtx-cli " + entry->synopsis);
    for (const auto& p : inv.ports)
        if (p.empty())
            return usage("--port needs a port name or a device path");
    if ((entry->options & kFrom) && (!inv.from || inv.to.empty()))
        return usage(std::string(entry->name) + " needs --from and at least one --to: qtx-cli " + entry->synopsis);
    if ((inv.from && inv.from->empty()) || std::find(inv.to.begin(), inv.to.end(), "") != inv.to.end())
        return usage("--from and --to need a port name or a device path");
    if (inv.output && inv.output->empty())
        return usage("-o needs a file name");
    if (inv.programDir && inv.programDir->empty())
        return usage("--program-dir needs a directory");
    if (inv.password && NormalisePassword(*inv.password).size() > static_cast<size_t>(kPasswordLength))
        return usage("--password: a radio password has at most " + std::to_string(kPasswordLength) + " characters");
    // A data file's channel file is named from its last three characters;
    // a name not ending in ".dat" would put it somewhere unexpected (the
    // data file "site" goes with a channel file "fre").
    const std::string name = entry->name;
    if ((name == "new" || name == "read" || name == "parse-image" || name == "import" || name == "import-csv") &&
        !endsWithDat(*inv.output))
        return usage("the data file to write must be named *.dat (its channel file is named *.fre), not \"" +
                     *inv.output + "\"");
    return parsed;
}

std::string ToolHelp()
{
    std::string out = R"(Usage: qtx-cli COMMAND [ARGUMENTS] [OPTIONS]

The command-line programmer of QTX for the QM-5210 radio.

Commands:
)";
    for (const auto& c : kCommands) {
        std::string line = "  qtx-cli ";
        line += c.synopsis;
        out += line + "\n";
    }
    out += R"(
Options of the radio commands (read, write, clone, info):
  --port PORT         "COMn" or a device path
  --password PW       the radio's programming password
  --retries N         restarts after the radio stopped answering (default 2)
  --verify            (write, clone) read the radio back and compare
Options of every command:
  --program-dir DIR   the program directory (default: beside the program)
  -q, --quiet         no progress and no confirmations on standard error
  -h, --help          this text; "qtx-cli help COMMAND" or "qtx-cli COMMAND
                      --help" describes one command
)";
    out += kStatusHelp;
    return out;
}

std::string CommandHelp(const std::string& command)
{
    const CommandEntry* entry = findCommand(command);
    if (!entry)
        return {};
    std::string out = "Usage: qtx-cli ";
    out += entry->synopsis;
    out += "\n\n";
    out += entry->help;
    if (entry->options & kPort)
        out += kLinkHelp;
    out += kStatusHelp;
    return out;
}

} // namespace qtx::cli
