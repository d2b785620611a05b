#pragma once
// Questions a command asks the user go through a Prompter, so that every
// command sequence can run in tests with scripted answers.

#include <QString>

#include <optional>
#include <string>

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
    // The radio's password prompt, prefilled with `current`; none when cancelled.
    virtual std::optional<std::string> askRadioPassword(const std::string& current) = 0;
};

struct AppState;

// Message boxes and file dialogs over a parent window.
class DialogPrompter : public Prompter {
public:
    DialogPrompter(AppState& state, QWidget* parent) : state_(state), parent_(parent) {}
    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    QString openFileName(const QString& filter, const QString& directory) override;
    QString saveFileName(const QString& filter, const QString& preset) override;
    std::optional<std::string> askRadioPassword(const std::string& current) override;
    void setParent(QWidget* parent) { parent_ = parent; }

private:
    AppState& state_;
    QWidget* parent_;
};

} // namespace qtx::app
