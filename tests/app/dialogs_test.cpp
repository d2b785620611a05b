// The model, port and password windows and the application's menu wiring.

#include "app_fixture.h"

#include "app/application.h"
#include "app/main_window.h"
#include "app/model_dialog.h"
#include "app/password_dialog.h"
#include "app/port_dialog.h"
#include "app/progress_dialog.h"
#include "app/qt_translation.h"
#include "model/channel_list.h"
#include "port_catalogue.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

TEST_F(AppFixture, ModelDialogFitsTheBandAndTheChannels)
{
    AppState st;
    StartUp(st, inputs());
    ChannelRecord ch = BlankChannel(1);
    ch.InUse = 1;
    ch.RxFrequency.setPadded("014500000");
    ch.Offset.setPadded("000060000");
    ch.ShiftDirection = 2;
    st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;

    ModelDialog dialog(st);
    EXPECT_EQ(dialog.field(0)->text(), "136.00000");
    const char* typed[4] = {"430", "440", "400", "450"};
    for (int i = 0; i < 4; ++i)
        dialog.field(i)->setText(typed[i]);
    dialog.applyFields();
    EXPECT_EQ(st.ws.live.body.Band.RxLow, 430.0);
    EXPECT_EQ(st.ws.live.body.Band.TxHigh, 450.0);
    EXPECT_EQ(dialog.field(2)->text(), "400.00000");
    const ChannelRecord& fitted = st.ws.live.channels[*FindChannel(st.ws.live, 1)];
    EXPECT_EQ(fitted.RxFrequency.str(), "043000000");
    EXPECT_EQ(fitted.ShiftDirection, 2);
    EXPECT_EQ(fitted.Offset.str(), "000060000");

    ModelDialog reversed(st);
    reversed.field(0)->setText("170");
    reversed.field(1)->setText("140");
    reversed.field(2)->setText("");
    reversed.field(3)->setText("abc");
    reversed.applyFields();
    EXPECT_EQ(st.ws.live.body.Band.RxLow, 140.0);
    EXPECT_EQ(st.ws.live.body.Band.RxHigh, 170.0);
    EXPECT_EQ(st.ws.live.body.Band.TxLow, 136.0);
    EXPECT_EQ(st.ws.live.body.Band.TxHigh, 174.0);
}

TEST_F(AppFixture, ModelDialogFieldsTakeDigitsAndPointOnly)
{
    AppState st;
    StartUp(st, inputs());
    ModelDialog dialog(st);
    dialog.field(0)->clear();
    dialog.field(0)->setFocus();
    QTest::keyClicks(dialog.field(0), "1a4-5.5e");
    EXPECT_EQ(dialog.field(0)->text(), "145.5");
    QTest::keyClick(dialog.field(0), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog.field(0)->text(), "145.5");
}

TEST_F(AppFixture, PasswordDialogShowsThePrefillMaskedAndGivesTheTypedText)
{
    AppState st;
    StartUp(st, inputs());
    PasswordDialog dialog(st, "ab");
    EXPECT_EQ(dialog.box()->text(), "ab");
    EXPECT_EQ(dialog.box()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.box()->maxLength(), 4);
    dialog.box()->setText("Qx  ");
    EXPECT_EQ(dialog.typed(), "Qx");
    EXPECT_TRUE(st.enteredPassword.empty()); // the caller keeps what was typed
    EXPECT_EQ(PasswordDialog::cleaned("Qx  "), "Qx");
    EXPECT_EQ(PasswordDialog::cleaned(QString("Q") + QChar(0) + "x"), "Q");
}

namespace {

// A catalogue whose devices the test decides.
PortCatalogue catalogueOf(QStringList* devices, const QMap<QString, QString>& configured = {})
{
    PortCatalogue c(configured);
    c.setDeviceLister([devices] { return *devices; });
    return c;
}

} // namespace

