#include "commands.h"

#include "codeplug_json.h"
#include "json_budget.h"
#include "json_text.h"
#include "port_catalogue.h"
#include "radio_session.h"

#include "exchange/channel_csv.h"
#include "files/adopt_read.h"
#include "files/codeplug_diff.h"
#include "files/data_file.h"
#include "files/defaults.h"
#include "files/file_io.h"
#include "files/program_settings.h"
#include "image/embedded_info.h"
#include "image/image_codec.h"
#include "model/band_plan.h"
#include "model/workspace.h"
#include "print/report_renderer.h"
#include "report/report.h"
#include "text/builtin_texts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMap>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <unistd.h>

namespace qtx::cli {

namespace {

namespace fs = std::filesystem;


void note(const Context& ctx, const std::string& line)
{
    if (!ctx.invocation.quiet)
        std::fprintf(stderr, "qtx-cli: %s\n", line.c_str());
}

void warn(const std::string& line) { std::fprintf(stderr, "qtx-cli: warning: %s\n", line.c_str()); }

// The plain-words cause, or else the words of the message it names.
std::string causeOf(const Error& e)
{
    if (!e.detail.empty())
        return e.detail;
    return ResolveMessage(e.message, kLanguageEnglish, LanguageTable());
}

Failure fileFailure(const Error& e) { return Fail(kExitFile, causeOf(e)); }

std::string channelFileOf(const std::string& dataFile)
{
    return ChannelFileName(dataFile).value_or(dataFile + " (no channel file name)");
}

// Latin-1 bytes as UTF-8 for a terminal, control characters shown as \xNN
// so that bytes from a radio cannot steer the terminal.
std::string shown(std::string_view bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            AppendLatin1(out, c);
        }
    }
    return out;
}

std::string pairText(const std::string& dataFile) { return dataFile + " and " + channelFileOf(dataFile); }

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// An output must not be one of the inputs: the input would be gone.
Outcome refuseOverwritingInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs)
{
    for (const auto& out : outputs)
        for (const auto& in : inputs)
            if (sameFile(out, in))
                return Fail(kExitUsage, "the output " + out + " is the input " + in + "; choose another name");
    return std::nullopt;
}

// A read is not repeated because its result could not be stored: the
// output must be a file in a writable folder before the radio is touched.
Outcome checkWritableOutput(const std::string& path)
{
    auto target = ResolveOutputPath(path);
    if (!target)
        return fileFailure(target.error());
    const fs::path p(target.value());
    std::error_code ec;
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(dir, ec))
        return Fail(kExitFile, "cannot write " + path + ": the folder " + dir.string() + " does not exist");
    if (::access(dir.c_str(), W_OK) != 0)
        return Fail(kExitFile, "cannot write " + path + ": the folder " + dir.string() + " is not writable");
    return std::nullopt;
}

// The data file pair, whole: a pair whose channel file is missing, short or
// damaged would lose channels in whatever this command makes of it.
Outcome loadPair(const std::string& dataFile, Codeplug& cp)
{
    auto report = ReadCodeplugFiles(dataFile, cp);
    if (!report)
        return fileFailure(report.error());
    const OpenReport& r = report.value();
    const std::string fre = channelFileOf(dataFile);
    if (r.interruptedSave == PairRecovery::Completed)
        warn("an earlier save of " + pairText(dataFile) + " was cut short; it has been completed");
    else if (r.interruptedSave == PairRecovery::Discarded)
        warn("an earlier save of " + pairText(dataFile) + " was cut short; the files stay as they were before it");
    if (r.channelFileMissing && r.channelsListed > 0)
        return Fail(kExitFile, "cannot use the channel file of " + dataFile + " (it lists " +
                                   std::to_string(r.channelsListed) + " channels): " + r.channelFileProblem);
    if (r.recordsDropped > 0)
        return Fail(kExitFile, fre + " holds " + std::to_string(r.recordsDropped) +
                                   " channel records with a number outside 1-203 or repeated");
    if (!r.complete())
        return Fail(kExitFile, fre + " holds " + std::to_string(r.channelsRead) + " of the " +
                                   std::to_string(r.channelsListed) + " channels " + dataFile + " lists");
    return std::nullopt;
}

