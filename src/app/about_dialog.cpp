#include "app/about_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace qtx::app {

AboutDialog::AboutDialog(const AppState& st, PortLister ports, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    ui::SetHelpTopic(this, "about");
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
    ui::SetHelpTopic(this, "about");
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

} // namespace qtx::app