TEST_F(AppFixture, PortDialogShowsDevicesAndKeepsTheChoice)
{
    writeSettings("[language]\ncomPort=34\n");
    AppState st;
    StartUp(st, inputs("en_US", {1, 34}));
    QStringList devices{"/dev/ttyS0", "/dev/ttyUSB1"};
    const PortCatalogue ports = catalogueOf(&devices);
    PortDialog dialog(st, ports);
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_TRUE(dialog.list()->item(1)->text().startsWith("COM34"));
    EXPECT_TRUE(dialog.list()->item(1)->text().endsWith("/dev/ttyUSB1"));
    EXPECT_EQ(dialog.portId(), 34);

    dialog.list()->setCurrentRow(0);
    EXPECT_EQ(dialog.portId(), 1);
    devices = QStringList{"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyACM0"};
    dialog.refresh();
    EXPECT_EQ(dialog.list()->count(), 3);
    EXPECT_EQ(dialog.portId(), 1); // the choice survives a refresh

    devices = QStringList{"/dev/ttyUSB1"}; // COM1 unplugged
    dialog.refresh();
    EXPECT_EQ(dialog.portId(), 34);
    dialog.commit();
    EXPECT_EQ(st.comPort, 34);
    EXPECT_TRUE(readSettings().contains("comPort=34"));

    devices.clear();
    dialog.refresh();
    EXPECT_EQ(dialog.portId(), 0);
    dialog.commit();
    EXPECT_EQ(st.comPort, 0);
    EXPECT_TRUE(readSettings().contains("comPort=34")); // nothing written for no port
}

TEST_F(AppFixture, PortDialogFixedListModeOffersCom1ToCom255)
{
    writeSettings("[language]\ncomPort=7\nFixedPortList=1\n");
    AppState st;
    StartUp(st, inputs("en_US", {}));
    EXPECT_TRUE(st.fixedPortList);
    EXPECT_EQ(st.comPort, 7); // not checked against the ports found
    QStringList devices;
    const PortCatalogue ports = catalogueOf(&devices);
    PortDialog dialog(st, ports);
    ASSERT_EQ(dialog.list()->count(), 255);
    EXPECT_EQ(dialog.list()->item(0)->text(), "COM1");
    EXPECT_EQ(dialog.portId(), 7);
}

TEST_F(AppFixture, ExitWithUnsavedChangesAsksAndCancelKeepsTheWindow)
{
    Application program(inputs());
    program.setPrompter(&prompter);
    program.showMainWindow();
    MainWindow* w = program.mainWindow();
    ASSERT_TRUE(w->isVisible());
    program.state().ws.live.body.Settings.Options.Item1705 = 2;
    prompter.answers = {ui::Answer::Cancel};
    w->action("mnuFileExit")->trigger();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(prompter.asked, QStringList{program.state().message("9001")});
    prompter.answers = {ui::Answer::No};
    w->action("mnuFileExit")->trigger();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AppFixture, QtsOwnButtonsFollowTheLanguage)
{
    if (!QFile::exists(app::QtTranslationsDir() + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "Qt's Chinese translation is not installed (qt6-translations-l10n)";
    AppState st;
    StartUp(st, inputs("zh_CN"));
    ASSERT_EQ(st.language, kLanguageChinese);
    auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    const QString chinese = yesText();
    EXPECT_NE(chinese, "&Yes");
    EXPECT_FALSE(chinese.isEmpty());
    // Switched at run time, both ways.
    st.setLanguage(kLanguageEnglish);
    EXPECT_EQ(yesText(), "&Yes");
    st.setLanguage(kLanguageChinese);
    EXPECT_EQ(yesText(), chinese);
    st.setLanguage(kLanguageEnglish);
}

TEST_F(AppFixture, ProgressWindowCancelsOnceByButtonEscOrCloseBox)
{
    AppState st;
    StartUp(st, inputs());
    for (int how = 0; how < 3; ++how) {
        ProgressDialog progress(st, false);
        int cancels = 0;
        QObject::connect(&progress, &ProgressDialog::cancelled, [&cancels] { ++cancels; });
        progress.show();
        auto* button = progress.findChild<QPushButton*>("btnCancel");
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), st.text(102));
        if (how == 0)
            QTest::mouseClick(button, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(&progress, Qt::Key_Escape);
        else
            progress.close();
        // The window stays until the transfer has really ended.
        EXPECT_TRUE(progress.isVisible()) << how;
        EXPECT_EQ(cancels, 1) << how;
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(progress.detailText(), st.text(7405));
        QTest::keyClick(&progress, Qt::Key_Escape); // asked once only
        EXPECT_EQ(cancels, 1) << how;
        progress.finish();
        EXPECT_FALSE(progress.isVisible());
    }
}
