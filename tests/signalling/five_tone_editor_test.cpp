// The 5-tone editor window: lists, boxes and call-list cells go through the
// form's rules into a working copy that reaches the Codeplug only on OK.

#include "signalling/five_tone_editor.h"
#include "files/defaults.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "ui/texts.h"

#include "support/scripted_prompter.h"
#include "support/source_texts.h"
#include "support/temp_dir.h"
#include "support/widget_input.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::signalling::FiveToneEditor;
using qtx::signalling::UserToneEditor;

namespace {

class FiveToneEditorTest : public ::testing::Test {
protected:
    qtx::testing::TempDir programDir;
    qtx::testing::ScriptedPrompter prompter;
    Workspace ws;
    Codeplug& cp = ws.live;
    ui::LanguageTexts texts;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
        NewCodeplug(ws, programDir.path().string(), NewOptions{});
        FiveToneSettings& s = cp.body.Settings.FiveTone;
        s.OwnCode.setPadded("12345");
        s.OwnIdLength = 5;
        s.PttIdBegin.Code.setPadded("E612345");
        s.PttIdBegin.CodeLength = 7;
        s.CallList[0].Empty = 0;
        s.CallList[0].Code.setPadded("1234512345"); // ANI with the own ID
        s.CallList[0].CodeLength = 10;
        s.CallList[1].Empty = 0;
        s.CallList[1].Code.setPadded("777");
        s.CallList[1].CodeLength = 3;
        s.CallList[1].Standard = 14;
    }

    static void show(QDialog& editor) { qtx::testing::ShowActive(editor); }

    static void type(const QString& keys) { qtx::testing::TypeKeys(keys); }

    static void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

} // namespace

// The wiring: a chosen standard sets its tone length and information, the
// pause code enables the pause time, an own-ID change keeps what is shown,
// and OK stores the copy, the decode time and repairs the channels.
TEST_F(FiveToneEditorTest, FieldsReactAndOkStores)
{
    FiveToneEditor editor(cp, texts, prompter);
    show(editor);
    EXPECT_EQ(editor.windowTitle(), texts.option("60052"));
    EXPECT_FALSE(editor.specialButton(0)->isEnabled());
    EXPECT_EQ(editor.callGrid()->item(0, kColumnType)->text(), "ANI");
    EXPECT_EQ(editor.callGrid()->item(1, kColumnStandard)->text(), "EIA");

    QComboBox* standard = editor.standardList();
    ASSERT_EQ(standard->count(), kFiveToneListedStandards);
    standard->setCurrentIndex(9);
    emit standard->activated(9);
    EXPECT_EQ(editor.toneLengthList()->currentText(), "40");
    EXPECT_TRUE(editor.infoBox()->toPlainText().startsWith("EEA\nTone Frequency(Hz)\n0 1981"));

    EXPECT_FALSE(editor.pauseTimeList()->isEnabled());
    editor.pauseCodeList()->setCurrentIndex(2);
    EXPECT_TRUE(editor.pauseTimeList()->isEnabled());

    // Edits made before the own ID changes survive it.
    editor.pttIdCodeBox(1)->setText("E6SelfID");
    editor.infoNumberList()->setCurrentIndex(2);
    editor.functionList()->setCurrentIndex(1);
    EXPECT_EQ(editor.responseList()->count(), 2);
    editor.infoCodeBox()->setText("321");
    editor.decodeTimeList()->setCurrentIndex(150);
    focus(editor.ownIdBox());
    editor.ownIdBox()->setText("54321");
    focus(editor.pttIdCodeBox(0));
    EXPECT_EQ(editor.pttIdCodeBox(0)->text(), "E654321");
    EXPECT_EQ(editor.pttIdCodeBox(1)->text(), "E654321");
    EXPECT_EQ(editor.infoNumberList()->currentIndex(), 2);
    EXPECT_EQ(editor.infoCodeBox()->text(), "321");
    EXPECT_EQ(editor.toneLengthList()->currentText(), "40");
    EXPECT_EQ(cp.body.Settings.FiveTone.OwnCode.trimmed(), "12345");

    ChannelRecord ch = BlankChannel(1);
    ch.InUse = 1;
    ch.OptionalSignal = 3;
    ch.FiveToneCall = 50;
    cp.channels[cp.body.ChannelCount++] = ch;
    editor.commit();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    const FiveToneSettings& s = cp.body.Settings.FiveTone;
    EXPECT_EQ(s.OwnCode.trimmed(), "54321");
    EXPECT_EQ(s.Standard, 9);
    EXPECT_EQ(s.ToneLength, 40);
    EXPECT_EQ(s.PauseCode, 12);
    EXPECT_EQ(s.InfoCodes[2].DecodeFunction, 1);
    EXPECT_EQ(s.InfoCodes[2].Code.trimmed(), "321");
    EXPECT_EQ(s.CallList[0].Code.trimmed(), "12345E4321");
    EXPECT_EQ(s.CallList[1].Standard, 14);
    EXPECT_EQ(cp.body.FiveToneCodeFormat, 150);
    EXPECT_EQ(cp.channels[cp.body.ChannelCount - 1].FiveToneCall, 0);
}

