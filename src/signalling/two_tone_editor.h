#pragma once
// Frm2Tone: edits the 2-tone settings on a working copy of the record. The
// dialog shows a TwoToneForm and the call list, passes every box and cell
// through the form's rules and hands the copy back only on OK; Cancel and
// closing leave the Codeplug untouched.

#include "forms/two_tone_form.h"

#include <QDialog>
#include <QPointer>
#include <QTableWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace qtx::ui {
struct LanguageTexts;
}

namespace qtx::signalling {

// The call list: tracks its open cell editor so that scrolling, Enter and
// OK can commit it.
class CallGrid : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    // Commits and closes the open cell editor, if any.
    void commitEdit();
    void setEditor(QWidget* editor) { editor_ = editor; }
    QWidget* editor() const { return editor_; }

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> editor_;
};

class TwoToneEditor : public QDialog {
    Q_OBJECT
public:
    TwoToneEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    // The OK button's work.
    void commit();

    const TwoToneSettings& working() const { return work_; }
    QComboBox* formatList() const { return format_; }
    QLineEdit* toneBox(int i) const { return tones_[i]; }
    CallGrid* callGrid() const { return grid_; }
    QTabWidget* tabs() const { return tabs_; }

private:
    void build();
    void showForm();
    void showEntry(int row, const CallCells& cells);
    void enableToneBoxes();
    void leaveToneBox(int i);
    void onCellCommitted(QTableWidgetItem* item);
    void onCurrentCellChanged(int row, int column);
    void onEnter();
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString option(int id) const;

    Codeplug& cp_;
    const ui::LanguageTexts& texts_;
    TwoToneSettings work_;
    TwoToneForm form_;
    bool loading_ = true;

    QTabWidget* tabs_;
    QComboBox* format_;
    QComboBox* decode_;
    std::array<QLineEdit*, kTwoToneBoxCount> tones_;
    CallGrid* grid_;
    std::array<QComboBox*, 3> durations_;
    QComboBox* delay_;
    QComboBox* timer_;
    QCheckBox* sideTone_;
};

} // namespace qtx::signalling