Outcome savePair(const std::string& dataFile, const Codeplug& cp, int16_t bandType)
{
    Workspace ws;
    CopyCodeplug(cp, ws.live);
    ws.bandType = bandType;
    ws.fileName = dataFile;
    auto saved = SaveCodeplug(ws);
    if (!saved)
        return fileFailure(saved.error());
    return std::nullopt;
}

// The desktop program's settings, found where it finds them.
ProgramSettingsValues programSettings(const Context& ctx)
{
    return ReadProgramSettings(LocateSettingsFor(ctx.programDir, ctx.userConfigDir, ctx.sharedProgramDir));
}

// A new Codeplug as the desktop program makes one at start-up and for New.
NewOptions newOptions(const Context& ctx) { return NewOptions{programSettings(ctx).factoryFres == 1, false}; }

bool newCodeplug(const Context& ctx, Workspace& ws) { return NewCodeplug(ws, ctx.programDir, newOptions(ctx)); }

PortCatalogue portCatalogue(const Context& ctx)
{
    QMap<int, QString> configured;
    for (const auto& [number, device] : programSettings(ctx).ports)
        configured.insert(number, QString::fromStdString(device));
    return PortCatalogue::FromNumbers(configured);
}

Outcome resolveDevice(const Context& ctx, const std::string& port, QString& device)
{
    const auto found = ResolvePortDevice(portCatalogue(ctx), QString::fromStdString(port));
    if (!found) {
        const bool isName = port.find('/') == std::string::npos;
        return Fail(kExitLink, isName ? "there is no serial port \"" + port + "\" (see qtx-cli ports)"
                                      : "there is no device " + port);
    }
    device = *found;
    return std::nullopt;
}

Outcome linkSettings(const Context& ctx, LinkSettings& settings, const std::string& port)
{
    const Invocation& inv = ctx.invocation;
    if (auto bad = resolveDevice(ctx, port, settings.device))
        return bad;
    settings.password = inv.password;
    settings.retries = inv.retries;
    settings.showProgress = ctx.stderrIsTerminal && !inv.quiet;
    settings.verify = inv.verify;
    return std::nullopt;
}

Outcome linkSettings(const Context& ctx, LinkSettings& settings) { return linkSettings(ctx, settings, *ctx.invocation.port); }

// Every port resolved; two names for one device would have two transfers
// fight over one radio.
Outcome fleetTargets(const Context& ctx, const std::vector<std::string>& ports, std::vector<FleetTarget>& targets,
                     const std::optional<std::string>& source = std::nullopt)
{
    std::map<QString, std::string> seen;
    auto add = [&](const std::string& port, bool isTarget) -> Outcome {
        QString device;
        if (auto bad = resolveDevice(ctx, port, device))
            return bad;
        const QFileInfo info(device);
        const QString key = info.exists() ? info.canonicalFilePath() : device;
        if (auto it = seen.find(key); it != seen.end())
            return Fail(kExitUsage, port + " and " + it->second + " are the same radio (" + device.toStdString() +
                                        "); give each radio once");
        seen.emplace(key, port);
        if (isTarget)
            targets.push_back(FleetTarget{port, device});
        return std::nullopt;
    };
    if (source)
        if (auto bad = add(*source, false))
            return bad;
    for (const auto& p : ports)
        if (auto bad = add(p, true))
            return bad;
    return std::nullopt;
}

// The table on standard output; the first radio that failed sets the status.
Outcome fleetOutcome(const Context& ctx, const std::vector<FleetRow>& rows, const std::string& what)
{
    const std::string table = FleetTable(rows);
    std::fputs(table.c_str(), stdout);
    std::fflush(stdout);
    const FleetRow* first = nullptr;
    int failed = 0;
    for (const auto& r : rows)
        if (r.outcome) {
            ++failed;
            if (!first)
                first = &r;
        }
    if (!first) {
        note(ctx, "wrote " + what + " into " + std::to_string(rows.size()) + " radios");
        return std::nullopt;
    }
    std::string names;
    for (const auto& r : rows)
        if (r.outcome)
            names += (names.empty() ? "" : ", ") + r.name;
    return Fail(first->outcome->status, "writing failed on " + std::to_string(failed) + " of " +
                                            std::to_string(rows.size()) + " radios: " + names);
}

