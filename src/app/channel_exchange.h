#pragma once
// File > Import channels and Export channels: a channel list in the
// exchange form read into the Codeplug after a preview, or written from it.
// Questions go through the Prompter and the preview through a callback, so
// tests run both without windows.

#include "exchange/channel_csv.h"
#include "ui/prompter.h"

#include <QString>

#include <functional>
#include <optional>

namespace qtx::app {

struct AppState;
using ui::Prompter;

class ChannelExchange {
public:
    using Refresh = std::function<void()>;
    // Shows what the import would do; the mode chosen, or none for Cancel.
    using Preview = std::function<std::optional<ChannelImportMode>(const ChannelCsvImport&)>;

    ChannelExchange(AppState& state, Prompter& prompter, Refresh showAll, Preview preview);

    // Each returns true when it did what was asked (false: cancelled, or
    // refused with the reason told).
    bool importChannels();
    bool importPath(const QString& path);
    bool exportChannels();
    bool exportPath(const QString& path);

    ui::FileKind listFilter() const;

private:
    AppState& st_;
    Prompter& prompter_;
    Refresh showAll_;
    Preview preview_;
};

// The import as one edit of the live Codeplug: one undo step.
void ApplyImportEdit(AppState& state, const ChannelCsvImport& list, ChannelImportMode mode);

} // namespace qtx::app
