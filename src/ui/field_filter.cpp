#include "ui/field_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace qtx::ui {

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

FieldFilter::FieldFilter(QLineEdit* box, KeyRule rule) : QObject(box), box_(box), rule_(rule) {}

FieldFilter* FieldFilter::install(QLineEdit* box, KeyRule rule)
{
    auto* filter = new FieldFilter(box, rule);
    box->installEventFilter(filter);
    // No paste through the context menu either: the field takes typed keys only.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    return filter;
}

std::optional<QString> FieldFilter::apply(KeyRule rule, const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() == 127) {
            out += c; // control characters such as Backspace pass
            continue;
        }
        const char mapped = c.unicode() > 127 ? 0 : rule(static_cast<char>(c.unicode()));
        if (mapped == 0)
            return std::nullopt;
        out += QChar(mapped);
    }
    return out;
}

bool FieldFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_ || resending_)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        QTimer::singleShot(0, box_, [box = box_] { box->selectAll(); });
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on X11.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::InputMethod: {
        // An input method commits text without key events; the commit goes
        // through the rule, and a refused commit only ends the composition.
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (im->commitString().isEmpty())
            return false;
        const std::optional<QString> taken = apply(rule_, im->commitString());
        if (taken && *taken == im->commitString())
            return false;
        QInputMethodEvent replacement;
        replacement.setCommitString(taken.value_or(QString()));
        resending_ = true;
        QCoreApplication::sendEvent(box_, &replacement);
        resending_ = false;
        return true;
    }
    case QEvent::KeyPress: break;
    default: return false;
    }
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
    const std::optional<QString> taken = apply(rule_, text);
    if (!taken)
        return true;
    if (*taken == text)
        return false;
    // The key again with the rule's characters (a-f typed as A-F and the like).
    QKeyEvent mapped(QEvent::KeyPress, key->key(), key->modifiers(), *taken, key->isAutoRepeat(), key->count());
    resending_ = true;
    QCoreApplication::sendEvent(box_, &mapped);
    resending_ = false;
    return true;
}

} // namespace qtx::ui