Outcome writeOutput(const std::string& path, std::vector<uint8_t> bytes)
{
    auto written = ReplaceFile(path, bytes);
    if (!written)
        return fileFailure(written.error());
    return std::nullopt;
}

// ---------------------------------------------------------------------------

Outcome commandNew(const Context& ctx)
{
    const std::string& out = *ctx.invocation.output;
    Workspace ws;
    const bool factory = newCodeplug(ctx, ws);
    if (auto failed = savePair(out, ws.live, ws.bandType))
        return failed;
    note(ctx, "saved a new Codeplug" + std::string(factory ? " from the factory file" : "") + " as " + pairText(out));
    return std::nullopt;
}

Outcome commandRead(const Context& ctx)
{
    const std::string& out = *ctx.invocation.output;
    const auto channelFile = ChannelFileName(out);
    if (!channelFile)
        return Fail(kExitUsage, out + " has no name for its channel file (the last three characters become \"fre\")");
    for (const auto& file : {out, *channelFile})
        if (auto bad = checkWritableOutput(file))
            return bad;
    LinkSettings settings;
    if (auto bad = linkSettings(ctx, settings))
        return bad;

    RadioImage image{};
    PrefillImage(image);
    TransferResult result;
    if (auto failed = RunTransfer(TransferMode::Read, image, settings, result))
        return failed;

    Workspace ws;
    AdoptReadImage(ws, image, result.ident, ctx.programDir, newOptions(ctx));
    if (auto failed = savePair(out, ws.live, ws.bandType))
        return Fail(failed->status, "the radio was read, but " + failed->line);
    note(ctx, "read the radio into " + pairText(out));
    return std::nullopt;
}

// The image a write sends, built from the pair; a Codeplug that cannot be
// encoded is a problem of the file's content.
Outcome buildImage(const std::string& dataFile, RadioImage& image)
{
    Codeplug cp;
    if (auto failed = loadPair(dataFile, cp))
        return failed;
    const BuildReport report = BuildImage(cp, image);
    if (!report.ok()) {
        const Error& e = report.result.error();
        return Fail(kExitFile, dataFile + " cannot be sent to a radio: " + e.message +
                                   (e.detail.empty() ? std::string() : ": " + e.detail));
    }
    std::set<std::string> seen;
    for (const auto& n : report.notices)
        if (seen.insert(n).second)
            warn(dataFile + ": " + n);
    return std::nullopt;
}

Outcome commandWrite(const Context& ctx)
{
    const std::string& in = ctx.invocation.files[0];
    RadioImage image{};
    if (auto failed = buildImage(in, image))
        return failed;
    LinkSettings settings;
    if (ctx.invocation.ports.size() > 1) {
        std::vector<FleetTarget> targets;
        if (auto bad = fleetTargets(ctx, ctx.invocation.ports, targets))
            return bad;
        if (auto bad = linkSettings(ctx, settings))
            return bad;
        return fleetOutcome(ctx, RunFleetWrite(image, targets, settings), in);
    }
    if (auto bad = linkSettings(ctx, settings))
        return bad;
    TransferResult result;
    if (auto failed = RunTransfer(TransferMode::Write, image, settings, result))
        return failed;
    note(ctx, std::string(result.verified ? "wrote and verified " : "wrote ") + in + " into the radio");
    return std::nullopt;
}

Outcome commandClone(const Context& ctx)
{
    const Invocation& inv = ctx.invocation;
    std::vector<FleetTarget> targets;
    if (auto bad = fleetTargets(ctx, inv.to, targets, inv.from))
        return bad;
    LinkSettings settings;
    if (auto bad = linkSettings(ctx, settings, *inv.from))
        return bad;
    RadioImage image{};
    PrefillImage(image);
    TransferResult result;
    if (auto failed = RunTransfer(TransferMode::Read, image, settings, result))
        return Fail(failed->status, "nothing was written: " + failed->line);
    note(ctx, "read the radio on " + *inv.from);
    return fleetOutcome(ctx, RunFleetWrite(image, targets, settings), "the radio on " + *inv.from);
}

