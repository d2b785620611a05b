#pragma once
// Context help: every window carries the name of its help page as it
// carries its caption IDs, and F1 anywhere asks for the page of the window
// it was pressed in.

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace qtx::ui {

// `topic` is the page's file name without ".html", the same in every language.
void SetHelpTopic(QWidget* window, const QString& topic);
// The topic of the window `widget` is in; empty when that window has none
// (a message box, a file dialog).
QString HelpTopicOf(const QWidget* widget);

// Installed once on the application: F1 (the platform's help key) in any
// window of the program emits `requested` with that window's topic. The key
// is taken before the focused field sees it.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(QObject* parent = nullptr);

signals:
    void requested(const QString& topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> lastWithTopic_;
};

} // namespace qtx::ui
