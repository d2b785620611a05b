// qtx-cli report: the programming sheet as a PDF from a script, without a
// display, read back with pdftotext.

#include "cli_process.h"
#include "support/random_codeplug.h"

#include <QProcessEnvironment>

#include <filesystem>
#include <memory>

using namespace qtx;
using namespace qtx::testing;

namespace {

// As a script on a machine without a display starts it.
CliRun runWithoutDisplay(const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(ProgramPath("qtx-cli"), args);
    CliRun r;
    if (!p.waitForStarted(5000) || !p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

QString pdfText(const std::string& pdf)
{
    QProcess tool;
    tool.start("pdftotext", {"-layout", "-enc", "UTF-8", Q(pdf), "-"});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        if (ProgramPath("qtx-cli").isEmpty())
            GTEST_FAIL() << "qtx-cli not found (run the tests through ctest)";
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    TempDir dir;
};

} // namespace

TEST_F(ReportCommand, EveryChannelNameInUsePrintsInBothLanguages)
{
    CodeplugGenerator gen(23);
    auto cp = std::make_unique<Codeplug>(gen.make());
    SavePair(*cp, file("random.dat"));
    QStringList names;
    for (int i = 0; i < cp->count(); ++i) {
        // Single-byte names, as the PDF's UTF-8 text shows them; pdftotext
        // may widen a blank inside a name.
        const std::string raw = cp->channels[static_cast<size_t>(i)].Name.trimmed();
        const QString name = QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size())).simplified();
        if (!name.isEmpty())
            names << name;
    }
    ASSERT_GT(names.size(), 20);

    for (const char* language : {"en", "zh"}) {
        SCOPED_TRACE(language);
        const std::string out = file(std::string("sheet-") + language + ".pdf");
        const CliRun r = runWithoutDisplay({"report", Q(file("random.dat")), "-o", Q(out), "--language", language,
                                            "--section", "channels", "-q"});
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_EQ(r.err, "");
        const QString text = pdfText(out).simplified();
        ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) could not read " << out;
        for (const QString& name : names)
            EXPECT_TRUE(text.contains(name)) << name.toStdString();
    }
}

TEST_F(ReportCommand, UnwritableTargetIsStatusTwoAndLeavesNothing)
{
    CodeplugGenerator gen(5);
    SavePair(gen.make(), file("a.dat"));
    const std::string missing = file("no-such-folder/sheet.pdf");
    const CliRun r = runWithoutDisplay({"report", Q(file("a.dat")), "-o", Q(missing)});
    EXPECT_EQ(r.status, 2) << r;
    EXPECT_TRUE(r.oneLine()) << r;
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(std::filesystem::exists(file("no-such-folder")));

    // Wrong section and language names are usage errors, before any file is touched.
    EXPECT_EQ(RunCli({"report", Q(file("a.dat")), "-o", Q(file("x.pdf")), "--section", "nope"}).status, 1);
    EXPECT_EQ(RunCli({"report", Q(file("a.dat")), "-o", Q(file("x.pdf")), "--section", "info"}).status, 1);
    EXPECT_EQ(RunCli({"report", Q(file("a.dat")), "-o", Q(file("x.pdf")), "--language", "fr"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(file("x.pdf")));
}
