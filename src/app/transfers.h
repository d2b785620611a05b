#pragma once
// Read, Write and the embedded-information read of the main window: the
// questions around a transfer, the image it moves, the progress window and
// what a finished transfer does to the Codeplug.

#include "image/embedded_info.h"
#include "image/radio_image.h"
#include "link/transfer_engine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace qtx {
struct PortAccess;
class PortCatalogue;
class TransferRunner;
} // namespace qtx

namespace qtx::ui {
class Prompter;
} // namespace qtx::ui

namespace qtx::app {

struct AppState;
class Commands;
class ProgressDialog;

class RadioTransfers : public QObject {
    Q_OBJECT
public:
    RadioTransfers(AppState& state, ui::Prompter& prompter, Commands& commands, QWidget* window,
                   std::function<void()> showAll);
    ~RadioTransfers() override;

    // Each returns when the transfer has ended (or was never started); the
    // information read returns at once and ends on events.
    void read();
    void write();
    void readInfo();

    // The serial ports as the port dialog and the start-up check see them.
    PortCatalogue catalogue() const;
    // The device of the chosen port; none when it is not present.
    std::optional<QString> chosenDevice() const;

    const RadioImage& image() const { return image_; }
    const EmbeddedInfo& info() const { return info_; }
    const TransferResult& lastResult() const { return last_; }

signals:
    // An information read succeeded: show the viewer.
    void infoReady(const qtx::EmbeddedInfo& info);
    void transferEnded(bool success);
    // What the last transfer did, in one line for the status bar.
    void statusChanged(const QString& text);

private:
    class Prompts;
    // Resolves and tries the chosen port; tells the user and returns none
    // when it cannot be opened.
    std::optional<QString> openableDevice();
    // Text 2002, and why the port is unusable when that is known.
    QString cannotOpenText(const PortAccess& access) const;
    void run(TransferMode mode, const QString& device);
    void finished(const TransferResult& result);
    // What the user reads when a transfer failed or was cancelled.
    QString endMessage(const TransferResult& result) const;
    // Phase, blocks and time left under the progress bar.
    QString progressDetail();
    QString portText() const;

    AppState& st_;
    ui::Prompter& prompter_;
    Commands& commands_;
    QWidget* window_;
    std::function<void()> showAll_;
    RadioImage image_{};
    EmbeddedInfo info_;
    TransferResult last_;
    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<TransferRunner> runner_;
    ProgressDialog* progress_ = nullptr;
    TransferMode mode_ = TransferMode::None;
    QElapsedTimer clock_;     // since the transfer started
    QElapsedTimer paceClock_; // since the first block went out
    int paceBlocks_ = -1;     // blocks done when paceClock_ started
};

} // namespace qtx::app
