#include "app/about_dialog.h"

#include "app/app_state.h"
#include "ui/captions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace qtx::app {

AboutDialog::AboutDialog(const AppState& st, PortLister ports, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(QApplication::applicationDisplayName());
    auto* title = new QLabel("<b>QTX</b> &nbsp; QM-5210", this);
    auto* version = new QLabel(st.text(2200) + " " + QApplication::applicationVersion(), this);
    version->setObjectName("lblVersion");
    auto* description = new QLabel(st.text(2100), this);
    description->setObjectName("lblDescription");
    description->setWordWrap(true);
    auto* disclaimer = new QLabel(st.text(2101), this);
    disclaimer->setObjectName("lblDisclaimer");
    disclaimer->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(st.text(101));
    QPushButton* info = buttons->addButton(st.builtIn(BuiltIn::AboutSystemInfo), QDialogButtonBox::ActionRole);
    info->setObjectName("cmdSysInfo");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(info, &QPushButton::clicked, this, [this, &st, ports] {
        SystemInfoDialog dialog(st, ports ? ports() : QStringList(), this);
        dialog.exec();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(description);
    layout->addSpacing(8);
    layout->addWidget(disclaimer);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

SystemInfoDialog::SystemInfoDialog(const AppState& st, const QStringList& ports, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSystemInfo");
    setWindowTitle(st.builtIn(BuiltIn::SystemInfoTitle));
    QStringList lines;
    lines << st.builtIn(BuiltIn::SystemInfoProgram) + ": QTX " + QApplication::applicationVersion()
          << st.builtIn(BuiltIn::SystemInfoQt) + ": " + qVersion()
          << st.builtIn(BuiltIn::SystemInfoSystem) + ": " + QSysInfo::prettyProductName() + " (" +
                 QSysInfo::kernelType() + " " + QSysInfo::kernelVersion() + ", " + QSysInfo::currentCpuArchitecture() + ")"
          << st.builtIn(BuiltIn::SystemInfoPorts) + ":";
    if (ports.isEmpty())
        lines << "  " + st.builtIn(BuiltIn::SystemInfoNoPorts);
    for (const QString& p : ports)
        lines << "  " + p;
    report_ = lines.join('\n');
    auto* text = new QPlainTextEdit(report_, this);
    text->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(st.text(101));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(520, 300);
}

HelpBrowser::HelpBrowser(const AppState& st, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmHelp");
    setWindowTitle(st.builtIn(BuiltIn::HelpTitle));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    const QString page = QDir(st.helpDir()).filePath("index.html");
    if (QFileInfo::exists(page)) {
        browser_->setSearchPaths({st.helpDir()});
        browser_->setSource(QUrl::fromLocalFile(page));
        found_ = true;
    } else {
        browser_->setPlainText(st.builtIn(BuiltIn::HelpMissing).arg(page));
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* back = buttons->addButton(QString::fromUtf8("\u2190"), QDialogButtonBox::ActionRole);
    QPushButton* home = buttons->addButton(QString::fromUtf8("\u2302"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(st.builtIn(BuiltIn::CloseCaption), QDialogButtonBox::RejectRole);
    close->setObjectName("CommandClose");
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(760, 620);
}

} // namespace qtx::app
