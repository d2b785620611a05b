// Editing channels in the main window's grid: cells in place, several rows
// at once, moving, deleting, the context menu, and one undo step for each.

#include "app_fixture.h"

#include "app/main_window.h"
#include "forms/channel_cells.h"
#include "history/edit_step.h"
#include "model/channel_list.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

namespace {

class GridEditingTest : public AppFixture {
protected:
    AppState st;
    std::unique_ptr<MainWindow> window;
    QTableWidget* grid = nullptr;

    // The channels are added after the new Codeplug of start-up.
    void start(const std::function<void()>& channels = {})
    {
        StartUp(st, inputs("en_US"));
        if (channels)
            channels();
        window = std::make_unique<MainWindow>(st, prompter);
        window->load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        grid = window->grid();
        grid->setFocus();
    }

    void addChannel(int number, const char* rx, const char* name)
    {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded(rx);
        ch.Name.setPadded(name);
        st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    }

    QString cell(int channel, int column) const { return grid->item(channel - 1, column)->text(); }
    QString name(int channel) const { return cell(channel, kColumnName); }

    void clickRow(int channel, int column = 1, Qt::KeyboardModifiers mods = {})
    {
        const QModelIndex index = grid->model()->index(channel - 1, column);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, grid->visualRect(index).center());
    }

    // Enter in a cell box; the grid commits it once events run.
    static void enter(QWidget* box)
    {
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    QString undoText() const { return window->action("mnuEditUndo")->text(); }

    // Undo takes back exactly the last step: the Codeplug is as it was, byte for byte.
    void expectUndoRestores(const EditState& before, const QString& step)
    {
        EXPECT_EQ(undoText(), "&Undo " + step);
        st.history.undo();
        EXPECT_TRUE(SameState(CaptureState(st.ws, StepScope::Edit), before)) << step.toStdString();
    }
};

} // namespace

TEST_F(GridEditingTest, CellsEditInPlaceThroughTheChannelRules)
{
    start();
    QSignalSpy editorOpened(window.get(), &MainWindow::channelEditorRequested);
    // Typing into an empty row starts with the receive frequency.
    grid->setCurrentCell(6, kColumnReceive); // channel 7, heading "6"
    QTest::keyClick(grid, Qt::Key_1);
    auto* box = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "45.5x"); // the x is not taken
    enter(box);
    EXPECT_EQ(cell(7, kColumnReceive), "145.50000");
    EXPECT_EQ(cell(7, kColumnTransmit), "145.50000");
    EXPECT_EQ(undoText(), "&Undo channel 6");
    EXPECT_EQ(editorOpened.count(), 0); // Enter in the box is the box's

    // F2 on the name, type, Enter.
    grid->setCurrentCell(6, kColumnName);
    QTest::keyClick(grid, Qt::Key_F2);
    box = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "Rp~t 1");
    enter(box);
    EXPECT_EQ(name(7), "Rpt 1");
    EXPECT_EQ(st.ws.live.channels[FindChannel(st.ws.live, 7).value()].Name.trimmed(), "Rpt 1");

    // A list cell commits the picked entry.
    grid->setCurrentCell(6, kColumnPower);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* list = qobject_cast<QComboBox*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(list);
    QTest::keyClick(list, Qt::Key_M); // "Mid": typing searches the list, nothing is stored yet
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(st.ws.live.channels[FindChannel(st.ws.live, 7).value()].TxPower, 0);
    enter(list);
    EXPECT_EQ(st.ws.live.channels[FindChannel(st.ws.live, 7).value()].TxPower, 1);

    // Out of band: fitted, the warning in the status bar, no box.
    grid->setCurrentCell(6, kColumnReceive);
    QTest::keyClick(grid, Qt::Key_F2);
    box = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(box);
    box->selectAll();
    QTest::keyClicks(box, "500");
    enter(box);
    EXPECT_EQ(cell(7, kColumnReceive), "174.00000");
    EXPECT_EQ(window->statusBar()->currentMessage(), st.text(2001));
    EXPECT_TRUE(prompter.asked.isEmpty());

    // Refused: the VFO keeps its frequency, the cell its value, the status says why.
    grid->setCurrentCell(202, kColumnReceive);
    QTest::keyClick(grid, Qt::Key_F2);
    box = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(box);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    enter(box);
    EXPECT_EQ(cell(203, kColumnReceive), "155.00000");
    EXPECT_EQ(window->statusBar()->currentMessage(), QString::fromStdString(std::string(kVfoNullMessage)));
}

