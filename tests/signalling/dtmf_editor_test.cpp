// The DTMF window and its composer: the widgets feed the form's rules and
// OK hands the form to the store.

#include "signalling/dtmf_editor.h"
#include "ui/texts.h"

#include "support/scripted_prompter.h"
#include "support/source_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::signalling::DtmfEditor;
using qtx::signalling::DtmfSpecialDialog;
using qtx::testing::UseEnglishTexts;

namespace {

ui::LanguageTexts EnglishTexts()
{
    ui::LanguageTexts texts;
    UseEnglishTexts(texts);
    EXPECT_FALSE(texts.text(3001).isEmpty());
    return texts;
}

void Focus(QWidget* w)
{
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

} // namespace

TEST(DtmfEditorWindow, EditsComposesAndStoresThroughTheFormRules)
{
    const ui::LanguageTexts texts = EnglishTexts();
    qtx::testing::ScriptedPrompter prompter;
    DtmfSettings d;
    d.OwnId.setPadded("123");
    d.Codes[0].Code.setPadded("456E123");
    d.Codes[0].Length = 7;
    d.GroupCode = 255;
    d.KillCode.Code.setPadded("12");
    d.KillCode.Length = 2;
    d.StunCode = d.KillCode;

    DtmfEditor editor(d, texts, prompter);
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(editor.windowTitle(), "DTMF");
    EXPECT_EQ(editor.codeBox(0)->text(), "456*123");
    EXPECT_EQ(editor.groupCodeList()->currentIndex(), 0); // Off
    EXPECT_EQ(editor.currentCodeField(), 0);
    EXPECT_TRUE(editor.specialButton()->isEnabled());

    // Picking "#" moves the composed call in M1.
    Focus(editor.separatorList());
    QTest::keyClick(editor.separatorList(), Qt::Key_Down);
    EXPECT_EQ(editor.separatorList()->currentText(), "#");
    EXPECT_EQ(editor.codeBox(0)->text(), "456#123");

    // Leaving the own-ID box pads it and moves M1 along.
    Focus(editor.ownIdBox());
    editor.ownIdBox()->selectAll();
    QTest::keyClicks(editor.ownIdBox(), "7x");
    Focus(editor.codeBox(kDtmfPttIdBeginField));
    EXPECT_EQ(editor.ownIdBox()->text(), "007");
    EXPECT_EQ(editor.codeBox(0)->text(), "456#007");
    EXPECT_EQ(editor.currentCodeField(), kDtmfPttIdBeginField);
    editor.putComposedCall(DtmfCallType::PttId, "");
    EXPECT_EQ(editor.codeBox(kDtmfPttIdBeginField)->text(), "#007");

    // Code boxes take DTMF characters only, a-d as A-D.
    QTest::keyClicks(editor.codeBox(1), "1aE*#");
    EXPECT_EQ(editor.codeBox(1)->text(), "1A*#");

    Focus(editor.codeBox(kDtmfKillField));
    EXPECT_FALSE(editor.specialButton()->isEnabled());

    // Equal kill and stun codes are refused with the field focused.
    Focus(editor.codeBox(0));
    EXPECT_FALSE(editor.commit());
    EXPECT_EQ(prompter.asked, QStringList{texts.text(3001)});
    EXPECT_EQ(QApplication::focusWidget(), editor.codeBox(kDtmfKillField));
    EXPECT_EQ(d.Codes[0].Code.trimmed(), "456E123"); // nothing stored yet

    editor.codeBox(kDtmfStunField)->clear();
    EXPECT_TRUE(editor.commit());
    EXPECT_EQ(d.Codes[0].Code.trimmed(), "456F007");
    EXPECT_EQ(d.Codes[1].Code.trimmed(), "1AEF");
    EXPECT_EQ(d.Codes[1].Length, 4);
    EXPECT_EQ(d.PttIdBegin.Code.trimmed(), "F007");
    EXPECT_EQ(d.OwnId.str(), "007");
    EXPECT_EQ(d.Separator, 15);
    EXPECT_EQ(d.GroupCode, 255);
    EXPECT_EQ(d.StunCode.Length, 0);
}

TEST(DtmfEditorWindow, ComposerShowsTheCalledCodeForAniOnly)
{
    const ui::LanguageTexts texts = EnglishTexts();
    DtmfSpecialDialog dialog(texts);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "DTMF Special Call");
    EXPECT_EQ(dialog.calledBox()->text(), "000");
    dialog.calledBox()->setText("45");
    emit dialog.calledBox()->editingFinished();
    EXPECT_EQ(dialog.calledCode(), "045");
    EXPECT_EQ(dialog.callType(), DtmfCallType::Ani);
    EXPECT_TRUE(dialog.calledBox()->isVisibleTo(&dialog));
    dialog.typeList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.callType(), DtmfCallType::PttId);
    EXPECT_FALSE(dialog.calledBox()->isVisibleTo(&dialog));
}
