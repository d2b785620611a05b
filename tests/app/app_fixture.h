#pragma once
// A program directory of its own per test: the real language files, an
// optional factory file, mysetup.ini and Setting.ini as the test wants.

#include "app/app_state.h"
#include "app/startup.h"

#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace qtx::testing {

class AppFixture : public ::testing::Test {
protected:
    TempDir dir;
    QString programDir;
    QString configDir;
    ScriptedPrompter prompter;

    void SetUp() override
    {
        programDir = QString::fromStdString((dir.path() / "program").string());
        configDir = QString::fromStdString((dir.path() / "config").string());
        QDir().mkpath(programDir + "/language");
        const QString source = qEnvironmentVariable("QTX_SOURCE_DIR");
        ASSERT_FALSE(source.isEmpty());
        for (const char* name : {"english.ini", "chinese.ini"})
            ASSERT_TRUE(QFile::copy(source + "/language/" + name, programDir + "/language/" + name));
        QSettings("QTX", "QTX").clear();
    }

    void writeSettings(const QString& text)
    {
        QFile f(programDir + "/language/mysetup.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }

    QString readSettings() const
    {
        QFile f(programDir + "/language/mysetup.ini");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll());
    }

    app::StartupInputs inputs(const QString& locale = "en_US", QList<int> ports = {1, 2}) const
    {
        app::StartupInputs in;
        in.programDir = programDir;
        in.userConfigDir = configDir;
        in.localeName = locale;
        in.listedPorts = [ports](const QMap<int, QString>& extra) {
            QList<int> all = ports;
            for (int n : extra.keys())
                if (!all.contains(n))
                    all << n;
            return all;
        };
        return in;
    }
};

} // namespace qtx::testing
