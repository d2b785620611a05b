// Reports written as PDF and read back as text with pdftotext -layout, the
// way a reader of the paper sees them.

#include "print/report_renderer.h"

#include "files/defaults.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qtx;

namespace {

std::string programDir()
{
    const char* dir = std::getenv("QTX_PROGRAM_DIR");
    return dir ? dir : "";
}

// Channel n receives on 140 MHz + n x 12.5 kHz and is named "N" + its ID;
// memory channel 7 (ID 6) is named "<&>".
Codeplug fullCodeplug()
{
    Workspace ws;
    NewCodeplug(ws, "/nonexistent", {});
    Codeplug cp = ws.live;
    for (int n = 1; n <= kMaxChannels; ++n) {
        ChannelRecord ch = BlankChannel(n);
        ch.InUse = 1;
        const long long units = 14000000 + n * 1250;
        ch.RxFrequency.setPadded(std::string(9 - std::to_string(units).size(), '0') + std::to_string(units));
        ch.Name.setTerminated(n == 7 ? "<&>" : "N" + std::to_string(n));
        ch.TxInhibit = n % 2;
        PasteChannel(cp, n, ChannelClipboard{ch});
    }
    return cp;
}

std::string rxText(int n)
{
    const long long units = 14000000 + n * 1250;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%05lld", units / 100000, units % 100000);
    return buf;
}

class ReportPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (programDir().empty())
            GTEST_FAIL() << "QTX_PROGRAM_DIR is not set (run the tests through ctest)";
        facts.fileName = "fleet.dat";
        facts.modified = true;
        facts.modelLabel = "QM-5210";
        facts.dateTime = "2026-12-10 08:15";
    }

    Report report(int language, std::vector<ReportSection> sections) const
    {
        const LanguageTable table(LanguageFilePath(programDir(), language));
        return BuildPrintReport(cp, nullptr, sections, table, language, facts);
    }

    // The pages of the PDF as pdftotext -layout reads them.
    QStringList pagesOf(const Report& r, QPageSize::PageSizeId size) const
    {
        const QString pdf = QString::fromStdString(dir.file("report.pdf"));
        const print::PdfResult written = print::WriteReportPdf(r, pdf, size);
        EXPECT_TRUE(written.ok) << written.error.toStdString();
        // To look at the pages: QTX_KEEP_PDF=/tmp/sheet- keeps /tmp/sheet-<page size>.pdf.
        if (const char* keep = std::getenv("QTX_KEEP_PDF")) {
            const QString copy = QString(keep) + QString::number(size) + ".pdf";
            QFile::remove(copy);
            QFile::copy(pdf, copy);
        }
        QProcess tool;
        tool.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
            ADD_FAILURE() << "pdftotext did not run (package poppler-utils)";
            return {};
        }
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split('\f');
        while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    Codeplug cp = fullCodeplug();
    ReportFacts facts;
    qtx::testing::TempDir dir;
};

// Each channel once, ID, receive frequency and name on one line that ends
// with the scan-skip and TX-inhibit cells; the page furniture on every page.
void expectChannelSheet(const QStringList& pages)
{
    ASSERT_GT(pages.size(), 2) << "203 channels take several pages";
    const QString all = pages.join('\n');
    const int m = static_cast<int>(pages.size());
    for (int i = 0; i < m; ++i) {
        EXPECT_TRUE(pages[i].contains("QTX Radio Programming Information")) << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains(QString("Page %1 of %2").arg(i + 1).arg(m))) << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains("fleet.dat (unsaved changes)")) << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains("2026-12-10 08:15")) << "page " << i + 1;
        // The channel table runs over every page: its heading row repeats.
        EXPECT_TRUE(pages[i].contains(QRegularExpression("\\bID\\s+RX\\b"))) << "page " << i + 1;
    }
    for (int n = 1; n <= kMaxChannels; ++n) {
        const QString id = QString::fromStdString(n <= 200 ? std::to_string(n - 1) : n == 201 ? "PA" : n == 202 ? "PB" : "VFO");
        const QString name = n == 7 ? "<&>" : QString("N%1").arg(n);
        const QString inhibit = n % 2 ? "On" : "Off";
        const QRegularExpression row("^\\s*" + QRegularExpression::escape(id) + "\\s+" +
                                         QRegularExpression::escape(QString::fromStdString(rxText(n))) + "\\s+\\S+\\s+" +
                                         QRegularExpression::escape(name) + "\\s.*\\s(On|Off)\\s+" + inhibit + "\\s*$",
                                     QRegularExpression::MultilineOption);
        EXPECT_EQ(all.count(row), 1) << "channel " << id.toStdString();
    }
    EXPECT_FALSE(all.contains("&amp;"));
    EXPECT_FALSE(all.contains("&lt;"));
}

} // namespace

TEST_F(ReportPdf, AllChannelsOnA4AndLetter)
{
    const Report r = report(kLanguageEnglish, {ReportSection::Channels});
    {
        SCOPED_TRACE("A4");
        expectChannelSheet(pagesOf(r, QPageSize::A4));
    }
    {
        SCOPED_TRACE("Letter");
        expectChannelSheet(pagesOf(r, QPageSize::Letter));
    }
}

TEST_F(ReportPdf, ChineseReportKeepsItsGlyphs)
{
    const std::vector all(kReportSections.begin(), kReportSections.end());
    facts.switches = {1, 1, 1, 0, 0};
    const Report r = report(kLanguageChinese, all);
    const QString text = pagesOf(r, QPageSize::A4).join('\n');
    const LanguageTable zh(LanguageFilePath(programDir(), kLanguageChinese));
    for (int id : {7000, 7001, 5021, 5029, 2400, 2600, 5023, 5024, 5025, 5804}) {
        const std::string heading = zh.TextLookup(id);
        ASSERT_FALSE(heading.empty());
        // pdftotext may space out CJK text; compare without blanks.
        QString squeezed = text;
        squeezed.remove(QRegularExpression("\\s"));
        EXPECT_TRUE(squeezed.contains(QString::fromUtf8(heading.c_str()).remove(QRegularExpression("\\s"))))
            << "heading " << id;
    }
}

TEST_F(ReportPdf, UnwritableFolderLeavesNothing)
{
    const Report r = report(kLanguageEnglish, {ReportSection::Options});
    const QString target = QString::fromStdString(dir.file("missing/sheet.pdf"));
    const print::PdfResult written = print::WriteReportPdf(r, target);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
