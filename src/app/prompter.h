#pragma once
// Questions a command asks the user go through a Prompter, so that every
// command sequence can run in tests with scripted answers.

#include <QString>

class QWidget;

namespace qtx::app {

enum class Buttons { Ok, OkCancel, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const QString& text, Buttons buttons, Icon icon) = 0;
    void tell(const QString& text, Icon icon = Icon::Information) { ask(text, Buttons::Ok, icon); }
    // A path, or empty when the user cancelled.
    virtual QString openFileName(const QString& filter, const QString& directory) = 0;
    virtual QString saveFileName(const QString& filter, const QString& preset) = 0;
};

// Message boxes and file dialogs over a parent window.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent) : parent_(parent) {}
    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    QString openFileName(const QString& filter, const QString& directory) override;
    QString saveFileName(const QString& filter, const QString& preset) override;
    void setParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

} // namespace qtx::app
