#pragma once
// FrmDTMF: the radio-wide DTMF settings. The window shows a DtmfForm, feeds
// the own-ID leave and the separator pick through the form's rules, and
// hands the form to the store on OK. It edits the record it is given, in the
// language it is given, and asks through the given Prompter.

#include "forms/dtmf_form.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace qtx::ui {
struct LanguageTexts;
class Prompter;
} // namespace qtx::ui

namespace qtx::signalling {

class DtmfEditor : public QDialog {
    Q_OBJECT
public:
    // Corrects what the record holds out of range before showing it.
    DtmfEditor(DtmfSettings& dtmf, const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent = nullptr);

    const DtmfForm& form() const { return form_; }
    // The code field last entered (0-19), where a composed call goes.
    int currentCodeField() const { return curDtmfEditId_; }
    // The OK button's work; true when the dialog may close.
    bool commit();
    // The composer's OK.
    void putComposedCall(DtmfCallType type, const QString& called);

    QLineEdit* codeBox(int field) const { return codes_[static_cast<size_t>(field)]; }
    QLineEdit* ownIdBox() const { return ownId_; }
    QComboBox* separatorList() const { return separator_; }
    QComboBox* groupCodeList() const { return groupCode_; }
    QPushButton* specialButton() const { return special_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showForm(); // form -> widgets, without reactions
    void leaveOwnId();
    void openSpecial();

    DtmfSettings& dtmf_;
    const ui::LanguageTexts& texts_;
    ui::Prompter& prompter_;
    DtmfForm form_;
    int curDtmfEditId_ = 0;
    bool showing_ = false;

    std::array<QLineEdit*, kDtmfCodeFields> codes_{};
    QLineEdit* ownId_ = nullptr;
    QComboBox* ani_ = nullptr;
    QComboBox* sendTime_ = nullptr;
    QComboBox* separator_ = nullptr;
    QComboBox* groupCode_ = nullptr;
    QComboBox* decodeResponse_ = nullptr;
    QComboBox* firstDigitDelay_ = nullptr;
    QComboBox* preSendDelay_ = nullptr;
    QComboBox* resetTime_ = nullptr;
    QComboBox* postSendDelay_ = nullptr;
    QComboBox* pauseTime_ = nullptr;
    QCheckBox* sideTone_ = nullptr;
    QPushButton* special_ = nullptr;
};

// FrmDTMFSpecial: picks a call type and the called party's code; the DTMF
// window composes the call from them.
class DtmfSpecialDialog : public QDialog {
    Q_OBJECT
public:
    explicit DtmfSpecialDialog(const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    DtmfCallType callType() const;
    QString calledCode() const;

    QComboBox* typeList() const { return type_; }
    QLineEdit* calledBox() const { return called_; }

private:
    QComboBox* type_;
    QWidget* calledFrame_;
    QLineEdit* called_;
};

} // namespace qtx::signalling
