#pragma once
// Keys typed into a text box: Enter moves to the next field; Ctrl+C, Ctrl+V
// and Ctrl+X and characters above 127 are discarded; only the field's own
// characters are taken; entering the box selects its content.

#include <QObject>

#include <functional>

class QLineEdit;
class QWidget;

namespace qtx::app {

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
    using Accepts = std::function<bool(QChar)>;
    // The filter is owned by the box.
    static FieldFilter* install(QLineEdit* box, Accepts accepts);

    static bool digits(QChar c) { return c >= '0' && c <= '9'; }
    static bool decimal(QChar c) { return digits(c) || c == '.'; }
    static bool printable(QChar c) { return c.unicode() >= 32 && c.unicode() < 127; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FieldFilter(QLineEdit* box, Accepts accepts);
    QLineEdit* box_;
    Accepts accepts_;
};

} // namespace qtx::app
