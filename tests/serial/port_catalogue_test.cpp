#include "port_catalogue.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

PortCatalogue withDevices(QStringList devices, const QMap<QString, QString>& configured = {})
{
    PortCatalogue c(configured);
    c.setDeviceLister([devices] { return devices; });
    return c;
}

QStringList names(const QList<PortEntry>& list)
{
    QStringList out;
    for (const auto& e : list)
        out << e.name + QLatin1Char('=') + e.device;
    return out;
}

void touch(const std::string& path)
{
    QFile f(q(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(PortCatalogue, StableNumbersForSystemDevices)
{
    EXPECT_EQ(PatternPortNumber("/dev/ttyS0"), 1);
    EXPECT_EQ(PatternPortNumber("/dev/ttyS31"), 32);
    EXPECT_EQ(PatternPortNumber("/dev/ttyS32"), 0); // would collide with ttyUSB0
    EXPECT_EQ(PatternPortNumber("/dev/ttyUSB0"), 33);
    EXPECT_EQ(PatternPortNumber("/dev/ttyUSB31"), 64);
    EXPECT_EQ(PatternPortNumber("/dev/ttyACM0"), 65);
    EXPECT_EQ(PatternPortNumber("/dev/ttyACM12"), 77);
    for (const char* other : {"/dev/ttyAMA0", "/dev/ttyS01", "/dev/ttyUSB", "/dev/ttyUSBx", "/dev/pts/3",
                              "ttyS0", "/dev/ttyS-1", "/dev/ttyACM99999"})
        EXPECT_EQ(PatternPortNumber(other), 0) << other;

    EXPECT_EQ(PatternPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(PatternPortDevice(33), "/dev/ttyUSB0");
    EXPECT_EQ(PatternPortDevice(66), "/dev/ttyACM1");
    EXPECT_EQ(PatternPortDevice(0), "");

    const auto c = withDevices({"/dev/ttyUSB1", "/dev/ttyACM2", "/dev/ttyAMA0", "/dev/ttyS0"});
    EXPECT_EQ(names(c.ports()),
              (QStringList{"COM1=/dev/ttyS0", "COM34=/dev/ttyUSB1", "COM67=/dev/ttyACM2"}));
    QList<PortEntry> list{PortEntry{5, "COM5", "stale"}};
    EXPECT_EQ(FillPortList(c, list), 1);
    EXPECT_EQ(list.size(), 3);
    EXPECT_TRUE(IsPortListed(c, 34));
    EXPECT_FALSE(IsPortListed(c, 33));
    EXPECT_EQ(FirstListedPort(c), 1);

    const auto none = withDevices({});
    EXPECT_EQ(FillPortList(none, list), 0);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(FirstListedPort(none), 0);
    EXPECT_FALSE(IsPortListed(none, 1));
}

TEST(PortCatalogue, ConfiguredPortsAndResolution)
{
    TempDir dir;
    const std::string device = dir.file("pts-7");
    touch(device);
    const std::string link = dir.file("radio");
    std::filesystem::create_symlink(device, link);

    const QMap<QString, QString> configured{
        {"COM99", q(link)},
        {"com2", q(dir.file("missing"))}, // listed only while it exists
        {"COM34", q(device)},             // takes the number of a system port
        {"PORT1", q(device)},
        {"COM0", q(device)},
        {"COM40000", q(device)},
        {"COMx", q(device)},
    };
    const auto c = withDevices({"/dev/ttyUSB1", "/dev/ttyS0"}, configured);
    EXPECT_EQ(c.configuredPorts().keys(), (QList<int>{2, 34, 99}));
    EXPECT_EQ(names(c.ports()),
              (QStringList{"COM1=/dev/ttyS0", "COM34=" + q(device), "COM99=" + q(link)}));
    EXPECT_FALSE(IsPortListed(c, 2));
    touch(dir.file("missing"));
    EXPECT_TRUE(IsPortListed(c, 2));
    EXPECT_EQ(FirstListedPort(c), 1);

    const QString real = QFileInfo(q(device)).canonicalFilePath();
    EXPECT_EQ(ResolvePortDevice(c, "COM99"), real);
    EXPECT_EQ(ResolvePortDevice(c, " com99 "), real);
    EXPECT_EQ(ResolvePortDevice(c, q(link)), real);
    EXPECT_EQ(ResolvePortDevice(c, "COM98"), std::nullopt);
    EXPECT_EQ(ResolvePortDevice(c, "COM"), std::nullopt);
    EXPECT_EQ(ResolvePortDevice(c, q(dir.file("nothing"))), std::nullopt);
    EXPECT_EQ(ResolvePortDevice(c, q(dir.path().string())), std::nullopt); // a folder
    EXPECT_EQ(ResolvePortDevice(c, "null"), "/dev/null");
    EXPECT_EQ(ResolvePortDevice(c, ""), std::nullopt);

    // The first configured entry naming the device is the number it is listed under.
    EXPECT_EQ(ListedPortNumber(c, q(link)), 34);
    EXPECT_EQ(ListedPortNumber(c, "/dev/ttyS0"), 1);
    EXPECT_EQ(ListedPortNumber(c, "/dev/ttyS5"), 0);
}

TEST(PortCatalogue, ConfiguredNumberMovesASystemDevice)
{
    if (!QFileInfo::exists("/dev/ttyS0"))
        GTEST_SKIP() << "no /dev/ttyS0 on this machine";
    const auto c = withDevices({"/dev/ttyS0", "/dev/ttyUSB0"}, {{"COM9", "/dev/ttyS0"}});
    EXPECT_EQ(names(c.ports()), (QStringList{"COM9=/dev/ttyS0", "COM33=/dev/ttyUSB0"}));
    EXPECT_FALSE(IsPortListed(c, 1));
    EXPECT_EQ(ResolvePortDevice(c, "COM9"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortDevice(c, "COM1"), std::nullopt);
}