TEST_F(GridEditingTest, SeveralRowsCopyPasteAsOneStep)
{
    start([&] {
        addChannel(5, "014500000", "A");
        addChannel(6, "014600000", "B");
        addChannel(7, "014700000", "C");
        addChannel(21, "015100000", "OLD");
    });
    grid->setCurrentCell(4, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->selectedChannels(), (QList<int>{5, 6, 7}));
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);

    clickRow(20);
    EXPECT_EQ(window->selectedChannels(), (QList<int>{20}));
    const EditState before = CaptureState(st.ws, StepScope::Edit);
    prompter.answers = {ui::Answer::Cancel}; // channel 21 is in use: asked once
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(name(21), "OLD");
    EXPECT_TRUE(SameState(CaptureState(st.ws, StepScope::Edit), before));

    prompter.answers = {ui::Answer::Ok};
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(name(20), "A");
    EXPECT_EQ(name(21), "B");
    EXPECT_EQ(name(22), "C");
    EXPECT_EQ(cell(22, kColumnReceive), "147.00000");
    EXPECT_EQ(window->selectedChannels(), (QList<int>{20, 21, 22}));
    expectUndoRestores(before, "paste of 3 channels");
    EXPECT_EQ(name(21), "OLD");
    EXPECT_EQ(name(20), "");

    // Pasted near the end, the block stops at the last memory channel.
    grid->setCurrentCell(198, 1); // channel 199
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name(200), "B");
    EXPECT_EQ(name(201), "");
    EXPECT_EQ(window->statusBar()->currentMessage(), st.text(7585).arg(2).arg(3));
}

TEST_F(GridEditingTest, DeleteMoveAndTheContextMenuAreNamedSteps)
{
    start([&] {
        addChannel(4, "014400000", "D");
        addChannel(5, "014500000", "E");
    });
    st.ws.live.body.Settings.Emergency.EmergencyChannel = 5;

    // Delete of a selection holding the VFO keeps the VFO.
    EditState before = CaptureState(st.ws, StepScope::Edit);
    clickRow(4);
    clickRow(203, 1, Qt::ControlModifier);
    ASSERT_EQ(window->selectedChannels(), (QList<int>{4, 203}));
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(name(4), "");
    EXPECT_EQ(cell(203, kColumnReceive), "155.00000");
    EXPECT_EQ(window->statusBar()->currentMessage(), st.text(7588));
    expectUndoRestores(before, "deletion of 2 channels");
    EXPECT_EQ(name(4), "D");

    // Alt+Down moves channel 5 and the emergency channel with it.
    before = CaptureState(st.ws, StepScope::Edit);
    clickRow(5);
    QTest::keyClick(grid, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(name(6), "E");
    EXPECT_EQ(name(5), "");
    EXPECT_EQ(st.ws.live.body.Settings.Emergency.EmergencyChannel, 6);
    EXPECT_EQ(window->selectedChannels(), (QList<int>{6}));
    expectUndoRestores(before, "move of channel 4");

    // The context menu offers the commands and runs them on the selection.
    QMenu* menu = window->gridMenu();
    QStringList keys;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            keys << a->objectName();
    EXPECT_EQ(keys, (QStringList{"mnuGridEdit", "mnuGridCut", "mnuGridCopy", "mnuGridPaste", "mnuGridDelete",
                                 "mnuGridUp", "mnuGridDown"}));
    clickRow(4);
    clickRow(5, 1, Qt::ShiftModifier);
    window->action("mnuGridUp")->trigger();
    EXPECT_EQ(name(3), "D");
    EXPECT_EQ(name(4), "E");
    EXPECT_EQ(undoText(), "&Undo move of 2 channels");
    clickRow(1);
    window->action("mnuGridUp")->trigger(); // nothing above the first channel
    EXPECT_EQ(window->statusBar()->currentMessage(), st.text(7592));
    EXPECT_EQ(undoText(), "&Undo move of 2 channels");
}
