#include "ui/help_topic.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace qtx::ui {

namespace {
constexpr const char* kTopic = "qtxHelpTopic";
}

void SetHelpTopic(QWidget* window, const QString& topic) { window->setProperty(kTopic, topic); }

QString HelpTopicOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString topic = w->property(kTopic).toString();
        if (!topic.isEmpty())
            return topic;
    }
    return {};
}

HelpKey::HelpKey(QObject* parent) : QObject(parent) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::HelpContents) || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (type == QEvent::ShortcutOverride) {
        event->accept(); // no shortcut of the window takes F1 from us
        return true;
    }
    emit requested(HelpTopicOf(widget));
    return true;
}

} // namespace qtx::ui
