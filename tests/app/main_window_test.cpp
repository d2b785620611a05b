#include "app_fixture.h"

#include "app/main_window.h"
#include "model/channel_list.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

namespace {

class MainWindowTest : public AppFixture {
protected:
    AppState st;
    std::unique_ptr<MainWindow> window;

    void start(const QString& locale = "en_US")
    {
        StartUp(st, inputs(locale));
        window = std::make_unique<MainWindow>(st, prompter);
        window->load();
    }

    QString cell(int channel, int column) const
    {
        const QTableWidgetItem* item = window->grid()->item(channel - 1, column);
        return item ? item->text() : QString();
    }

    QStringList treeKeys() const
    {
        QStringList keys;
        const QTreeWidgetItem* root = window->tree()->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            keys << root->child(i)->data(0, Qt::UserRole).toString();
        return keys;
    }

    void addChannel(int number, const char* rx, const char* offset = "000000000", int direction = 0)
    {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded(rx);
        ch.Offset.setPadded(offset);
        ch.ShiftDirection = static_cast<int16_t>(direction);
        st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    }
};

} // namespace

TEST_F(MainWindowTest, TitleAndVfoOnlyCodeplug)
{
    start();
    EXPECT_EQ(window->windowTitle(), "QTX[QM-5210:Rx(136 - 174 MHz) Tx(136 - 174 MHz)][File:new.dat]");
    EXPECT_EQ(window->grid()->rowCount(), 203);
    int filled = 0;
    for (int ch = 1; ch <= 203; ++ch)
        if (!cell(ch, 1).isEmpty())
            ++filled;
    EXPECT_EQ(filled, 1);
    EXPECT_EQ(cell(203, 0), "VFO");
    EXPECT_EQ(cell(203, 1), "155.00000");
    EXPECT_EQ(cell(201, 0), "PA");
    EXPECT_EQ(window->tree()->topLevelItem(0)->text(0), "QM-5210");
}

TEST_F(MainWindowTest, ChannelRowsAndCells)
{
    start();
    addChannel(1, "014500000", "000060000", 1);
    addChannel(200, "014612500");
    ChannelRecord& ch = st.ws.live.channels[*FindChannel(st.ws.live, 200)];
    ch.RxToneType = 2;
    ch.RxDcsCode = 19;
    ch.TxToneType = 2;
    ch.TxDcsCode = 19;
    ch.TxDcsInverted = 1;
    ch.OptionalSignal = 7;
    window->showListByData();
    EXPECT_EQ(cell(1, 0), "0");
    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_EQ(cell(1, 2), "144.40000");
    EXPECT_EQ(cell(200, 0), "199");
    EXPECT_EQ(cell(200, 1), "146.12500");
    EXPECT_EQ(cell(200, 8), "D023N");
    EXPECT_EQ(cell(200, 9), "D023I");
    EXPECT_EQ(cell(200, 10), st.text(1206));
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_TRUE(window->grid()->isColumnHidden(6));
    EXPECT_EQ(window->grid()->horizontalHeaderItem(8)->text(), st.text(1107) + "\n" + st.text(1112));
}

TEST_F(MainWindowTest, SwitchesShowAndHideSignallingViews)
{
    std::vector<uint8_t> on{1, 0, 1, 0, 1, 0, 0, 0, 1, 0};
    qtx::testing::WriteBytes((programDir + "/Setting.ini").toStdString(), on);
    start();
    EXPECT_TRUE(treeKeys().contains("N5"));
    EXPECT_TRUE(window->action("MnuViewDTMF")->isVisible());
    EXPECT_TRUE(window->action("MnuHelpDTMF")->isVisible());

    window->action("MnuHelpDTMF")->trigger(); // switch DTMF off
    EXPECT_FALSE(treeKeys().contains("N5"));
    EXPECT_FALSE(window->action("MnuViewDTMF")->isVisible());
    EXPECT_EQ(treeKeys(), (QStringList{"N1", "N4", "N6", "N7", "N10", "N11", "N12", "N8", "N9"}));
    window->action("MnuHelpDTMF")->trigger();
    EXPECT_EQ(treeKeys().indexOf("N5"), 2);
}

// Views switched on but the switch items hidden: every view starts off.
TEST_F(MainWindowTest, HiddenSwitchMenuTurnsViewsOff)
{
    qtx::testing::WriteBytes((programDir + "/Setting.ini").toStdString(), {1, 0, 1, 0, 1, 0, 0, 0, 0, 0});
    start();
    EXPECT_FALSE(treeKeys().contains("N5"));
    EXPECT_FALSE(treeKeys().contains("N6"));
    EXPECT_FALSE(treeKeys().contains("N7"));
    EXPECT_FALSE(window->action("MnuHelpDTMF")->isVisible());
    EXPECT_EQ(st.switches.Dtmf, 0);
}

