#pragma once
// FrmCHEdit: edits one channel. The dialog shows a ChannelForm, passes every
// change through the editor's reaction rules and hands the form to the OK
// sequence; it decides nothing itself. It edits the Codeplug it is given,
// in the language it is given, and asks through the given Prompter.

#include "forms/channel_form.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qtx::ui {
struct LanguageTexts;
class Prompter;
} // namespace qtx::ui

namespace qtx::editors {

class ChannelEditor : public QDialog {
    Q_OBJECT
public:
    ChannelEditor(Codeplug& codeplug, const SignalViewSwitches& switches, const ui::LanguageTexts& texts,
                  ui::Prompter& prompter, int editRow, QWidget* parent = nullptr);

    const ChannelForm& form() const { return form_; }
    // The OK button's work; true when the dialog may close.
    bool commit();

    // Widgets, for tests and keyboard order.
    QLineEdit* receiveBox() const { return receive_; }
    QLineEdit* transmitBox() const { return transmit_; }
    QLineEdit* nameBox(int i) const { return name_[i]; }
    QLineEdit* pttIdCodeBox() const { return pttIdCode_; }
    QComboBox* signalList() const { return signal_; }
    QComboBox* codeList() const { return code_; }
    QComboBox* squelchList() const { return squelch_; }
    QComboBox* rxToneTypeList() const { return rxType_; }
    QComboBox* txToneTypeList() const { return txType_; }
    QComboBox* dtmfPttIdList() const { return dtmfPttId_; }
    QComboBox* fiveTonePttIdList() const { return fiveTonePttId_; }
    QCheckBox* reverseBox() const { return reverse_; }
    QCheckBox* talkAroundBox() const { return talkAround_; }

private:
    void build();
    void showForm(); // form -> widgets
    void showTone(QComboBox* type, QComboBox* list, QCheckBox* inverted, const ToneForm& tone);
    void readNames();
    void enableFields();
    void onNameTyped(int box);

    Codeplug& cp_;
    const SignalViewSwitches switches_;
    const ui::LanguageTexts& texts_;
    ui::Prompter& prompter_;
    int editRow_;
    ChannelForm form_;
    bool showing_ = false;

    QLineEdit* receive_;
    QLineEdit* transmit_;
    std::array<QLineEdit*, kChannelNameBoxes> name_;
    QComboBox* step_;
    QComboBox* bandwidth_;
    QComboBox* power_;
    QComboBox* signal_;
    QComboBox* code_;
    QComboBox* rxType_;
    QComboBox* rxTone_;
    QCheckBox* rxInverted_;
    QComboBox* txType_;
    QComboBox* txTone_;
    QCheckBox* txInverted_;
    QComboBox* scrambler_;
    QComboBox* dtmfPttId_;
    QComboBox* fiveTonePttId_;
    QLabel* dtmfPttIdLabel_;
    QLabel* fiveTonePttIdLabel_;
    QComboBox* squelch_;
    QComboBox* busyLock_;
    QCheckBox* txInhibit_;
    QCheckBox* reverse_;
    QCheckBox* talkAround_;
    QCheckBox* compander_;
    QCheckBox* scanSkip_;
    QCheckBox* pttIdDecode_;
    QLineEdit* pttIdCode_;
    QList<QWidget*> others_; // every field but the receive frequency
};

} // namespace qtx::editors
