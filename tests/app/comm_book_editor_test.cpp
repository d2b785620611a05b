// The communication book window: typed cells reach the buffer by the
// storage rule, Import and Export move whole books, OK hands the buffer to
// the Codeplug as one undo step.

#include "app_fixture.h"

#include "app/main_window.h"
#include "editors/comm_book_editor.h"
#include "files/change_tracking.h"
#include "files/data_file.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace qtx;
using namespace qtx::app;
using qtx::editors::CommBookEditor;
using qtx::testing::AppFixture;
using qtx::testing::ReadBytes;
using qtx::testing::WriteBytes;

namespace {

class CommBookEditorTest : public AppFixture {
protected:
    AppState st;

    void SetUp() override
    {
        AppFixture::SetUp();
        StartUp(st, inputs());
    }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    static void type(CommBookEditor& editor, int row, int column, const char* keys)
    {
        editor.grid()->setCurrentCell(row, column);
        editor.grid()->editItem(editor.grid()->item(row, column));
        ASSERT_TRUE(editor.cellBox());
        QTest::keyClicks(editor.cellBox(), keys);
    }
};

} // namespace

TEST_F(CommBookEditorTest, TypedEntryIsExportedByTheStorageRule)
{
    CommBookEditor editor(st.ws, st, prompter);
    type(editor, 0, kBookCallIdColumn, "12x3-");
    EXPECT_EQ(editor.cellBox()->text(), "123");
    QTest::keyClick(editor.cellBox(), Qt::Key_Return); // on to the name of the same entry
    ASSERT_TRUE(editor.cellBox());
    QTest::keyClicks(editor.cellBox(), "bo-b");
    EXPECT_EQ(editor.cellBox()->text(), "BOB");
    type(editor, 1, kBookCallIdColumn, "123456");
    EXPECT_EQ(editor.cellBox()->text(), "12345");

    prompter.files = {path("out.cb")};
    ASSERT_TRUE(editor.exportBook()); // commits the cell still open
    EXPECT_TRUE(prompter.filterSeen.front().startsWith("Communication Book File (*.cb)"));
    const auto bytes = ReadBytes(dir.file("out.cb"));
    ASSERT_EQ(bytes.size(), kCommBookFileSize);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 2, bytes.begin() + 14),
              (std::vector<uint8_t>{0x31, 0x32, 0x33, 0x00, 0x20, 0x42, 0x4F, 0x42, 0x00, 0x20, 0x20, 0x20}));
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 21), "12345");
    EXPECT_EQ(editor.grid()->item(0, kBookNameColumn)->text(), "BOB");
    EXPECT_EQ(st.ws.bookFileName, dir.file("out.cb"));
    EXPECT_EQ(st.ws.live.body.Book, DefaultCommBook()); // the Codeplug waits for OK
}

TEST_F(CommBookEditorTest, EnterWalksTheGridAndEscDropsOnlyTheCellEdit)
{
    CommBookEditor editor(st.ws, st, prompter);
    editor.show();
    type(editor, 5, kBookNameColumn, "X");
    QTest::keyClick(editor.cellBox(), Qt::Key_Return);
    EXPECT_EQ(editor.grid()->currentRow(), 6);
    EXPECT_EQ(editor.grid()->currentColumn(), kBookCallIdColumn);
    EXPECT_EQ(editor.grid()->item(5, kBookNameColumn)->text(), "X");
    QTest::keyClicks(editor.cellBox(), "77");
    QTest::keyClick(editor.cellBox(), Qt::Key_Escape);
    EXPECT_TRUE(editor.isVisible()); // Esc in a cell drops the edit, not the window
    EXPECT_FALSE(editor.cellBox());
    EXPECT_EQ(editor.form().cellText(6, kBookCallIdColumn), "");
    type(editor, 127, kBookNameColumn, "");
    QTest::keyClick(editor.cellBox(), Qt::Key_Return);
    EXPECT_EQ(editor.grid()->currentRow(), 0);
}