TEST_F(MainWindowTest, CtrlAloneRevealsSwitchItems)
{
    start();
    ASSERT_FALSE(window->action("MnuHelp5Tone")->isVisible());
    QTest::keyPress(window->tree(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(window->action("MnuHelp5Tone")->isVisible());
    EXPECT_EQ(st.switches.SwitchMenuShown, 1);
}

TEST_F(MainWindowTest, LanguageSwitchRelabelsEverythingAtOnce)
{
    start();
    const QString englishFile = window->menuBar()->actions().first()->text();
    const QString englishHeading = window->grid()->horizontalHeaderItem(1)->text();
    const QString englishTip = window->action("TNewFile")->toolTip();
    const QString englishNode = window->tree()->topLevelItem(0)->child(1)->text(0);
    EXPECT_EQ(englishTip, "New");

    st.setLanguage(kLanguageChinese);
    window->formReload();
    EXPECT_NE(window->menuBar()->actions().first()->text(), englishFile);
    EXPECT_EQ(window->menuBar()->actions().first()->text(), st.text(1000));
    EXPECT_EQ(window->grid()->horizontalHeaderItem(1)->text(), st.text(1101));
    EXPECT_NE(window->grid()->horizontalHeaderItem(1)->text(), englishHeading);
    EXPECT_NE(window->action("TNewFile")->toolTip(), englishTip);
    EXPECT_EQ(window->tree()->topLevelItem(0)->child(1)->text(0), st.text(5021));
    EXPECT_NE(englishNode, st.text(5021));
    EXPECT_EQ(cell(203, 1), "155.00000"); // values stay
}

TEST_F(MainWindowTest, GridClipboardKeys)
{
    start();
    addChannel(5, "014500000");
    window->showListByData();
    QTableWidget* grid = window->grid();
    grid->setFocus();

    grid->setCurrentCell(11, 1); // row of channel 12
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier); // nothing copied yet
    EXPECT_EQ(st.ws.live.count(), 2);

    grid->setCurrentCell(4, 3);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    grid->setCurrentCell(8, 1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(9, 1), "145.00000");
    EXPECT_EQ(st.ws.live.channels[2].Number, 9);

    grid->setCurrentCell(4, 1);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 1), "");
    EXPECT_FALSE(FindChannel(st.ws.live, 5));
}

// The option, scan, alarm and key editors open from their menu item and
// from their tree node alike; the 5-tone item stays disabled.
TEST_F(MainWindowTest, SettingEditorsOpenFromMenuAndTree)
{
    start();
    QStringList asked;
    QObject::connect(window.get(), &MainWindow::settingEditorRequested, [&](const QString& node) { asked << node; });
    for (const char* key : {"MnuViewSetMode", "MnuViewScan", "MnuViewAlert", "MnuViewKey"}) {
        ASSERT_TRUE(window->action(key)->isEnabled()) << key;
        window->action(key)->trigger();
    }
    EXPECT_EQ(asked, (QStringList{"N4", "N10", "N11", "N12"}));
    EXPECT_FALSE(window->action("MnuView5Tone")->isEnabled());

    asked.clear();
    const QTreeWidgetItem* root = window->tree()->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        emit window->tree()->itemClicked(root->child(i), 0);
    EXPECT_EQ(asked, (QStringList{"N4", "N10", "N11", "N12"}));
}

// The 2-tone editor opens from its tree node and its Edit menu item.
TEST_F(MainWindowTest, TwoToneEditorOpensFromTreeAndMenu)
{
    qtx::testing::WriteBytes((programDir + "/Setting.ini").toStdString(), {1, 0, 1, 0, 1, 0, 0, 0, 1, 0});
    start();
    QSignalSpy opened(window.get(), &MainWindow::twoToneEditorRequested);
    QAction* item = window->action("MnuView2Tone");
    ASSERT_TRUE(item->isVisible());
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_EQ(opened.count(), 1);

    const QTreeWidgetItem* root = window->tree()->topLevelItem(0);
    const int n6 = treeKeys().indexOf("N6");
    ASSERT_GE(n6, 0);
    emit window->tree()->itemClicked(root->child(n6), 0);
    EXPECT_EQ(opened.count(), 2);
    emit window->tree()->itemClicked(root->child(treeKeys().indexOf("N1")), 0);
    EXPECT_EQ(opened.count(), 2);
}
