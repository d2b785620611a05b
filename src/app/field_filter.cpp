#include "app/field_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace qtx::app {

void EnterMovesOn::moveOn(QWidget* from)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(from, &tab);
}

bool EnterMovesOn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->modifiers() != Qt::NoModifier)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view()->isVisible())
        return false;
    moveOn(w);
    return true;
}

FieldFilter::FieldFilter(QLineEdit* box, Accepts accepts) : QObject(box), box_(box), accepts_(std::move(accepts)) {}

FieldFilter* FieldFilter::install(QLineEdit* box, Accepts accepts)
{
    auto* filter = new FieldFilter(box, std::move(accepts));
    box->installEventFilter(filter);
    // No paste through the context menu either: the field takes typed keys only.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    return filter;
}

bool FieldFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_)
        return false;
    if (event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, box_, [box = box_] { box->selectAll(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        EnterMovesOn::moveOn(box_);
        return true;
    }
    if (key->modifiers() & Qt::ControlModifier) {
        const int k = key->key();
        return k == Qt::Key_C || k == Qt::Key_V || k == Qt::Key_X || k == Qt::Key_Insert;
    }
    if (key->modifiers() & Qt::ShiftModifier && key->key() == Qt::Key_Insert)
        return true; // paste
    const QString text = key->text();
    if (text.isEmpty())
        return false; // navigation and editing keys
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() == 127)
            continue; // control characters such as Backspace pass
        if (c.unicode() > 127 || !accepts_(c))
            return true;
    }
    return false;
}

} // namespace qtx::app