Outcome commandInfo(const Context& ctx)
{
    LinkSettings settings;
    if (auto bad = linkSettings(ctx, settings))
        return bad;
    RadioImage image{};
    PrefillImage(image);
    TransferResult result;
    if (auto failed = RunTransfer(TransferMode::InfoRead, image, settings, result))
        return failed;

    const EmbeddedInfo info = ParseEmbeddedInfo(image);
    std::string out;
    auto line = [&out](const char* name, const std::string& value) {
        out += name;
        out += ": ";
        out += value;
        out += '\n';
    };
    if (result.ident) {
        const RadioIdent& id = *result.ident;
        char band[8];
        std::snprintf(band, sizeof band, "0x%02X", id.bandCode);
        line("Model", shown(id.model));
        line("Version", shown(id.version));
        line("Band code", band);
        line("Radio flag", std::to_string(id.radioFlag));
        line("Killed", id.killed ? "yes" : "no");
        line("Stunned", id.stunned ? "yes" : "no");
    }
    line("Area code", shown(info.AreaCode));
    line("Serial number", shown(info.SerialNumber));
    line("Production date", shown(info.ProductionDate));
    line("Manufacture code", shown(info.ManufactureCode));
    line("User code", shown(info.UserCode));
    line("Maintenance date", shown(info.MaintenanceDate));
    line("Dealer code", shown(info.DealerCode));
    line("Stock date", shown(info.StockDate));
    line("Sell date", shown(info.SellDate));
    line("Seller", shown(info.Seller));
    line("Description", shown(info.Description));
    std::fputs(out.c_str(), stdout);
    if (std::fflush(stdout) != 0)
        return Fail(kExitFile, "cannot write to standard output");
    return std::nullopt;
}

Outcome commandImage(const Context& ctx)
{
    const std::string& in = ctx.invocation.files[0];
    const std::string& out = *ctx.invocation.output;
    if (auto bad = refuseOverwritingInput({out}, {in, channelFileOf(in)}))
        return bad;
    RadioImage image{};
    if (auto failed = buildImage(in, image))
        return failed;
    if (auto failed = writeOutput(out, std::vector<uint8_t>(image.begin(), image.end())))
        return failed;
    note(ctx, "wrote the radio image of " + in + " to " + out);
    return std::nullopt;
}

Outcome commandParseImage(const Context& ctx)
{
    const std::string& in = ctx.invocation.files[0];
    const std::string& out = *ctx.invocation.output;
    if (auto bad = refuseOverwritingInput({out, channelFileOf(out)}, {in}))
        return bad;
    auto data = ReadBoundedFile(in, kRadioImageFileShape);
    if (!data)
        return fileFailure(data.error());
    RadioImage image{};
    std::copy(data.value().begin(), data.value().end(), image.begin());
    Workspace ws;
    newCodeplug(ctx, ws);
    ParseImage(image, ws.live);
    if (auto failed = savePair(out, ws.live, ws.bandType))
        return failed;
    note(ctx, "saved the Codeplug of " + in + " as " + pairText(out));
    return std::nullopt;
}

// Export reads FILE.dat and writes a text to --output or, without one or
// with "-", to standard output; the output must not be one of the inputs.
Outcome loadExportSource(const Context& ctx, Codeplug& cp)
{
    const std::string& in = ctx.invocation.files[0];
    const auto& out = ctx.invocation.output;
    if (out && out != "-") {
        if (auto bad = refuseOverwritingInput({*out}, {in, channelFileOf(in)}))
            return bad;
    }
    return loadPair(in, cp);
}

bool exportsToFile(const Context& ctx) { return ctx.invocation.output && *ctx.invocation.output != "-"; }

Outcome writeExport(const Context& ctx, const std::string& text)
{
    if (!exportsToFile(ctx)) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
            return Fail(kExitFile, "cannot write to standard output");
        return std::nullopt;
    }
    return writeOutput(*ctx.invocation.output, std::vector<uint8_t>(text.begin(), text.end()));
}

