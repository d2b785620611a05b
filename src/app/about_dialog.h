#pragma once
// The about box, its system information window and the help browser.

#include <QDialog>
#include <QStringList>

#include <functional>

class QTextBrowser;

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

class HelpBrowser : public QDialog {
    Q_OBJECT
public:
    HelpBrowser(const AppState& state, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }
    bool pageFound() const { return found_; }

private:
    QTextBrowser* browser_;
    bool found_ = false;
};

} // namespace qtx::app
