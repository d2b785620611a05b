#include "app_fixture.h"

#include "app/main_window.h"
#include "app/window_placement.h"
#include "files/change_tracking.h"
#include "view/main_view.h"
#include "model/channel_list.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QScreen>
#include <QScrollBar>
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
    // "[*]" is where Qt shows the modified mark; the title itself ends before it.
    EXPECT_EQ(window->windowTitle(), "QTX[QM-5210:Rx(136 - 174 MHz) Tx(136 - 174 MHz)][File:new.dat][*]");
    EXPECT_FALSE(window->isWindowModified());
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

    // The menu item and the tree node open the DTMF settings.
    QSignalSpy opened(window.get(), &MainWindow::dtmfEditorRequested);
    EXPECT_TRUE(window->action("MnuViewDTMF")->isEnabled());
    window->action("MnuViewDTMF")->trigger();
    QTreeWidgetItem* node = window->tree()->topLevelItem(0)->child(2);
    emit window->tree()->itemClicked(node, 0);
    EXPECT_EQ(opened.count(), 2);
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
// from their tree node alike.
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

    asked.clear();
    const QTreeWidgetItem* root = window->tree()->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        emit window->tree()->itemClicked(root->child(i), 0);
    EXPECT_EQ(asked, (QStringList{"N4", "N10", "N11", "N12"}));
}

// The 2-tone and 5-tone editors open from their tree nodes and Edit menu items.
TEST_F(MainWindowTest, SignallingEditorsOpenFromTreeAndMenu)
{
    qtx::testing::WriteBytes((programDir + "/Setting.ini").toStdString(), {1, 0, 1, 0, 1, 0, 0, 0, 1, 0});
    start();
    const QTreeWidgetItem* root = window->tree()->topLevelItem(0);
    const auto check = [&](auto signal, const char* menuKey, const QString& node) {
        QSignalSpy opened(window.get(), signal);
        QAction* item = window->action(menuKey);
        ASSERT_TRUE(item->isVisible()) << menuKey;
        ASSERT_TRUE(item->isEnabled()) << menuKey;
        item->trigger();
        EXPECT_EQ(opened.count(), 1) << menuKey;

        const int at = treeKeys().indexOf(node);
        ASSERT_GE(at, 0) << node.toStdString();
        emit window->tree()->itemClicked(root->child(at), 0);
        EXPECT_EQ(opened.count(), 2) << menuKey;
        emit window->tree()->itemClicked(root->child(treeKeys().indexOf("N1")), 0);
        EXPECT_EQ(opened.count(), 2) << menuKey;
    };
    check(&MainWindow::twoToneEditorRequested, "MnuView2Tone", "N6");
    check(&MainWindow::fiveToneEditorRequested, "MnuView5Tone", "N7");
}

TEST_F(MainWindowTest, IdsStayInViewWhenTheGridScrollsRight)
{
    start();
    window->resize(420, 360);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTableWidget* grid = window->grid();
    QScrollBar* across = grid->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0) << "the grid must be wider than its view for this test";
    across->setValue(across->maximum());
    QTest::qWait(10);
    // The IDs are row headings, outside the part of the grid that scrolls.
    QHeaderView* ids = grid->verticalHeader();
    EXPECT_TRUE(ids->isVisible());
    EXPECT_GT(ids->width(), 0);
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), QString::fromStdString(GridRowHeading(1)));
    EXPECT_EQ(grid->model()->headerData(200, Qt::Vertical).toString(), QString::fromStdString(GridRowHeading(201)));
    EXPECT_EQ(grid->model()->headerData(202, Qt::Vertical).toString(), QString::fromStdString(GridRowHeading(203)));
    // Keyboard: Home stops at the first data column, not at the hidden one.
    grid->setFocus();
    grid->setCurrentCell(3, 5);
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(grid->currentColumn(), 1);
}

TEST_F(MainWindowTest, ModifiedMarkFollowsTheSavedValues)
{
    start();
    addChannel(5, "014500000");
    TakeSnapshot(st.ws);
    window->showListByData();
    EXPECT_FALSE(window->isWindowModified());

    const auto savedName = st.ws.live.channels[1].Name;
    st.ws.live.channels[1].Name.setTerminated("HOME");
    window->reShowGrid(5);
    EXPECT_TRUE(window->isWindowModified());
    st.ws.live.channels[1].Name = savedName; // edited back by hand
    window->reShowGrid(5);
    EXPECT_FALSE(window->isWindowModified());

    // Through the grid's own keys: a cut marks it, pasting back clears it.
    QTableWidget* grid = window->grid();
    grid->setFocus();
    grid->setCurrentCell(4, 1);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(IsModified(st.ws), window->isWindowModified());
}

TEST_F(MainWindowTest, PlacementIsFittedIntoTheScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const QMargins frame(4, 30, 4, 4);
    // Already inside: unchanged.
    EXPECT_EQ(FitIntoScreen(QRect(100, 50, 600, 400), screen, frame), QRect(100, 50, 600, 400));
    // Left on a second monitor to the right: moved back, size kept.
    EXPECT_EQ(FitIntoScreen(QRect(1900, 200, 600, 400), screen, frame), QRect(1024 - 608, 200, 600, 400));
    // Title bar above the top, or off to the left.
    EXPECT_EQ(FitIntoScreen(QRect(-300, -50, 600, 400), screen, frame).topLeft(), QPoint(0, 0));
    // From a larger screen: shrunk so frame and all fit.
    EXPECT_EQ(FitIntoScreen(QRect(0, 0, 1920, 1080), screen, frame), QRect(0, 0, 1016, 734));
    // A screen area that does not start at 0, 0 (a panel on top).
    EXPECT_EQ(FitIntoScreen(QRect(0, 0, 800, 600), QRect(0, 40, 1024, 728), frame), QRect(0, 40, 800, 600));
}

TEST_F(MainWindowTest, StartAndCloseLeaveThePlacementAsItWas)
{
    QSettings store("QTX", "QTX");
    auto placement = [&store] {
        store.sync();
        QStringList v;
        for (const char* key : {"Settings/MainLeft", "Settings/MainTop", "Settings/MainWidth", "Settings/MainHeight"})
            v << store.value(key).toString();
        return v;
    };
    QStringList first;
    for (int run = 0; run < 4; ++run) {
        AppState state;
        StartUp(state, inputs());
        MainWindow w(state, prompter);
        w.load();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        // The title bar is on the screen (the window may not shrink below
        // its minimum size on this small test screen).
        const QRect screen = w.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(w.frameGeometry().topLeft()))
            << run << ": " << w.frameGeometry().x() << "," << w.frameGeometry().y() << " "
            << w.frameGeometry().width() << "x" << w.frameGeometry().height() << " on " << screen.width() << "x"
            << screen.height();
        w.close();
        if (run == 0)
            first = placement();
        else
            EXPECT_EQ(placement(), first) << "after run " << run + 1;
    }
    EXPECT_FALSE(first.first().isEmpty());
}
