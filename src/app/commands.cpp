#include "app/commands.h"

#include "app/app_state.h"
#include "ui/prompter.h"
#include "convert/code_text.h"
#include "files/change_tracking.h"
#include "files/codeplug_diff.h"
#include "files/data_file.h"
#include "files/defaults.h"

#include <QFileInfo>

#include <memory>

namespace qtx::app {

Commands::Commands(AppState& state, ui::Prompter& prompter, Refresh showAll)
    : st_(state), prompter_(prompter), showAll_(std::move(showAll))
{
}

ui::FileKind Commands::dataFileKind() const { return {st_.builtIn(BuiltIn::DataFileFilter) + " (*.dat)", "dat"}; }

bool Commands::offerSave(const QString& question)
{
    if (!IsModified(st_.ws))
        return true;
    switch (prompter_.ask(question, ui::Buttons::YesNoCancel, ui::Icon::Warning)) {
    case ui::Answer::Yes: return save();
    case ui::Answer::No: return true;
    default: return false;
    }
}

bool Commands::newCodeplug()
{
    if (!offerSave(st_.message("9001")))
        return false;
    if (!st_.initRequested &&
        prompter_.ask(st_.builtIn(BuiltIn::AllDataCleared), ui::Buttons::OkCancel, ui::Icon::Warning) != ui::Answer::Ok)
        return false;
    // Initialise can be taken back, file name and saved state included; a New
    // starts afresh.
    EditState before = CaptureState(st_.ws, StepScope::Document);
    NewCodeplug(st_.ws, st_.programDir.toStdString(),
                NewOptions{st_.factoryFres == 1, st_.initRequested});
    st_.clipboardArmed = false;
    if (st_.initRequested)
        st_.history.record({kStepInitialise}, std::move(before));
    else
        st_.history.clear();
    if (showAll_)
        showAll_();
    return true;
}

bool Commands::initialise()
{
    st_.initRequested = true;
    const bool done = newCodeplug();
    st_.initRequested = false;
    return done;
}

bool Commands::open()
{
    if (!offerSave(st_.builtIn(BuiltIn::FileModified)))
        return false;
    const QString dir = st_.ws.isUntitled ? QString() : QFileInfo(st_.fileName()).absolutePath();
    const QString path = prompter_.openFileName(dataFileKind(), dir);
    if (path.isEmpty())
        return false;
    return openPath(path);
}

bool Commands::openPath(const QString& path)
{
    auto report = OpenCodeplug(st_.ws, path.toStdString());
    if (!report) {
        prompter_.tell(st_.resolve(report.error().message) + "\n\n" + QString::fromStdString(report.error().detail),
                       ui::Icon::Warning);
        return false;
    }
    st_.history.clear();
    if (showAll_)
        showAll_();
    if (status_)
        status_(st_.text(7411).arg(path));
    const QStringList notes = readNotes(report.value());
    if (!notes.isEmpty())
        prompter_.tell(notes.join("\n\n"), ui::Icon::Warning);
    return true;
}

QStringList Commands::readNotes(const OpenReport& r) const
{
    QStringList notes;
    if (r.channelFileMissing && r.channelsListed > 0)
        notes << st_.text(7415).arg(QString::fromStdString(r.channelFile)).arg(r.channelsListed);
    else if (r.channelsRead + r.recordsDropped < r.channelsListed)
        notes << st_.builtIn(BuiltIn::ChannelFileIncomplete).arg(r.channelsRead + r.recordsDropped).arg(r.channelsListed);
    if (r.recordsDropped > 0)
        notes << st_.builtIn(BuiltIn::ChannelRecordsDropped).arg(r.recordsDropped);
    return notes;
}

std::optional<FileComparison> Commands::compareWithFile()
{
    const QString dir = st_.ws.isUntitled ? QString() : QFileInfo(st_.fileName()).absolutePath();
    const QString path = prompter_.openFileName(dataFileKind(), dir);
    if (path.isEmpty())
        return std::nullopt;
    auto other = std::make_unique<Codeplug>();
    auto report = ReadCodeplugFiles(path.toStdString(), *other);
    if (!report) {
        prompter_.tell(st_.builtIn(BuiltIn::FileError) + "\n\n" + QString::fromStdString(report.error().detail),
                       ui::Icon::Warning);
        return std::nullopt;
    }
    // The open Codeplug as a Save would write it.
    auto current = std::make_unique<Codeplug>();
    CopyCodeplug(st_.ws.live, *current);
    current->body.BandType = st_.ws.bandType;
    FileComparison result;
    result.fileName = QFileInfo(path).fileName();
    result.notes = readNotes(report.value());
    for (const FieldDifference& d : DiffCodeplugs(*current, *other))
        result.lines << QString::fromStdString(DiffLine(d));
    return result;
}

bool Commands::save()
{
    if (st_.ws.isUntitled)
        return saveAs();
    const QString question = "\"" + QString::fromStdString(FileNameOfPath(st_.ws.fileName)) + "\"" +
                             st_.builtIn(BuiltIn::FileOverwrite);
    if (prompter_.ask(question, ui::Buttons::OkCancel, ui::Icon::Question) != ui::Answer::Ok)
        return false;
    return saveToCurrentName();
}

bool Commands::saveAs()
{
    QString path = prompter_.saveFileName(dataFileKind(), st_.fileName());
    if (path.isEmpty())
        return false;
    // The channel file's name is made from the data file's, so the data file
    // always ends in ".dat".
    if (!path.endsWith(".dat", Qt::CaseInsensitive))
        path += ".dat";
    const std::string previous = st_.ws.fileName;
    st_.ws.fileName = path.toStdString();
    if (!saveToCurrentName()) {
        st_.ws.fileName = previous;
        return false;
    }
    return true;
}

bool Commands::saveToCurrentName()
{
    auto saved = SaveCodeplug(st_.ws);
    if (!saved) {
        prompter_.tell(st_.builtIn(BuiltIn::FileError) + "\n\n" + QString::fromStdString(saved.error().detail),
                       ui::Icon::Warning);
        return false;
    }
    if (showAll_)
        showAll_();
    if (status_)
        status_(st_.text(7412).arg(st_.fileName()));
    return true;
}

bool Commands::confirmClose() { return offerSave(st_.message("9001")); }

} // namespace qtx::app
