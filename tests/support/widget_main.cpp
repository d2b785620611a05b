// Widget tests run in one QApplication on the offscreen platform.

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The per-user store of the tests is their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    // ... and each test program's own: ctest runs several at once, and one
    // clearing the store must not reset what another has just written.
    const QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication app(argc, argv);
    QApplication::setOrganizationName("QTX");
    QApplication::setApplicationName("QTX");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
