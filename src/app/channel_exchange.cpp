#include "app/channel_exchange.h"

#include "app/app_state.h"
#include "app/edit_history.h"
#include "ui/prompter.h"
#include "files/data_file.h"
#include "files/file_io.h"

#include <QFileInfo>
#include <QStringList>

namespace qtx::app {

using namespace qtx::ui;

namespace {

// Shown in a message box when the preview cannot be: no channels at all.
constexpr int kFindingsInMessage = 20;

} // namespace

ChannelExchange::ChannelExchange(AppState& state, Prompter& prompter, Refresh showAll, Preview preview)
    : st_(state), prompter_(prompter), showAll_(std::move(showAll)), preview_(std::move(preview))
{
}

ui::FileKind ChannelExchange::listFilter() const { return {st_.text(7511) + " (*.csv)", "csv"}; }

void ApplyImportEdit(AppState& state, const ChannelCsvImport& list, ChannelImportMode mode)
{
    state.history.edit({kStepCsvImport},
                       [&] { ApplyChannelImport(state.ws.live, list, mode, state.ws.live.body.Band); });
}

bool ChannelExchange::importChannels()
{
    const QString dir = st_.ws.isUntitled ? QString() : QFileInfo(st_.fileName()).absolutePath();
    const QString path = prompter_.openFileName(listFilter(), dir);
    if (path.isEmpty())
        return false;
    return importPath(path);
}

bool ChannelExchange::importPath(const QString& path)
{
    auto read = ReadChannelCsvFile(path.toStdString(), st_.ws.live.body.Band);
    if (!read) {
        const Error& e = read.error();
        prompter_.tell(st_.resolve(e.message) + "\n\n" + fromUtf8(e.detail), Icon::Warning);
        return false;
    }
    const ChannelCsvImport& list = read.value();
    if (list.channels.empty()) {
        QStringList lines{st_.text(7512)};
        const CsvTextFn words = [this](int id) { return st_.table.TextLookup(id); };
        for (size_t i = 0; i < list.findings.size() && i < kFindingsInMessage; ++i) {
            const CsvFinding& f = list.findings[i];
            lines << (f.line > 0 ? QString::number(f.line) + ": " : QString()) + fromUtf8(FindingText(f, words));
        }
        prompter_.tell(lines.join("\n"), Icon::Warning);
        return false;
    }
    const auto mode = preview_ ? preview_(list) : std::nullopt;
    if (!mode)
        return false;
    ApplyImportEdit(st_, list, *mode);
    if (showAll_)
        showAll_();
    return true;
}

bool ChannelExchange::exportChannels()
{
    const QString preset = st_.ws.isUntitled ? QString("channels.csv")
                                              : QFileInfo(st_.fileName()).completeBaseName() + ".csv";
    const QString dir = st_.ws.isUntitled ? QString() : QFileInfo(st_.fileName()).absolutePath();
    QString path = prompter_.saveFileName(listFilter(), dir.isEmpty() ? preset : dir + "/" + preset);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".csv";
    return exportPath(path);
}

bool ChannelExchange::exportPath(const QString& path)
{
    if (!st_.ws.isUntitled) {
        const QFileInfo target(path);
        const auto fre = ChannelFileName(st_.ws.fileName);
        if (target == QFileInfo(st_.fileName()) || (fre && target == QFileInfo(fromUtf8(*fre)))) {
            prompter_.tell(st_.text(7539), Icon::Warning);
            return false;
        }
    }
    const ChannelCsvExport csv = WriteChannelCsv(st_.ws.live);
    auto written = ReplaceFile(path.toStdString(), std::vector<uint8_t>(csv.text.begin(), csv.text.end()));
    if (!written) {
        prompter_.tell(st_.builtIn(BuiltIn::FileError) + "\n\n" + fromUtf8(written.error().detail), Icon::Warning);
        return false;
    }
    QString text = st_.text(7514).replace("%1", QString::number(csv.channels));
    if (!csv.leftOut.empty()) {
        QStringList locations;
        for (int n : csv.leftOut)
            locations << QString::number(n - 1);
        text += "\n\n" + st_.text(7515).replace("%1", locations.join(", "));
    }
    prompter_.tell(text, csv.leftOut.empty() ? Icon::Information : Icon::Warning);
    return true;
}

} // namespace qtx::app