TEST_F(FiveToneEditorTest, CancelAfterDecodeTimeAndOwnIdChangesNothing)
{
    const CodeplugBody before = cp.body;
    FiveToneEditor editor(cp, texts, prompter);
    show(editor);
    editor.decodeTimeList()->setCurrentIndex(100);
    focus(editor.ownIdBox());
    editor.ownIdBox()->setText("99999");
    focus(editor.standardList());
    EXPECT_EQ(editor.working().OwnCode.trimmed(), "99999");
    editor.reject();
    EXPECT_TRUE(cp.body == before);

    // A short own ID is refused when left, and by OK.
    FiveToneEditor again(cp, texts, prompter);
    show(again);
    focus(again.ownIdBox());
    again.ownIdBox()->setText("1");
    focus(again.standardList());
    again.commit();
    EXPECT_EQ(prompter.asked, (QStringList{texts.message("900C"), texts.message("900C")}));
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(cp.body == before);
}

// Cells: keys of the code editor, locked special calls, the reset question.
TEST_F(FiveToneEditorTest, CallListCells)
{
    FiveToneEditor editor(cp, texts, prompter);
    show(editor);
    QTableWidget* grid = editor.callGrid();
    grid->setFocus();
    grid->setCurrentCell(5, kColumnCode);
    QCoreApplication::processEvents();
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(box, nullptr);
    type("aG1");
    EXPECT_EQ(box->text(), "A1");
    type(QString(40, '2'));
    EXPECT_EQ(box->text().size(), kCallCodeLength);
    grid->setCurrentCell(5, kColumnName);
    EXPECT_EQ(editor.working().CallList[5].CodeLength, 40);
    EXPECT_EQ(editor.working().CallList[5].Empty, 0);

    // Crossing the ANI row's locked code cell leaves its code alone.
    grid->setCurrentCell(0, kColumnCode);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    grid->setCurrentCell(0, kColumnName);
    EXPECT_EQ(editor.working().CallList[0].Code.trimmed(), "1234512345");

    // Double-clicking it asks; Cancel keeps, OK empties the code.
    prompter.answers = {ui::Answer::Cancel, ui::Answer::Ok};
    emit grid->cellDoubleClicked(0, kColumnCode);
    EXPECT_EQ(grid->item(0, kColumnType)->text(), "ANI");
    emit grid->cellDoubleClicked(0, kColumnCode);
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(prompter.asked[0], "Reset Special Call of this channel,OK or Not?");
    EXPECT_EQ(grid->item(0, kColumnType)->text(), "");
    EXPECT_EQ(editor.working().CallList[0].CodeLength, 0);
    EXPECT_EQ(editor.working().CallList[0].Empty, 0);
    emit grid->cellDoubleClicked(1, kColumnCode); // a plain call asks nothing
    EXPECT_EQ(prompter.asked.size(), 2);

    // OK commits the cell being edited.
    grid->setCurrentCell(1, kColumnName);
    QCoreApplication::processEvents();
    type("car\\~1");
    editor.commit();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(cp.body.Settings.FiveTone.CallList[1].Name.trimmed(), "car1");
    EXPECT_EQ(cp.body.Settings.FiveTone.CallList[5].CodeLength, 40);
}