Outcome commandExport(const Context& ctx)
{
    Codeplug cp;
    if (auto failed = loadExportSource(ctx, cp))
        return failed;
    if (auto failed = writeExport(ctx, CodeplugToJson(cp)))
        return failed;
    if (exportsToFile(ctx))
        note(ctx, "exported " + ctx.invocation.files[0] + " to " + *ctx.invocation.output);
    return std::nullopt;
}

Outcome commandImport(const Context& ctx)
{
    const std::string& in = ctx.invocation.files[0];
    const std::string& out = *ctx.invocation.output;
    if (auto bad = refuseOverwritingInput({out, channelFileOf(out)}, {in}))
        return bad;
    auto data = ReadBoundedFile(in, kJsonCodeplugFileShape);
    if (!data)
        return fileFailure(data.error());
    const std::string_view text(reinterpret_cast<const char*>(data.value().data()), data.value().size());
    if (CountJsonValues(text) > kMaxJsonValues)
        return Fail(kExitFile, in + " holds more than " + std::to_string(kMaxJsonValues) +
                                   " values, far more than any Codeplug; it is not one");
    auto cp = CodeplugFromJson(text);
    if (!cp)
        return Fail(kExitFile, in + ": " + cp.error().detail);
    if (auto failed = savePair(out, cp.value(), cp.value().body.BandType))
        return failed;
    note(ctx, "imported " + in + " as " + pairText(out));
    return std::nullopt;
}

Outcome commandDiff(const Context& ctx)
{
    const std::string& first = ctx.invocation.files[0];
    const std::string& second = ctx.invocation.files[1];
    Codeplug a;
    Codeplug b;
    if (auto failed = loadPair(first, a))
        return failed;
    if (auto failed = loadPair(second, b))
        return failed;
    const auto differences = DiffCodeplugs(a, b);
    std::string out;
    for (const FieldDifference& d : differences)
        out += DiffLine(d) + "\n";
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        return Fail(kExitFile, "cannot write to standard output");
    if (differences.empty())
        return std::nullopt;
    return Fail(kExitDifferent, first + " and " + second + " differ in " + std::to_string(differences.size()) +
                                    (differences.size() == 1 ? " field" : " fields"));
}

Outcome commandExportCsv(const Context& ctx)
{
    const std::string& in = ctx.invocation.files[0];
    Codeplug cp;
    if (auto failed = loadExportSource(ctx, cp))
        return failed;
    const ChannelCsvExport csv = WriteChannelCsv(cp);
    if (!csv.leftOut.empty()) {
        std::string numbers;
        for (int n : csv.leftOut)
            numbers += (numbers.empty() ? "" : ", ") + std::to_string(n - 1);
        warn(in + ": locations without a receive frequency, not written: " + numbers);
    }
    if (auto failed = writeExport(ctx, csv.text))
        return failed;
    if (exportsToFile(ctx))
        note(ctx, "exported " + std::to_string(csv.channels) + " channels of " + in + " to " + *ctx.invocation.output);
    return std::nullopt;
}

Outcome commandImportCsv(const Context& ctx)
{
    const std::string& csvFile = ctx.invocation.files[0];
    const std::string& in = ctx.invocation.files[1];
    const std::string& out = *ctx.invocation.output;
    // Writing over FILE.dat is an update in place; writing over the list is not.
    if (auto bad = refuseOverwritingInput({out, channelFileOf(out)}, {csvFile}))
        return bad;
    Codeplug cp;
    if (auto failed = loadPair(in, cp))
        return failed;
    auto read = ReadChannelCsvFile(csvFile, cp.body.Band);
    if (!read) {
        const Error& e = read.error();
        return Fail(kExitFile, e.message == "FileError" ? causeOf(e) : csvFile + ": " + causeOf(e));
    }
    const ChannelCsvImport& list = read.value();

    const LanguageTable english(LanguageFilePath(ctx.programDir, kLanguageEnglish));
    const CsvTextFn words = [&english](int id) { return english.TextLookup(id); };
    for (const CsvFinding& f : list.findings) {
        std::string where = csvFile;
        if (f.line > 0)
            where += ":" + std::to_string(f.line);
        if (!f.column.empty())
            where += ": " + f.column;
        std::fprintf(stderr, "%s: %s\n", where.c_str(), FindingText(f, words).c_str());
    }
    if (list.omittedFindings > 0)
        warn(csvFile + ": " + std::to_string(list.omittedFindings) + " more findings not shown");
    if (list.channels.empty())
        return Fail(kExitFile, csvFile + " holds no usable channel row; nothing written");

    const ChannelImportMode mode = ctx.invocation.merge ? ChannelImportMode::Merge : ChannelImportMode::ReplaceAll;
    const ChannelImportPlan plan = PlanChannelImport(cp, list, mode);
    ApplyChannelImport(cp, list, mode, cp.body.Band);
    if (auto failed = savePair(out, cp, cp.body.BandType))
        return failed;
    note(ctx, "imported " + csvFile + " into " + in + " (" + std::to_string(plan.added.size()) + " added, " +
                  std::to_string(plan.replaced.size()) + " replaced, " + std::to_string(plan.removed.size()) +
                  " deleted) as " + pairText(out));
    return std::nullopt;
}

