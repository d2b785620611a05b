// Installs the build into a temporary prefix and runs the installed programs
// from there with an empty home folder, the way a user meets them.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <map>

namespace {

const QString kBuildDir = QTX_BUILD_DIR;
const QString kAppId = QTX_APP_ID;

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

// A clean home: nothing of the developer's settings, and every XDG folder
// left to its default under HOME.
QProcessEnvironment cleanEnvironment(const QString& home, const QString& locale = "C")
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& key : env.keys())
        if (key.startsWith("XDG_") || key.startsWith("LC_") || key == "LANG" || key == "LANGUAGE" || key == "QTX_PROGRAM_DIR")
            env.remove(key);
    env.insert("HOME", home);
    env.insert("LC_ALL", locale);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString runtime = home + "/.runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", runtime);
    return env;
}

Outcome run(const QString& program, const QStringList& args, const QString& workDir = {},
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    Outcome r;
    if (!p.waitForStarted(10000)) {
        r.err = ("cannot start " + program).toUtf8();
        return r;
    }
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString tool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(name);
    EXPECT_FALSE(path.isEmpty()) << name << " is missing (scripts/deps.sh installs it)";
    return path;
}

// Every file below a folder with its size and modification time.
std::map<QString, QString> snapshot(const QString& root)
{
    std::map<QString, QString> files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        files[QDir(root).relativeFilePath(f.filePath())] =
            QString("%1 %2").arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    }
    return files;
}

QStringList filesBelow(const QString& root)
{
    QStringList names;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(root).relativeFilePath(it.next());
    return names;
}

class InstallTest : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    QString prefix, shared, home;

    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        prefix = scratch.filePath("usr");
        shared = prefix + "/share/qtx";
        home = scratch.filePath("home");
        QDir().mkpath(home);
        const Outcome install = run(QTX_CMAKE_COMMAND, {"--install", kBuildDir, "--prefix", prefix});
        ASSERT_EQ(install.status, 0) << install.out.constData() << install.err.constData();
    }

    QString bin(const char* program) const { return prefix + "/bin/" + program; }
};

TEST_F(InstallTest, LaysOutProgramsSharedFilesIconsAndManPages)
{
    for (const char* program : {"qtx", "qtx-cli", "qtx-radiosim"})
        EXPECT_TRUE(QFileInfo(bin(program)).isExecutable()) << program;
    EXPECT_EQ(QDir(prefix + "/bin").entryList(QDir::Files).size(), 3) << "only the three programs are installed";

    for (const char* file : {"language/english.ini", "language/chinese.ini", "StartE.jpg", "StartC.jpg"})
        EXPECT_TRUE(QFileInfo::exists(shared + "/" + file)) << file;
    // The whole help folder, whatever pages it holds.
    const QStringList pages = filesBelow(QString(QTX_SOURCE_TREE "/help"));
    EXPECT_FALSE(pages.isEmpty());
    for (const QString& page : pages)
        EXPECT_TRUE(QFileInfo::exists(shared + "/help/" + page)) << page.toStdString();

    const QString icons = prefix + "/share/icons/hicolor";
    EXPECT_TRUE(QFileInfo::exists(icons + "/scalable/apps/" + kAppId + ".svg"));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImageReader png(QString("%1/%2x%2/apps/%3.png").arg(icons).arg(size).arg(kAppId));
        EXPECT_EQ(png.size(), QSize(size, size)) << size;
    }
    for (const char* page : {"qtx", "qtx-cli", "qtx-radiosim"})
        EXPECT_TRUE(QFileInfo::exists(prefix + "/share/man/man1/" + page + ".1.gz")) << page;
}

