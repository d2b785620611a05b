#pragma once
// Questions a command asks the user go through a Prompter, so that every
// command sequence can run in tests with scripted answers.

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace qtx::ui {

enum class Buttons { Ok, OkCancel, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry };

// What a file dialog offers: the name filters ("Data files (*.dat)", several
// separated by ";;") and the suffix a typed name without one receives.
struct FileKind {
    QString filters;
    QString defaultSuffix; // without the dot: "dat", "cb", "pdf"
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const QString& text, Buttons buttons, Icon icon) = 0;
    void tell(const QString& text, Icon icon = Icon::Information) { ask(text, Buttons::Ok, icon); }
    // A path, or empty when the user cancelled.
    virtual QString openFileName(const FileKind& kind, const QString& directory) = 0;
    virtual QString saveFileName(const FileKind& kind, const QString& preset) = 0;
    // The radio's password prompt, prefilled with `current`; none when cancelled.
    virtual std::optional<std::string> askRadioPassword(const std::string& current) = 0;
};

// Message boxes and file dialogs over a parent window; the password prompt
// is the caller's window.
class DialogPrompter : public Prompter {
public:
    using PasswordWindow = std::function<std::optional<std::string>(const std::string& current, QWidget* parent)>;

    DialogPrompter(PasswordWindow password, QWidget* parent) : password_(std::move(password)), parent_(parent) {}
    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    QString openFileName(const FileKind& kind, const QString& directory) override;
    QString saveFileName(const FileKind& kind, const QString& preset) override;
    std::optional<std::string> askRadioPassword(const std::string& current) override;
    void setParent(QWidget* parent) { parent_ = parent; }

private:
    PasswordWindow password_;
    QWidget* parent_;
};

} // namespace qtx::ui