Outcome commandReport(const Context& ctx)
{
    const Invocation& inv = ctx.invocation;
    const std::string& in = inv.files[0];
    const std::string& out = *inv.output;
    if (auto bad = refuseOverwritingInput({out}, {in, channelFileOf(in)}))
        return bad;
    Codeplug cp;
    if (auto failed = loadPair(in, cp))
        return failed;
    const int language = inv.language == "zh" ? kLanguageChinese : kLanguageEnglish;
    const std::string languageFile = LanguageFilePath(ctx.programDir, language);
    std::error_code ec;
    if (!fs::is_regular_file(languageFile, ec))
        return Fail(kExitFile, "cannot read the language file " + languageFile);

    std::vector<ReportSection> sections;
    for (const std::string& name : inv.sections)
        sections.push_back(*FindReportSection(name));
    if (sections.empty())
        sections = {ReportSection::Channels, ReportSection::Scan,  ReportSection::Options,
                    ReportSection::Keys,     ReportSection::Alarm, ReportSection::CommBook};
    ReportFacts facts;
    facts.fileName = in;
    facts.modelLabel = ModelCheck(kModelName);
    facts.dateTime = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
    // A script names the signalling sections it wants; there is no menu to hide them from.
    facts.switches.Dtmf = facts.switches.TwoTone = facts.switches.FiveTone = 1;
    const Report report = BuildPrintReport(cp, nullptr, sections, LanguageTable(languageFile), language, facts);
    const print::PdfResult written = print::WriteReportPdf(report, QString::fromStdString(out));
    if (!written.ok)
        return Fail(kExitFile, "cannot write " + out + ": " + written.error.toStdString());
    note(ctx, "wrote the programming sheet of " + in + " to " + out);
    return std::nullopt;
}

Outcome commandPorts(const Context& ctx)
{
    const auto ports = portCatalogue(ctx).ports();
    std::string out;
    for (const auto& p : ports)
        out += p.name.toStdString() + " " + p.device.toStdString() + "\n";
    std::fputs(out.c_str(), stdout);
    if (std::fflush(stdout) != 0)
        return Fail(kExitFile, "cannot write to standard output");
    if (ports.isEmpty())
        note(ctx, "no serial ports found");
    return std::nullopt;
}

} // namespace

Outcome RunCommand(const Context& ctx)
{
    const std::string& c = ctx.invocation.command;
    if (c == "new")
        return commandNew(ctx);
    if (c == "read")
        return commandRead(ctx);
    if (c == "write")
        return commandWrite(ctx);
    if (c == "clone")
        return commandClone(ctx);
    if (c == "info")
        return commandInfo(ctx);
    if (c == "image")
        return commandImage(ctx);
    if (c == "parse-image")
        return commandParseImage(ctx);
    if (c == "export")
        return commandExport(ctx);
    if (c == "import")
        return commandImport(ctx);
    if (c == "export-csv")
        return commandExportCsv(ctx);
    if (c == "import-csv")
        return commandImportCsv(ctx);
    if (c == "ports")
        return commandPorts(ctx);
    if (c == "report")
        return commandReport(ctx);
    if (c == "diff")
        return commandDiff(ctx);
    return Fail(kExitUsage, "unknown command \"" + c + "\"");
}

} // namespace qtx::cli
