#pragma once
// FrmSpecial: composes a 5-tone data, ANI or PTT-ID call for the 5-tone
// editor, for a call-list entry or for one of its PTT-ID code boxes. OK
// leaves the composed call in result() for the caller to store (a list
// entry through StoreSpecialCall, a PTT-ID code into its box); Cancel, Esc
// and closing leave none.

#include "forms/five_tone_special_form.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qtx::ui {
struct LanguageTexts;
class Prompter;
} // namespace qtx::ui

namespace qtx::signalling {

class FiveToneSpecialDialog : public QDialog {
    Q_OBJECT
public:
    // currentEntry: the 5-tone grid's current entry (-1 for none), the list
    // target's first choice. ownId: the 5-tone editor's own-ID box as it stands.
    FiveToneSpecialDialog(SpecialCallTarget target, int currentEntry, const QString& ownId,
                      const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent = nullptr);

    // The OK button's work.
    void commit();

    // After OK: what was composed and where it went; none otherwise.
    const std::optional<SpecialCall>& result() const { return result_; }

    QComboBox* entryList() const { return entry_; }
    QLabel* targetLabel() const { return targetLabel_; }
    QComboBox* typeList() const { return type_; }
    QGroupBox* dataFrame() const { return dataFrame_; }
    QGroupBox* aniFrame() const { return aniFrame_; }
    QLineEdit* dataCalledBox() const { return dataCalled_; }
    QLineEdit* messageBox() const { return message_; }
    QLineEdit* aniCalledBox() const { return aniCalled_; }
    QComboBox* separatorList() const { return separator_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showFrames();
    void leaveCalledBox(QLineEdit* box);
    QString option(int id) const;

    SpecialCallTarget target_;
    QString ownId_;
    const ui::LanguageTexts& texts_;
    ui::Prompter& prompter_;
    std::optional<SpecialCall> result_;

    QComboBox* entry_ = nullptr;
    QLabel* entryLabel_ = nullptr;
    QLabel* targetLabel_ = nullptr;
    QComboBox* type_ = nullptr;
    QGroupBox* dataFrame_ = nullptr;
    QGroupBox* aniFrame_ = nullptr;
    QLineEdit* dataCalled_ = nullptr;
    QLineEdit* message_ = nullptr;
    QLineEdit* aniCalled_ = nullptr;
    QComboBox* separator_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace qtx::signalling
