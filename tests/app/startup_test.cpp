#include "app_fixture.h"

#include "files/program_settings.h"
#include "app/window_placement.h"

#include <QFile>
#include <QFileInfo>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

TEST_F(AppFixture, LanguageFollowsTheChineseChinaLocaleOnly)
{
    EXPECT_EQ(LanguageForLocale("zh_CN"), kLanguageChinese);
    EXPECT_EQ(LanguageForLocale("zh_TW"), kLanguageEnglish);
    EXPECT_EQ(LanguageForLocale("de_DE"), kLanguageEnglish);
    AppState st;
    StartUp(st, inputs("zh_CN"));
    EXPECT_TRUE(st.languageFile().endsWith("language/chinese.ini"));
    EXPECT_FALSE(st.text(1000).isEmpty());
}

TEST_F(AppFixture, FirstRunIsRewrittenAndPortCorrected)
{
    writeSettings("[language]\r\nIsFirstRun=1\r\ncomPort=7\r\nFactoryFres=0\r\nSkin=blue\r\n");
    AppState st;
    StartUp(st, inputs("en_US", {3, 4}));
    EXPECT_TRUE(st.isFirstRun);
    EXPECT_EQ(st.comPort, 3); // 7 is gone: the first listed port
    const QString text = readSettings();
    EXPECT_TRUE(text.contains("IsFirstRun=0\r\n"));
    EXPECT_TRUE(text.contains("comPort=3\r\n"));
    EXPECT_TRUE(text.contains("Skin=blue")); // the rest stays

    AppState again;
    StartUp(again, inputs("en_US", {3, 4}));
    EXPECT_FALSE(again.isFirstRun);
}

TEST_F(AppFixture, NoPortsWritesZero)
{
    writeSettings("[language]\nIsFirstRun=0\ncomPort=2\nFactoryFres=0\n");
    AppState st;
    StartUp(st, inputs("en_US", {}));
    EXPECT_EQ(st.comPort, 0);
    EXPECT_TRUE(readSettings().contains("comPort=0"));
}

TEST_F(AppFixture, MissingOrMalformedSettingsTakeSafeDefaults)
{
    AppState st;
    StartUp(st, inputs("en_US", {1}));
    EXPECT_FALSE(st.isFirstRun);
    EXPECT_EQ(st.factoryFres, 0);
    EXPECT_TRUE(QFileInfo::exists(programDir + "/language/mysetup.ini"));

    writeSettings("[language]\nIsFirstRun=maybe\ncomPort=COM3\nFactoryFres=7\n[ports]\nCOM99=/tmp/radio\n");
    const ProgramSettingsValues v = ReadProgramSettings(LocateSettings(programDir.toStdString(), configDir.toStdString()));
    EXPECT_FALSE(v.isFirstRun);
    EXPECT_EQ(v.comPort, 0);
    EXPECT_EQ(v.factoryFres, 0);
    EXPECT_EQ(v.ports.at(99), "/tmp/radio");
}

TEST_F(AppFixture, ExtraPortsCountAsListed)
{
    writeSettings("[language]\ncomPort=99\n[ports]\nCOM99=/tmp/radio\n");
    AppState st;
    StartUp(st, inputs("en_US", {1}));
    EXPECT_EQ(st.comPort, 99);
}

TEST_F(AppFixture, ReadOnlyProgramDirectoryUsesThePerUserFolder)
{
    writeSettings("[language]\nIsFirstRun=1\ncomPort=0\nSkin=blue\n");
    const auto readOnly = [](const std::string&, const std::string&) { return false; };
    const SettingsPaths paths = LocateSettings(programDir.toStdString(), configDir.toStdString(), readOnly);
    EXPECT_EQ(paths.programSettings, (configDir + "/mysetup.ini").toStdString());
    EXPECT_EQ(paths.switches, (configDir + "/Setting.ini").toStdString());
    // Seeded from the shipped copy, so nothing in it is lost.
    PrepareProgramSettings(paths);
    QFile seeded(QString::fromStdString(paths.programSettings));
    ASSERT_TRUE(seeded.open(QIODevice::ReadOnly));
    EXPECT_TRUE(seeded.readAll().contains("Skin=blue"));

    const SettingsPaths writable = LocateSettings(programDir.toStdString(), configDir.toStdString());
    EXPECT_EQ(writable.programSettings, (programDir + "/language/mysetup.ini").toStdString());
}

TEST_F(AppFixture, InstalledProgramDirectoryIsNeverWrittenEvenWhenWritable)
{
    // As root every folder is writable: an installed copy must still keep
    // each user's settings apart and leave the shared files alone.
    writeSettings("[language]\nIsFirstRun=1\ncomPort=0\n");
    const QByteArray shipped = "[language]\nIsFirstRun=1\ncomPort=0\n";
    qtx::app::StartupInputs in = inputs("en_US", {5});
    in.sharedProgramDir = true;
    AppState st;
    StartUp(st, in);
    st.switches.TwoTone = 1;
    SaveSwitches(st);

    EXPECT_EQ(st.settingsFile, configDir + "/mysetup.ini");
    EXPECT_EQ(readSettings().toUtf8(), shipped) << "the shipped mysetup.ini was changed";
    EXPECT_FALSE(QFileInfo::exists(programDir + "/Setting.ini"));
    EXPECT_TRUE(QFileInfo::exists(configDir + "/Setting.ini"));
    QFile perUser(configDir + "/mysetup.ini");
    ASSERT_TRUE(perUser.open(QIODevice::ReadOnly));
    EXPECT_TRUE(perUser.readAll().contains("comPort=5"));
}

TEST_F(AppFixture, SwitchFileIsReadAndWritten)
{
    qtx::testing::WriteBytes((programDir + "/Setting.ini").toStdString(), {0, 0, 1, 0, 0, 0, 0, 0, 1, 0});
    AppState st;
    StartUp(st, inputs());
    EXPECT_EQ(st.switches.TwoTone, 1);
    st.switches.FiveTone = 1;
    SaveSwitches(st);
    EXPECT_EQ(qtx::testing::ReadBytes((programDir + "/Setting.ini").toStdString()),
              (std::vector<uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 1, 0}));
}

TEST(WindowPlacement, TwipsAndMinimum)
{
    QSettings("QTX", "QTX").clear();
    EXPECT_EQ(PixelsToTwips(96, 96.0), 1440);
    EXPECT_EQ(TwipsToPixels(3000, 96.0), 200);
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(ReadWindowPlacement(screen, 96.0), screen); // defaults: the whole screen
    WriteWindowPlacement(QRect(10, 20, 100, 90), 96.0);
    QSettings store("QTX", "QTX");
    EXPECT_EQ(store.value("Settings/MainLeft").toString(), "150");
    EXPECT_EQ(store.value("Settings/MainWidth").toString(), "1500");
    // Below 3000 twips springs back to 3000.
    EXPECT_EQ(ReadWindowPlacement(screen, 96.0), QRect(10, 20, 200, 200));
}
