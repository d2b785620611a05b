#pragma once
// The about box and its system information window.

#include <QDialog>
#include <QStringList>

#include <functional>

namespace qtx::app {

struct AppState;

// The serial ports found, one line each ("COM1  /dev/ttyS0").
using PortLister = std::function<QStringList()>;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const AppState& state, PortLister ports, QWidget* parent = nullptr);
};

class SystemInfoDialog : public QDialog {
    Q_OBJECT
public:
    SystemInfoDialog(const AppState& state, const QStringList& ports, QWidget* parent = nullptr);
    QString report() const { return report_; }

private:
    QString report_;
};

} // namespace qtx::app
