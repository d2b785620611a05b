#include "ui/captions.h"

#include "ui/texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

namespace qtx::ui {

namespace {

constexpr const char* kCaption = "qtxText";
constexpr const char* kTooltip = "qtxTip";
constexpr const char* kTabs = "qtxTabs";

int idOf(const QObject* o, const char* name) { return o->property(name).toInt(); }

// Menu captions keep their "&" marks; a tooltip shows the plain words.
QString plain(QString text)
{
    text.remove(QRegularExpression("\\(&.\\)"));
    text.remove('&');
    if (text.endsWith("..."))
        text.chop(3);
    return text.trimmed();
}

void relabel(QObject* o, const LanguageTexts& st)
{
    const int caption = idOf(o, kCaption);
    const int tooltip = idOf(o, kTooltip);
    if (auto* action = qobject_cast<QAction*>(o)) {
        if (caption > 0)
            action->setText(st.text(caption));
        if (tooltip > 0)
            action->setToolTip(plain(st.text(tooltip)));
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(o)) {
        if (caption > 0)
            menu->setTitle(st.text(caption));
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(o)) {
        const QList<int> ids = o->property(kTabs).value<QList<int>>();
        for (int i = 0; i < ids.size() && i < tabs->count(); ++i)
            if (ids[i] > 0)
                tabs->setTabText(i, st.text(ids[i]));
    }
    if (caption > 0) {
        if (auto* label = qobject_cast<QLabel*>(o))
            label->setText(st.text(caption));
        else if (auto* button = qobject_cast<QAbstractButton*>(o))
            button->setText(st.text(caption));
        else if (auto* group = qobject_cast<QGroupBox*>(o))
            group->setTitle(st.text(caption));
    }
    if (tooltip > 0)
        if (auto* w = qobject_cast<QWidget*>(o))
            w->setToolTip(plain(st.text(tooltip)));
}

} // namespace

void SetTextIds(QObject* object, int captionId, int tooltipId)
{
    object->setProperty(kCaption, captionId);
    object->setProperty(kTooltip, tooltipId);
}

void SetTabTextIds(QTabWidget* tabs, const QList<int>& captionIds)
{
    tabs->setProperty(kTabs, QVariant::fromValue(captionIds));
}

void CaptionLoader(QWidget* window, const LanguageTexts& st)
{
    if (const int title = idOf(window, kCaption); title > 0)
        window->setWindowTitle(st.text(title));
    const QString face = st.text(20);
    bool sizeOk = false;
    const int size = st.text(21).toInt(&sizeOk);
    QFont font = window->font();
    if (!face.isEmpty())
        font.setFamily(face);
    if (sizeOk && size > 0)
        font.setPointSize(size);
    window->setFont(font);
    for (QObject* o : window->findChildren<QObject*>())
        relabel(o, st);
}

void SetOkCancelCaptions(QWidget* window, const LanguageTexts& st)
{
    for (auto* box : window->findChildren<QDialogButtonBox*>()) {
        if (auto* ok = box->button(QDialogButtonBox::Ok))
            ok->setText(st.text(101));
        if (auto* cancel = box->button(QDialogButtonBox::Cancel))
            cancel->setText(st.text(102));
    }
}

void SetCloseHelpCaptions(QWidget* window, const LanguageTexts& st)
{
    if (auto* close = window->findChild<QAbstractButton*>("CommandClose"))
        close->setText(st.builtIn(BuiltIn::CloseCaption));
    if (auto* help = window->findChild<QAbstractButton*>("CommandHelp"))
        help->setText(st.builtIn(BuiltIn::HelpCaption));
}

} // namespace qtx::ui
