// Where mysetup.ini is found and how it is read: the same for the desktop
// program and qtx-cli.

#include "files/program_settings.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

class ProgramSettings : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(program() + "/language"); }
    std::string program() const { return dir.file("program"); }
    std::string user() const { return dir.file("user"); }
    void ship(const std::string& text) const { std::ofstream(program() + "/language/mysetup.ini") << text; }

    TempDir dir;
};

const auto kReadOnly = [](const std::string&, const std::string&) { return false; };

} // namespace

TEST_F(ProgramSettings, ReadOnlyProgramDirectoryMovesToThePerUserFolder)
{
    ship("[language]\nFactoryFres=1\nSkin=blue\n[ports]\nCOM99=/dev/shipped\n");
    const SettingsPaths paths = LocateSettings(program(), user(), kReadOnly);
    EXPECT_EQ(paths.programSettings, user() + "/mysetup.ini");
    EXPECT_EQ(paths.switches, user() + "/Setting.ini");
    EXPECT_FALSE(std::filesystem::exists(user())); // locating creates nothing

    // Before the per-user copy exists, what it will hold is read.
    EXPECT_EQ(ReadProgramSettings(paths).ports.at(99), "/dev/shipped");
    EXPECT_EQ(ReadProgramSettings(paths).factoryFres, 1);

    // Seeded once from the shipped file; later edits of the copy count and stay.
    PrepareProgramSettings(paths);
    std::ifstream seeded(paths.programSettings);
    const std::string text((std::istreambuf_iterator<char>(seeded)), {});
    EXPECT_NE(text.find("Skin=blue"), std::string::npos);
    std::ofstream(paths.programSettings) << "[ports]\nCOM99=/dev/mine\n";
    PrepareProgramSettings(paths);
    const ProgramSettingsValues v = ReadProgramSettings(paths);
    EXPECT_EQ(v.ports.at(99), "/dev/mine");
    EXPECT_EQ(v.factoryFres, 0);

    const SettingsPaths writable = LocateSettings(program(), user());
    EXPECT_EQ(writable.programSettings, program() + "/language/mysetup.ini");
    EXPECT_EQ(writable.switches, program() + "/Setting.ini");
}

TEST_F(ProgramSettings, PortsAreReadAsNumbersAndBadValuesAsDefaults)
{
    ship("[language]\nIsFirstRun=TRUE\ncomPort=COM3\nFactoryFres=7\nFixedPortList=1\n"
         "[ports]\ncom7 =  /dev/seven  \nCOM8=\nCOM255=/dev/last\nCOM256=/dev/beyond\nCOMx=/dev/x\n");
    const ProgramSettingsValues v = ReadProgramSettings(LocateSettings(program(), user()));
    EXPECT_TRUE(v.isFirstRun);
    EXPECT_EQ(v.comPort, 0);
    EXPECT_EQ(v.factoryFres, 0);
    EXPECT_TRUE(v.fixedPortList);
    EXPECT_EQ(v.ports, (std::map<int, std::string>{{7, "/dev/seven"}, {255, "/dev/last"}}));
}

TEST_F(ProgramSettings, AFileFoundNowhereIsCreatedWithTheDefaults)
{
    const SettingsPaths paths = LocateSettings(program(), user(), kReadOnly);
    const ProgramSettingsValues before = ReadProgramSettings(paths);
    EXPECT_EQ(before.comPort, 0);
    EXPECT_TRUE(before.ports.empty());
    PrepareProgramSettings(paths);
    ASSERT_TRUE(std::filesystem::exists(paths.programSettings));
    EXPECT_TRUE(WriteProgramSetting(paths.programSettings, "comPort", "4"));
    EXPECT_EQ(ReadProgramSettings(paths).comPort, 4);
}
