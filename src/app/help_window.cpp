#include "app/help_window.h"

#include "app/app_state.h"
#include "text/help_page.h"
#include "ui/captions.h"
#include "ui/help_topic.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QVBoxLayout>

namespace qtx::app {

namespace {
constexpr const char* kContents = "index";
constexpr qint64 kMaxPageBytes = 1 << 20;
} // namespace

QString HelpPageFile(const QString& helpDir, const QString& topic)
{
    static const QRegularExpression safe("^[A-Za-z0-9_-]+$");
    if (!topic.isEmpty() && safe.match(topic).hasMatch()) {
        const QString name = topic + ".html";
        if (QFileInfo(QDir(helpDir).filePath(name)).isFile())
            return name;
    }
    return QString(kContents) + ".html";
}

HelpView::HelpView(const AppState& st, QWidget* parent) : QTextBrowser(parent), st_(st)
{
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QVariant HelpView::loadResource(int type, const QUrl& name)
{
    if (type != QTextDocument::HtmlResource || !name.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    QFile file(name.toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kMaxPageBytes);
    const std::string page = ExpandHelpPage(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                                            [this](const HelpPlaceholder& p) {
                                                return st_.table.Lookup(p.section, p.key,
                                                                        p.section == "MSG" ? kMessageBufferSize
                                                                                           : kOtherBufferSize);
                                            });
    return QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size()));
}

HelpWindow::HelpWindow(const AppState& st, QWidget* parent) : QDialog(parent), st_(st), home_(parent)
{
    setObjectName("frmHelp");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    view_ = new HelpView(st, this);
    view_->setObjectName("helpView");
    auto* buttons = new QDialogButtonBox(this);
    back_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    back_->setObjectName("cmdBack");
    ui::SetTextIds(back_, 7100);
    forward_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    forward_->setObjectName("cmdForward");
    ui::SetTextIds(forward_, 7101);
    contents_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    contents_->setObjectName("cmdContents");
    ui::SetTextIds(contents_, 7102);
    close_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    close_->setObjectName("CommandClose");
    for (QPushButton* b : {back_, forward_, contents_, close_})
        b->setAutoDefault(false);
    connect(back_, &QPushButton::clicked, view_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, view_, &QTextBrowser::forward);
    connect(contents_, &QPushButton::clicked, this, [this] { showTopic(kContents); });
    connect(view_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(view_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    relabel();
    resize(760, 620);
}

void HelpWindow::relabel()
{
    ui::CaptionLoader(this, st_);
    setWindowTitle(st_.builtIn(BuiltIn::HelpTitle));
    ui::SetCloseHelpCaptions(this, st_);
}

QString HelpWindow::page() const
{
    const QUrl source = view_->source();
    return source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName();
}

void HelpWindow::showTopic(const QString& topic)
{
    attachTo(QApplication::activeModalWidget());
    const QString dir = st_.helpDir();
    const QString file = QDir(dir).filePath(HelpPageFile(dir, topic));
    if (QFileInfo(file).isFile()) {
        view_->setSearchPaths({dir});
        view_->setSource(QUrl::fromLocalFile(file));
    } else {
        view_->clear();
        view_->setPlainText(st_.builtIn(BuiltIn::HelpMissing).arg(file));
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::reload()
{
    relabel();
    const QString shown = page();
    if (shown.isEmpty())
        return;
    // The same page in the other language's folder; history belongs to the old one.
    const QString topic = QFileInfo(shown).completeBaseName();
    view_->clearHistory();
    const QString dir = st_.helpDir();
    view_->setSearchPaths({dir});
    view_->setSource(QUrl::fromLocalFile(QDir(dir).filePath(HelpPageFile(dir, topic))));
}

void HelpWindow::attachTo(QWidget* owner)
{
    // A window outside the open modal window would be blocked; as the
    // modal window's child it takes input and leaves the modal window open.
    QWidget* wanted = owner ? owner : home_;
    if (parentWidget() == wanted)
        return;
    if (owner)
        owner->installEventFilter(this);
    const QRect placed = geometry();
    const bool wasShown = isVisible();
    moving_ = true;
    setParent(wanted, windowFlags());
    setGeometry(placed);
    if (wasShown)
        show();
    moving_ = false;
}

void HelpWindow::hideEvent(QHideEvent* event)
{
    // Keys go back to the window the user was working in, not to nowhere.
    if (QWidget* owner = parentWidget(); owner && owner->isVisible() && !moving_)
        owner->activateWindow();
    QDialog::hideEvent(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The modal window is closing: the help window goes back home, still open.
    if (watched == parentWidget() && watched != home_ && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        attachTo(QApplication::activeModalWidget() == watched ? nullptr : QApplication::activeModalWidget());
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qtx::app