TEST_F(CommBookEditorTest, FailedOrCancelledImportKeepsBufferAndTypedText)
{
    WriteBytes(dir.file("short.cb"), std::vector<uint8_t>(1000, '5'));
    CommBook other = DefaultCommBook();
    other[0].Name.setTerminated("OTHER");
    ASSERT_TRUE(WriteCommBookFile(dir.file("other.cb"), other));

    CommBookEditor editor(st.ws, st, prompter);
    type(editor, 0, kBookNameColumn, "MINE");
    prompter.files = {QString()}; // dialog cancelled
    EXPECT_FALSE(editor.importBook());
    EXPECT_EQ(editor.form().cellText(0, kBookNameColumn), "MINE");
    EXPECT_TRUE(prompter.asked.isEmpty());

    const CommBook before = editor.form().buffer();
    for (const char* name : {"absent.cb", "short.cb"}) {
        prompter.files = {path(name)};
        EXPECT_FALSE(editor.importBook()) << name;
        EXPECT_EQ(editor.form().buffer(), before) << name;
        ASSERT_FALSE(prompter.asked.isEmpty());
        EXPECT_TRUE(prompter.asked.back().startsWith(st.builtIn(BuiltIn::FileError))) << name;
    }
    prompter.files = {path("missing/x.cb")};
    EXPECT_FALSE(editor.exportBook());

    // A cell being typed in does not land on the imported entry.
    type(editor, 0, kBookNameColumn, "Z");
    prompter.files = {path("other.cb")};
    ASSERT_TRUE(editor.importBook());
    EXPECT_EQ(editor.form().buffer(), other);
    EXPECT_EQ(editor.grid()->item(0, kBookNameColumn)->text(), "OTHER");
}

TEST_F(CommBookEditorTest, OpenedFromTheMenuOkIsOneStepAndUnchangedBookStaysSaved)
{
    MainWindow window(st, prompter);
    window.load();
    QSignalSpy requested(&window, &MainWindow::commBookRequested);
    QAction* item = window.findChild<QAction*>("MnuCommBook");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_EQ(requested.count(), 1);

    // OK without edits changes nothing.
    st.history.edit({kStepCommBook}, [&] {
        CommBookEditor editor(st.ws, st, prompter);
        type(editor, 3, kBookCallIdColumn, ""); // entered and left
        editor.commit();
    });
    EXPECT_FALSE(IsModified(st.ws));
    EXPECT_EQ(st.history.count(), 0);

    st.history.edit({kStepCommBook}, [&] {
        CommBookEditor editor(st.ws, st, prompter);
        type(editor, 3, kBookNameColumn, "ANN");
        editor.commit();
    });
    EXPECT_TRUE(IsModified(st.ws));
    EXPECT_EQ(st.ws.live.body.Book[3].Name.trimmed(), "ANN");
    ASSERT_EQ(st.history.count(), 1);
    // The book sits in the data file from byte 6874, 14 bytes an entry.
    st.ws.fileName = dir.file("site.dat");
    ASSERT_TRUE(SaveCodeplug(st.ws));
    const auto data = ReadBytes(dir.file("site.dat"));
    ASSERT_EQ(data.size(), kDataFileSize);
    EXPECT_EQ(std::string(data.begin() + 6874 + 3 * 14 + 7, data.begin() + 6874 + 4 * 14), std::string("ANN\0   ", 7));
    st.history.undo();
    EXPECT_EQ(st.ws.live.body.Book, DefaultCommBook());
}
// Typing on a cell opens it with that key; the next keys follow it.
TEST_F(CommBookEditorTest, KeyThatOpensACellIsKept)
{
    CommBookEditor editor(st.ws, st, prompter);
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.grid()->setFocus();
    editor.grid()->setCurrentCell(2, kBookCallIdColumn);
    QTest::keyClick(editor.grid(), '1');
    QTest::qWait(20);
    ASSERT_TRUE(editor.cellBox());
    QTest::keyClicks(editor.cellBox(), "23");
    EXPECT_EQ(editor.cellBox()->text(), "123");
}
