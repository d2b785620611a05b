#pragma once
// A window shown and active, and keys typed as a user types them: each to
// the focused widget, with the event loop running in between.

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace qtx::testing {

// Use inside a test (it asserts): the window is shown and has the focus.
inline void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

inline void TypeKeys(const QString& keys)
{
    for (QChar c : keys) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QCoreApplication::processEvents();
    }
}

} // namespace qtx::testing
