// The option, key, scan and alarm windows: picks reach the form through the
// user's choice only, OK stores, Cancel stores nothing.

#include "editors/alarm_editor.h"
#include "editors/key_editor.h"
#include "editors/option_editor.h"
#include "editors/scan_editor.h"
#include "model/channel_list.h"
#include "ui/texts.h"

#include "support/source_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;

namespace {

class SettingEditorsTest : public ::testing::Test {
protected:
    Codeplug cp;
    ui::LanguageTexts texts;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
        for (int n : {3, 20, int{kChannelVfo}}) {
            ChannelRecord ch = BlankChannel(n);
            ch.InUse = 1;
            cp.channels[cp.body.ChannelCount++] = ch;
        }
    }

    // As the user picks: the list changes and reports the pick.
    static void pick(QComboBox* list, int row)
    {
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
};

} // namespace

TEST_F(SettingEditorsTest, OptionPicksCoupleListsAndOkStoresTheTypedMessage)
{
    cp.body.Settings.Options.Item1716 = 0;
    cp.body.Settings.Keys.Keys[2] = 10;
    cp.body.Settings.Options.PowerOnMessage.setPadded("");
    const Codeplug original = cp;
    {
        editors::OptionEditor cancelled(cp, texts);
        pick(cancelled.list(0), 1);
        cancelled.reject();
    }
    EXPECT_EQ(cp.body.Settings, original.body.Settings);

    editors::OptionEditor editor(cp, texts);
    editor.show();
    EXPECT_TRUE(editor.list(1)->isEnabled());
    EXPECT_FALSE(editor.list(18)->isVisible());
    pick(editor.list(0), 1);
    EXPECT_EQ(editor.list(1)->currentIndex(), 1);
    EXPECT_FALSE(editor.list(1)->isEnabled());
    EXPECT_TRUE(editor.list(18)->isVisible());
    ASSERT_EQ(editor.list(2)->count(), 2);
    EXPECT_EQ(editor.list(2)->itemText(1), "19");
    pick(editor.list(2), 1);

    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    editor.messageBox(0)->setFocus();
    for (char c : std::string("Hi\\!")) // each key to whatever box has the focus
        QTest::keyClick(QApplication::focusWidget(), c);
    EXPECT_EQ(editor.messageBox(2)->text(), "!") << "typed straight through, the backslash refused";
    EXPECT_FALSE(editor.passwordBox()->isVisible());
    editor.passwordSwitch()->click();
    EXPECT_TRUE(editor.passwordBox()->isVisible());
    QTest::keyClicks(editor.passwordBox(), "12a34");

    editor.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    const OptionSettings& o = cp.body.Settings.Options;
    EXPECT_EQ(o.Item1702, 1);
    EXPECT_EQ(o.Item1703, 1);
    EXPECT_EQ(o.ChannelSelect, 19);
    EXPECT_EQ(o.PowerOnMessage.str(), "Hi!    ");
    EXPECT_EQ(o.PowerOnPassword.str(), std::string("1234\0 ", 6));
    EXPECT_EQ(cp.body.Settings.Keys.Keys[2], 0);
}

TEST_F(SettingEditorsTest, KeyScanAndAlarmWindowsFollowTheirRules)
{
    {
        editors::KeyEditor keys(cp, texts);
        pick(keys.list(2), 10);
        EXPECT_EQ(keys.list(2)->currentIndex(), 0);
        pick(keys.list(7), 10);
        keys.accept(); // accept() alone is not OK: nothing stored
    }
    EXPECT_EQ(cp.body.Settings.Keys.Keys[7], 0);

    editors::ScanEditor scan(cp, texts);
    EXPECT_FALSE(scan.modeList()->isEnabled());
    pick(scan.priorityList(), 1);
    pick(scan.modeList(), 1);
    EXPECT_TRUE(scan.channel1List()->isEnabled());
    EXPECT_EQ(scan.revertList()->count(), 6);
    pick(scan.channel1List(), 1);
    scan.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(cp.body.Settings.Scan.PriorityMode, 1);
    EXPECT_EQ(cp.body.Settings.Scan.Priority1Channel, 20);

    cp.body.Settings.Dtmf.Codes[3].Length = 2;
    editors::AlarmEditor alarm(cp, texts);
    EXPECT_FALSE(alarm.idTypeList()->isEnabled());
    pick(alarm.kindList(), 1);
    EXPECT_TRUE(alarm.idTypeList()->isEnabled());
    pick(alarm.idTypeList(), 1);
    ASSERT_EQ(alarm.idCodeList()->count(), 1);
    EXPECT_EQ(alarm.idCodeList()->itemText(0), "M4");
    alarm.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(cp.body.Settings.Emergency.IdType, 1);
    EXPECT_EQ(cp.body.Settings.Emergency.IdGroup, 3);
    EXPECT_EQ(cp.body.Settings.Emergency.EmergencyChannel, 3);
}