TEST_F(InstallTest, DesktopEntryAndMetainfoPassTheValidators)
{
    const QString desktop = prefix + "/share/applications/" + kAppId + ".desktop";
    const QString metainfo = prefix + "/share/metainfo/" + kAppId + ".metainfo.xml";
    const Outcome entry = run(tool("desktop-file-validate"), {desktop});
    EXPECT_EQ(entry.status, 0) << entry.out.constData() << entry.err.constData();
    EXPECT_TRUE(entry.out.trimmed().isEmpty()) << "hints: " << entry.out.constData();
    const Outcome meta = run(tool("appstreamcli"), {"validate", "--no-net", "--pedantic", metainfo});
    EXPECT_EQ(meta.status, 0) << meta.out.constData() << meta.err.constData();

    // What the entry names is there: the program on the installed bin/, the icon in the theme.
    QFile file(desktop);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const auto value = [&](const char* key) {
        return QRegularExpression(QString("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption)
            .match(text)
            .captured(1);
    };
    EXPECT_TRUE(QFileInfo(prefix + "/bin/" + value("Exec").section(' ', 0, 0)).isExecutable());
    EXPECT_EQ(value("Icon"), kAppId);
    EXPECT_TRUE(value("Categories").contains("HamRadio;"));
}

// Each line of a program's --help shows up in its rendered manual page.
TEST_F(InstallTest, ManPagesRenderCleanlyAndCarryTheWholeHelp)
{
    const auto render = [&](const QString& page) {
        const Outcome text = run(tool("gzip"), {"-dc", prefix + "/share/man/man1/" + page + ".1.gz"});
        EXPECT_EQ(text.status, 0);
        QProcess groff;
        groff.start(tool("groff"), {"-man", "-Tascii", "-P-cbu", "-ww"});
        groff.write(text.out);
        groff.closeWriteChannel();
        groff.waitForFinished();
        EXPECT_TRUE(groff.readAllStandardError().isEmpty()) << page.toStdString() << " has roff warnings";
        return QString::fromUtf8(groff.readAllStandardOutput());
    };
    const auto squeeze = [](const QString& s) { return s.simplified(); };

    for (const char* program : {"qtx-cli", "qtx-radiosim"}) {
        SCOPED_TRACE(program);
        const QString page = render(program);
        QSet<QString> rendered;
        for (const QString& line : page.split('\n'))
            rendered << squeeze(line);
        const Outcome help = run(bin(program), {"--help"});
        ASSERT_EQ(help.status, 0);
        const QStringList lines = QString::fromUtf8(help.out).split('\n');
        ASSERT_GT(lines.size(), 10);
        for (const QString& line : lines) {
            if (!line.trimmed().isEmpty())
                EXPECT_TRUE(rendered.contains(squeeze(line))) << "missing: " << line.toStdString();
        }
    }
    const QString qtx = render("qtx");
    for (const char* section : {"NAME", "SYNOPSIS", "CONNECTING THE RADIO", "FILES", "SEE ALSO"})
        EXPECT_TRUE(qtx.contains(QString("\n") + section + "\n")) << section;
    EXPECT_TRUE(qtx.contains("dialout"));
}

TEST_F(InstallTest, InstalledCliTakesTheFactoryFileFromShareQtxAndWritesNothingElse)
{
    const QString work = scratch.filePath("work");
    QDir().mkpath(work);
    const QProcessEnvironment env = cleanEnvironment(home);
    const QString cli = bin("qtx-cli");

    // A factory file pair that differs from the built-in defaults, placed
    // where a distributor would ship it.
    ASSERT_EQ(run(cli, {"new", "-q", "-o", "plain.dat"}, work, env).status, 0);
    ASSERT_EQ(run(cli, {"export", "-q", "plain.dat", "-o", "plain.json"}, work, env).status, 0);
    QFile json(work + "/plain.json");
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(json.readAll());
    json.close();
    const QRegularExpression message(R"("PowerOnMessage": "[^"]*")");
    ASSERT_TRUE(text.contains(message));
    text.replace(message, R"("PowerOnMessage": "Factory")");
    ASSERT_TRUE(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(text.toUtf8());
    json.close();
    QDir().mkpath(shared + "/Init");
    ASSERT_EQ(run(cli, {"import", "-q", "plain.json", "-o", shared + "/Init/QM-5210.dat"}, work, env).status, 0);

    const auto before = snapshot(prefix);
    const Outcome made = run(cli, {"new", "-o", "site.dat"}, work, env);
    ASSERT_EQ(made.status, 0) << made.err.constData();
    const Outcome exported = run(cli, {"export", "-q", "site.dat"}, work, env);
    ASSERT_EQ(exported.status, 0);
    EXPECT_TRUE(exported.out.contains(R"("PowerOnMessage": "Factory")")) << "the factory file was not found";

    EXPECT_EQ(snapshot(prefix), before) << "the installed tree was written to";
    QStringList written = QDir(work).entryList(QDir::Files);
    written.sort();
    EXPECT_EQ(written, (QStringList{"plain.dat", "plain.fre", "plain.json", "site.dat", "site.fre"}));
}

// The installed desktop program reads its shared files from share/qtx
// (watched with inotify) and keeps the settings in the user's home, even
// run as root, for whom the installed tree is writable.
TEST_F(InstallTest, InstalledDesktopProgramReadsShareQtxAndKeepsSettingsInHome)
{
    struct Case {
        const char* locale;
        QString languageFile, picture;
    };
    for (const Case& c : {Case{"C", "language/english.ini", "StartE.jpg"},
                          Case{"zh_CN.UTF-8", "language/chinese.ini", "StartC.jpg"}}) {
        SCOPED_TRACE(c.locale);
        const QString caseHome = home + "/" + c.locale;
        QDir().mkpath(caseHome);
        const auto before = snapshot(prefix);

        const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watcher, 0);
        std::map<int, QString> watched;
        for (const QString& dir : {QString(), QString("language")})
            watched[inotify_add_watch(watcher, QDir(shared).filePath(dir).toLocal8Bit().constData(), IN_OPEN)] =
                dir.isEmpty() ? dir : dir + "/";
        QSet<QString> opened;

        QProcess qtx;
        qtx.setProcessEnvironment(cleanEnvironment(caseHome, c.locale));
        qtx.setWorkingDirectory(caseHome);
        qtx.start(bin("qtx"), {});
        ASSERT_TRUE(qtx.waitForStarted(10000));
        const QString settings = caseHome + "/.config/QTX/QTX/mysetup.ini";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline &&
               !(opened.contains(c.languageFile) && opened.contains(c.picture) && QFileInfo::exists(settings))) {
            alignas(inotify_event) char buffer[4096];
            const ssize_t n = read(watcher, buffer, sizeof buffer);
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0)
                    opened << watched[e->wd] + QString::fromLocal8Bit(e->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
            if (qtx.state() != QProcess::Running)
                break;
            QThread::msleep(50);
        }
        close(watcher);
        // Give it a moment to fail, if it is going to.
        QThread::msleep(300);
        const bool running = qtx.state() == QProcess::Running;
        qtx.kill();
        qtx.waitForFinished();

        EXPECT_TRUE(running) << "qtx stopped: " << qtx.readAllStandardError().constData();
        EXPECT_TRUE(opened.contains(c.languageFile)) << "language file not read from share/qtx";
        EXPECT_TRUE(opened.contains(c.picture)) << "start-up picture not read from share/qtx";
        QFile written(settings);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "no settings under HOME";
        EXPECT_TRUE(written.readAll().contains("IsFirstRun=0"));
        EXPECT_EQ(snapshot(prefix), before) << "the installed tree was written to";
    }
}

class PackageTest : public ::testing::Test {
protected:
    QTemporaryDir out;

    // The package file cpack made for one generator.
    QString pack(const char* generator, const char* pattern)
    {
        const Outcome made = run(QTX_CPACK_COMMAND,
                             {"--config", kBuildDir + "/CPackConfig.cmake", "-G", generator, "-B", out.path()},
                             kBuildDir, QProcessEnvironment::systemEnvironment(), 180000);
        EXPECT_EQ(made.status, 0) << made.out.constData() << made.err.constData();
        const QStringList found = QDir(out.path()).entryList({pattern}, QDir::Files);
        return found.size() == 1 ? out.filePath(found.first()) : QString();
    }
};

TEST_F(PackageTest, DebianPackageDependsOnTheQtRuntimeAndInstallsOnThisSystem)
{
    const QString deb = pack("DEB", "qtx_*.deb");
    ASSERT_FALSE(deb.isEmpty());
    const Outcome arch = run(tool("dpkg"), {"--print-architecture"});
    EXPECT_EQ(QFileInfo(deb).fileName(),
              QString("qtx_%1_%2.deb").arg(QTX_PACKAGE_VERSION, QString::fromUtf8(arch.out.trimmed())));

    const auto field = [&](const char* name) {
        return QString::fromUtf8(run(tool("dpkg-deb"), {"-f", deb, name}).out.trimmed());
    };
    EXPECT_EQ(field("Package"), "qtx");
    EXPECT_EQ(field("Section"), "hamradio");
    const QString depends = field("Depends");
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6serialport6", "libstdc++6"})
        EXPECT_TRUE(depends.contains(library)) << library << " missing from: " << depends.toStdString();

    const QString contents = QString::fromUtf8(run(tool("dpkg-deb"), {"-c", deb}).out);
    for (const QString& path : {QString("./usr/bin/qtx"), QString("./usr/bin/qtx-cli"),
                                QString("./usr/share/qtx/language/english.ini"), QString("./usr/share/qtx/StartE.jpg"),
                                "./usr/share/applications/" + kAppId + ".desktop",
                                "./usr/share/icons/hicolor/48x48/apps/" + kAppId + ".png",
                                QString("./usr/share/man/man1/qtx-cli.1.gz")})
        EXPECT_TRUE(contents.contains(path + "\n")) << path.toStdString();

    // Every dependency can be met from what this system has or knows.
    const Outcome simulated = run(tool("apt-get"), {"install", "--simulate", "--no-install-recommends", deb});
    EXPECT_EQ(simulated.status, 0) << simulated.out.constData() << simulated.err.constData();
}

TEST_F(PackageTest, TarballHoldsTheInstallTreeAndRunsFromIt)
{
    const QString tarball = pack("TGZ", "qtx-*.tar.gz");
    ASSERT_FALSE(tarball.isEmpty());
    const QString place = out.filePath("somewhere/else");
    QDir().mkpath(place);
    ASSERT_EQ(run(tool("tar"), {"-xzf", tarball, "-C", place}).status, 0);
    const QStringList top = QDir(place).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(top.size(), 1);
    const QString root = place + "/" + top.first();
    EXPECT_TRUE(QFileInfo::exists(root + "/share/qtx/language/english.ini"));

    const QString home = out.filePath("home");
    QDir().mkpath(home);
    const Outcome made = run(root + "/bin/qtx-cli", {"new", "-o", "x.dat"}, home, cleanEnvironment(home));
    EXPECT_EQ(made.status, 0) << made.err.constData();
    EXPECT_TRUE(QFileInfo::exists(home + "/x.dat"));
}

} // namespace
