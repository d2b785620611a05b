#pragma once
// Frm5Tone: edits the 5-tone settings on a working copy of the record, and
// Frm5ToneDefTS, its user-defined tone set. The window shows a FiveToneForm,
// the information codes one at a time, the PTT-ID codes and the 100-entry
// call list, passes every change through the form's rules and hands the
// copy (and the decode time) back only on OK; Cancel and closing leave the
// Codeplug untouched.

#include "forms/five_tone_form.h"
#include "forms/five_tone_special_form.h"

#include <QDialog>
#include <QTableWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qtx::ui {
struct LanguageTexts;
class Prompter;
}

namespace qtx::signalling {

// The user-defined tone set: 16 boxes, digits 0-F, in Hz.
class UserToneEditor : public QDialog {
    Q_OBJECT
public:
    UserToneEditor(UserToneTable& tones, const ui::LanguageTexts& texts, QWidget* parent = nullptr);
    QLineEdit* box(int digit) const { return boxes_[digit]; }
    void commit();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    UserToneTable& tones_;
    std::array<QLineEdit*, 16> boxes_{};
};

class FiveToneEditor : public QDialog {
    Q_OBJECT
public:
    FiveToneEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, ui::Prompter& prompter,
                   QWidget* parent = nullptr);

    // The special-call composer: opened for a target with the grid's current
    // entry (-1 for none) and the own-ID box as it stands, it returns the
    // composed call, or none when the user cancels. Until one is set the
    // three "Special" buttons stay disabled.
    using SpecialComposer = std::function<std::optional<SpecialCall>(SpecialCallTarget target, int currentEntry,
                                                                     const QString& ownId)>;
    void setSpecialComposer(SpecialComposer composer);

    // The OK button's work.
    void commit();

    const FiveToneSettings& working() const { return work_; }
    QLineEdit* ownIdBox() const { return ownId_; }
    QComboBox* standardList() const { return standard_; }
    QComboBox* toneLengthList() const { return toneLength_; }
    QComboBox* decodeTimeList() const { return decodeTime_; }
    QComboBox* pauseCodeList() const { return pauseCode_; }
    QComboBox* pauseTimeList() const { return pauseTime_; }
    QComboBox* infoNumberList() const { return infoNumber_; }
    QComboBox* functionList() const { return function_; }
    QComboBox* responseList() const { return infoResponse_; }
    QLineEdit* infoCodeBox() const { return infoCode_; }
    QLineEdit* infoNameBox() const { return infoName_; }
    QLineEdit* pttIdCodeBox(int i) const { return ptt_[i].code; }
    QComboBox* pttIdStandardList(int i) const { return ptt_[i].standard; }
    QPlainTextEdit* infoBox() const { return info_; }
    QTableWidget* callGrid() const { return grid_; }
    QPushButton* specialButton(int i) const { return special_[i]; }
    QPushButton* editUserTonesButton() const { return editTones_; }

    // Column editors of the call list report here.
    void commitCell(int row, int column, const QVariant& value);
    void chooseCellStandard(int row, int standard);
    QString standardText(int standard) const;
    QString option(int id) const;
    const ui::LanguageTexts& texts() const { return texts_; }

    // The list rows of a standard list holding `stored`, its entry selected.
    void fillStandards(QComboBox* combo, int stored) const;

private:
    struct PttIdBox {
        QComboBox* standard = nullptr;
        QComboBox* toneLength = nullptr;
        QLineEdit* code = nullptr;
    };

    void build();
    void showForm();
    void showInfoCode();
    void showRow(int row);
    void showStandardInfo(int standard);
    void readForm();
    bool leaveOwnId(bool quiet);
    void onFunctionChanged();
    void onInfoNumberChanged(int number);
    void onStandardChosen(QComboBox* list, QComboBox* toneLength);
    void onCellDoubleClicked(int row, int column);
    void editUserTones();
    void composeSpecial(SpecialCallTarget target);
    void commitGridEdit();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Codeplug& cp_;
    const ui::LanguageTexts& texts_;
    ui::Prompter& prompter_;
    FiveToneSettings work_;
    FiveToneForm form_;
    SpecialComposer composer_;
    bool loading_ = true;

    QLineEdit* ownId_;
    QComboBox* standard_;
    QComboBox* decodeResponse_;
    QComboBox* toneLength_;
    QComboBox* preSend_;
    QComboBox* autoReset_;
    QComboBox* postSend_;
    QComboBox* ringTime_;
    QComboBox* firstDigitDelay_;
    QComboBox* pauseCode_;
    QComboBox* pauseTime_;
    QComboBox* decodeTime_;
    QComboBox* firstCodeDelay_;
    QCheckBox* sideTone_;
    QComboBox* infoNumber_;
    QComboBox* function_;
    QComboBox* infoResponse_;
    QLineEdit* infoCode_;
    QLineEdit* infoName_;
    std::array<PttIdBox, 2> ptt_;
    QPlainTextEdit* info_;
    QPushButton* editTones_;
    QTableWidget* grid_;
    std::array<QPushButton*, 3> special_{}; // call list, PTT-ID begin, PTT-ID end
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace qtx::signalling
