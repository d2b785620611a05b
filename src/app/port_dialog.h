#pragma once
// FrmComSet: which serial port the radio is on. The list shows each port's
// COM name and the device it stands for, refreshed every second.

#include <QDialog>
#include <QTimer>

#include <functional>

class QListWidget;

namespace qtx {
class PortCatalogue;
}

namespace qtx::app {

struct AppState;

class PortDialog : public QDialog {
    Q_OBJECT
public:
    PortDialog(AppState& state, const PortCatalogue& catalogue, QWidget* parent = nullptr);

    int portId() const { return portId_; }
    QListWidget* list() const { return list_; }
    // Refills the list (the one-second refresh).
    void refresh();
    // The OK button's work.
    void commit();

private:
    void fill();
    void choose(int port);

    AppState& st_;
    const PortCatalogue& catalogue_;
    QListWidget* list_;
    QTimer refresh_;
    int portId_ = 0;
};

} // namespace qtx::app
