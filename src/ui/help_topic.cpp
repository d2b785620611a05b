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
    return widget ? widget->window()->property(kTopic).toString() : QString();
}

HelpKey::HelpKey(QObject* parent) : QObject(parent) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowActivate && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && !HelpTopicOf(window).isEmpty())
            lastWithTopic_ = window;
        return false;
    }
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
    QString topic = HelpTopicOf(widget);
    if (topic.isEmpty() && lastWithTopic_)
        topic = HelpTopicOf(lastWithTopic_);
    emit requested(topic);
    return true;
}

} // namespace qtx::ui
