// The 5-tone special-call composer window: fields follow the call type and
// the target, and OK hands the composed call over or refuses with 900C.

#include "signalling/five_tone_special_dialog.h"
#include "ui/texts.h"

#include "support/scripted_prompter.h"
#include "support/source_texts.h"
#include "support/widget_input.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::signalling::FiveToneSpecialDialog;

namespace {

class FiveToneSpecialDialogTest : public ::testing::Test {
protected:
    ui::LanguageTexts texts;
    qtx::testing::ScriptedPrompter prompter;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
    }

    static void show(FiveToneSpecialDialog& dialog) { qtx::testing::ShowActive(dialog); }

    static void typeInto(QLineEdit* box, const char* keys)
    {
        box->setFocus();
        QTest::keyClicks(box, keys);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(FiveToneSpecialDialogTest, ListTargetComposesForTheChosenEntry)
{
    FiveToneSpecialDialog dialog(SpecialCallTarget::List, 3, "67890", texts, prompter);
    show(dialog);
    EXPECT_EQ(dialog.entryList()->currentText(), "3");
    EXPECT_FALSE(dialog.targetLabel()->isVisible());
    EXPECT_TRUE(dialog.dataFrame()->isVisible());
    EXPECT_FALSE(dialog.aniFrame()->isVisible());

    // Leaving a short called code tells 900C and keeps the text.
    typeInto(dialog.dataCalledBox(), "12");
    QTest::keyClick(dialog.dataCalledBox(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.asked, QStringList{texts.message("900C")});
    EXPECT_EQ(dialog.dataCalledBox()->text(), "12");

    dialog.typeList()->setCurrentIndex(static_cast<int>(SpecialCallType::Ani));
    EXPECT_FALSE(dialog.dataFrame()->isVisible());
    EXPECT_TRUE(dialog.aniFrame()->isVisible());
    typeInto(dialog.aniCalledBox(), "1234a!");
    EXPECT_EQ(dialog.aniCalledBox()->text(), "1234A");
    dialog.separatorList()->setCurrentIndex(2);
    dialog.entryList()->setCurrentIndex(42); // the user may pick another entry
    // Enter from the last field to OK, and on OK.
    dialog.separatorList()->setFocus();
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), (SpecialCall{SpecialCallTarget::List, 42, "1234ABSelfID"}));
    EXPECT_EQ(prompter.asked.size(), 1);
}

TEST_F(FiveToneSpecialDialogTest, PttIdTargetNeedsTheOwnIdAndCancelGivesNothing)
{
    FiveToneSpecialDialog dialog(SpecialCallTarget::PttIdEnd, -1, "", texts, prompter);
    show(dialog);
    EXPECT_FALSE(dialog.entryList()->isVisible());
    EXPECT_EQ(dialog.targetLabel()->text(), texts.option("60303"));
    EXPECT_EQ(dialog.messageBox()->maxLength(), 8);

    typeInto(dialog.dataCalledBox(), "12");
    dialog.typeList()->setCurrentIndex(static_cast<int>(SpecialCallType::PttId));
    EXPECT_FALSE(dialog.dataFrame()->isVisible() || dialog.aniFrame()->isVisible());
    QCoreApplication::processEvents();
    dialog.commit();
    EXPECT_EQ(prompter.asked, QStringList{texts.message("900C")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.result().has_value());

    // Going to Cancel from a short called code does not stop to tell.
    dialog.typeList()->setCurrentIndex(static_cast<int>(SpecialCallType::Data));
    typeInto(dialog.dataCalledBox(), "3");
    dialog.cancelButton()->setFocus(Qt::MouseFocusReason); // the press
    QCoreApplication::processEvents();
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), std::nullopt);
    EXPECT_EQ(prompter.asked.size(), 1);
}
