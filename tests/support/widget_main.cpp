// Widget tests run in one QApplication on the offscreen platform.

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The per-user store of the tests is their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("QTX");
    QApplication::setApplicationName("QTX");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
