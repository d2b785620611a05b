// File > Print: the section boxes, the buttons, PDF export and the preview.

#include "app_fixture.h"

#include "app/main_window.h"
#include "app/print_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

namespace {

class PrintDialogTest : public AppFixture {
protected:
    AppState st;
    void SetUp() override
    {
        AppFixture::SetUp();
        StartUp(st, inputs());
    }
    static bool shown(const PrintDialog& d, ReportSection s) { return !d.box(s)->isHidden(); }
};

} // namespace

TEST_F(PrintDialogTest, BoxesFollowTheSwitchesAndTheRadioRead)
{
    {
        const PrintDialog dialog(st, prompter);
        for (ReportSection s : {ReportSection::Dtmf, ReportSection::TwoTone, ReportSection::FiveTone,
                                ReportSection::EmbeddedInfo})
            EXPECT_FALSE(shown(dialog, s)) << ReportSectionName(s);
        EXPECT_TRUE(shown(dialog, ReportSection::Channels));
        EXPECT_TRUE(dialog.box(ReportSection::Channels)->isChecked());
        // A hidden box does not print, ticked or not.
        const auto chosen = dialog.chosen();
        EXPECT_EQ(std::count(chosen.begin(), chosen.end(), ReportSection::Dtmf), 0);
        EXPECT_EQ(dialog.box(ReportSection::Channels)->text(), st.text(7001));
        EXPECT_EQ(dialog.windowTitle(), "Print");
    }
    st.setLanguage(kLanguageChinese);
    EXPECT_EQ(PrintDialog(st, prompter).windowTitle(), QString::fromUtf8("打印"));
    st.setLanguage(kLanguageEnglish);
    st.switches.Dtmf = 1;
    st.radioInfo = std::make_shared<const EmbeddedInfo>();
    const PrintDialog dialog(st, prompter);
    EXPECT_TRUE(shown(dialog, ReportSection::Dtmf));
    EXPECT_TRUE(shown(dialog, ReportSection::EmbeddedInfo));
    EXPECT_FALSE(shown(dialog, ReportSection::FiveTone));
    const Report r = dialog.report();
    ASSERT_FALSE(r.parts.empty());
    EXPECT_EQ(r.parts.back().section, ReportSection::EmbeddedInfo);
}

TEST_F(PrintDialogTest, ActionsNeedATickAndTheChoiceIsKeptForTheRun)
{
    {
        PrintDialog dialog(st, prompter);
        dialog.findChild<QPushButton*>("cmdClearAll")->click();
        for (QPushButton* b : {dialog.previewButton(), dialog.printButton(), dialog.pdfButton()})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        dialog.box(ReportSection::CommBook)->setChecked(true);
        for (QPushButton* b : {dialog.previewButton(), dialog.printButton(), dialog.pdfButton()})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    }
    PrintDialog again(st, prompter);
    EXPECT_EQ(again.chosen(), std::vector{ReportSection::CommBook});
    again.findChild<QPushButton*>("cmdSelectAll")->click();
    EXPECT_EQ(again.chosen().size(), 6u); // every section offered without switches or a read
}

TEST_F(PrintDialogTest, ExportPdfWritesTheFileOrTellsFileError)
{
    PrintDialog dialog(st, prompter);
    const QString good = QString::fromStdString(dir.file("sheet.pdf"));
    const QString missing = QString::fromStdString(dir.file("gone/sheet.pdf"));
    prompter.files = {good, missing};

    ASSERT_TRUE(dialog.exportPdf());
    EXPECT_TRUE(prompter.asked.isEmpty());
    EXPECT_EQ(prompter.suffixSeen.value(0), "pdf");
    QFile pdf(good);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    EXPECT_FALSE(dialog.exportPdf());
    EXPECT_EQ(prompter.asked, QStringList{st.builtIn(BuiltIn::FileError)});
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(PrintDialogTest, PreviewOpensAndAsksForPages)
{
    PrintDialog dialog(st, prompter);
    int pages = -1;
    bool seen = false;
    // The preview is modal: look at it once it is up, then close it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            if (!preview || !preview->isVisible())
                continue;
            if (auto* pagesWidget = preview->findChild<QPrintPreviewWidget*>()) {
                pagesWidget->updatePreview();
                pages = pagesWidget->pageCount();
            }
            seen = true;
            preview->reject();
        }
    });
    poll.start(50);
    QTimer::singleShot(20000, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w))
                preview->reject();
    });
    dialog.previewButton()->click();
    EXPECT_TRUE(seen);
    EXPECT_GE(pages, 1);
}

TEST_F(PrintDialogTest, FilePrintIsOnTheMenuWithCtrlP)
{
    MainWindow window(st, prompter);
    window.load();
    QSignalSpy asked(&window, &MainWindow::printRequested);
    QAction* item = window.action("mnuFilePrint");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->shortcut(), QKeySequence(QKeySequence::Print));
    item->trigger();
    EXPECT_EQ(asked.count(), 1);
}
