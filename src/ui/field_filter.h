#pragma once
// Keys typed into a text box: Enter moves to the next field; Ctrl+C, Ctrl+V
// and Ctrl+X and characters above 127 are discarded; only the characters
// the box's key rule takes reach it, as the rule maps them; entering the
// box selects its content. Input-method commits go through the same rule,
// and nothing is pasted or dropped into the box.

#include "forms/key_rules.h"

#include <QObject>
#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

namespace qtx::ui {

// Enter moves to the next field in lists and check boxes as in text boxes
// (an open drop-down list keeps Enter for picking its entry).
class EnterMovesOn : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // As Tab: the next field in tab order takes the focus.
    static void moveOn(QWidget* from);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class FieldFilter : public QObject {
    Q_OBJECT
public:
    // The filter is owned by the box.
    static FieldFilter* install(QLineEdit* box, KeyRule rule);

    // The text as the box takes it, or none when the rule refuses a
    // character of it; control characters pass unchanged.
    static std::optional<QString> apply(KeyRule rule, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FieldFilter(QLineEdit* box, KeyRule rule);
    QLineEdit* box_;
    KeyRule rule_;
    bool resending_ = false;
};

} // namespace qtx::ui
