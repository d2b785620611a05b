#include "port_access.h"
#include "transfer_runner.h"

#include "support/radiosim_process.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>

#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <unistd.h>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "test_serial";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

} // namespace

TEST(PortAccess, PermissionNamesTheOwningGroupAndTheFix)
{
    TempDir dir;
    const std::string device = dir.file("ttyUSB9");
    QFile f(QString::fromStdString(device));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const group* own = getgrgid(getegid());
    ASSERT_NE(own, nullptr);

    const PortAccess a = ClassifyPortError(device, EACCES);
    EXPECT_EQ(a.problem, PortProblem::Permission);
    EXPECT_EQ(a.group, own->gr_name);
    const std::string words = PortAccessWords(a);
    EXPECT_NE(words.find(device), std::string::npos) << words;
    EXPECT_NE(words.find(std::string("usermod -aG ") + own->gr_name), std::string::npos) << words;

    // A missing device is not a permission problem, nor a usable one a problem.
    EXPECT_EQ(CheckPortAccess(dir.file("nothing")).problem, PortProblem::Missing);
    EXPECT_EQ(CheckPortAccess(device).problem, PortProblem::None);
    EXPECT_TRUE(PortAccessWords(CheckPortAccess(device)).empty());
    const PortAccess other = ClassifyPortError(device, EIO);
    EXPECT_EQ(other.problem, PortProblem::Other);
    EXPECT_NE(PortAccessWords(other).find(device), std::string::npos);
}

TEST(PortAccess, APortHeldByAnotherTransferIsBusyAndNamesItsHolder)
{
    ensureApp();
    qtx::testing::RadioSimProcess sim;
    if (qtx::testing::RadioSimPath().isEmpty())
        GTEST_SKIP() << "qtx-radiosim is not built";
    ASSERT_TRUE(sim.start({}));
    QSerialPort first(sim.device());
    ASSERT_TRUE(first.open(QIODevice::ReadWrite));
    QSerialPort second(sim.device());
    ASSERT_FALSE(second.open(QIODevice::ReadWrite));

    const PortAccess a = DiagnosePortOpenFailure(sim.device(), second.error());
    EXPECT_EQ(a.problem, PortProblem::Busy);
    EXPECT_NE(a.holder.find("process " + std::to_string(getpid())), std::string::npos) << a.holder;
    const std::string words = PortAccessWords(a);
    EXPECT_NE(words.find(sim.device().toStdString() + " is in use by"), std::string::npos) << words;

    // The runner reports the same in its result, without a transfer.
    RadioImage image{};
    struct NoPrompts : LinkPrompter {
        bool askRetry() override { return false; }
        std::optional<std::string> askPassword(const std::string&) override { return std::nullopt; }
        void showMessage(const std::string&) override {}
    } prompts;
    TransferRunner runner(image, prompts);
    EXPECT_FALSE(runner.start(TransferMode::Read, sim.device()));
    EXPECT_EQ(runner.portAccess().problem, PortProblem::Busy);
    EXPECT_EQ(runner.result().endText, "2002");
    EXPECT_NE(runner.result().detail.find("is in use by"), std::string::npos) << runner.result().detail;

    first.close();
    EXPECT_TRUE(runner.start(TransferMode::InfoRead, sim.device()));
    runner.abandon();
}