// A composer plugged in wakes the Special buttons; its call lands where it
// was aimed.
TEST_F(FiveToneEditorTest, SpecialButtonsHandTheComposedCallOn)
{
    FiveToneEditor editor(cp, texts, prompter);
    show(editor);
    std::vector<std::pair<SpecialCallTarget, int>> asked;
    editor.setSpecialComposer([&](SpecialCallTarget target, int entry, const QString& own) -> std::optional<SpecialCall> {
        asked.emplace_back(target, entry);
        EXPECT_EQ(own, "12345");
        if (target == SpecialCallTarget::List)
            return SpecialCall{target, 7, "67890BSelfID"};
        if (target == SpecialCallTarget::PttIdEnd)
            return SpecialCall{target, 0, "E6SelfID"};
        return std::nullopt; // cancelled
    });
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(editor.specialButton(i)->isEnabled());
    editor.callGrid()->setCurrentCell(3, kColumnType);
    editor.specialButton(0)->click();
    EXPECT_EQ(editor.callGrid()->item(7, kColumnType)->text(), "ANI");
    EXPECT_EQ(editor.callGrid()->item(7, kColumnCode)->text(), "67890");
    EXPECT_EQ(editor.working().CallList[7].Empty, 0);
    editor.specialButton(2)->click();
    EXPECT_EQ(editor.pttIdCodeBox(1)->text(), "E6SelfID");
    editor.specialButton(1)->click();
    EXPECT_EQ(editor.pttIdCodeBox(0)->text(), "E612345");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0], std::make_pair(SpecialCallTarget::List, 3));
    EXPECT_EQ(asked[2].first, SpecialCallTarget::PttIdBegin);
}

// An incomplete own ID is reported before the composer opens, once, and
// the composer is not asked.
TEST_F(FiveToneEditorTest, SpecialWaitsForACompleteOwnId)
{
    FiveToneEditor editor(cp, texts, prompter);
    show(editor);
    int composed = 0;
    editor.setSpecialComposer([&](SpecialCallTarget, int, const QString&) -> std::optional<SpecialCall> {
        ++composed;
        return std::nullopt;
    });
    focus(editor.ownIdBox());
    editor.ownIdBox()->setText("12");
    editor.specialButton(0)->setFocus();
    editor.specialButton(0)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(composed, 0);
    EXPECT_EQ(prompter.asked, QStringList{texts.message("900C")});
    EXPECT_TRUE(editor.ownIdBox()->hasFocus());
}

TEST_F(FiveToneEditorTest, UserToneSetClampsEveryBoxOnOk)
{
    UserToneTable tones = cp.body.Settings.FiveTone.UserToneTable;
    UserToneEditor dialog(tones, texts);
    show(dialog);
    EXPECT_EQ(dialog.windowTitle(), texts.text(3103));
    EXPECT_EQ(dialog.box(0)->text(), "2400.0");
    focus(dialog.box(1));
    dialog.box(1)->setText("100");
    focus(dialog.box(2));
    EXPECT_EQ(dialog.box(1)->text(), "288.5");
    dialog.box(2)->setText("99999");
    dialog.box(3)->setText("1000.5");
    dialog.commit();
    EXPECT_EQ(tones[1], 2885);
    EXPECT_EQ(tones[2], 31060);
    EXPECT_EQ(tones[3], 10005);
    EXPECT_EQ(tones[0], 24000);
}
