// The key filter of text boxes: typed keys, input-method commits and paste
// go through the box's key rule.

#include "ui/field_filter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::ui::FieldFilter;

namespace {

void commit(QLineEdit& box, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&box, &event);
}

} // namespace

TEST(FieldFilter, TypedKeysAreMappedOrRefused)
{
    QLineEdit box;
    FieldFilter::install(&box, HexKey);
    QTest::keyClicks(&box, "a1g-F");
    EXPECT_EQ(box.text(), "A1F");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "A1");
    QKeyEvent above127(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u00e4"));
    QApplication::sendEvent(&box, &above127);
    EXPECT_EQ(box.text(), "A1");
}

TEST(FieldFilter, AMappedKeyStillCountsAsTyped)
{
    QLineEdit box;
    FieldFilter::install(&box, DtmfCodeKey);
    QStringList edited;
    QObject::connect(&box, &QLineEdit::textEdited, [&](const QString& t) { edited << t; });
    QTest::keyClicks(&box, "d*");
    EXPECT_EQ(box.text(), "D*");
    EXPECT_EQ(edited, (QStringList{"D", "D*"}));
}

TEST(FieldFilter, InputMethodCommitsGoThroughTheRule)
{
    QLineEdit name;
    FieldFilter::install(&name, NameKey);
    commit(name, QString::fromUtf8("\u4e2d"));
    EXPECT_EQ(name.text(), "");
    commit(name, "AB");
    EXPECT_EQ(name.text(), "AB");
    commit(name, QString::fromUtf8("C\u4e2d")); // one refused character refuses the commit
    EXPECT_EQ(name.text(), "AB");

    QLineEdit hex;
    FieldFilter::install(&hex, HexKey);
    commit(hex, "be");
    EXPECT_EQ(hex.text(), "BE");
}

TEST(FieldFilter, NothingIsPasted)
{
    QLineEdit box;
    FieldFilter::install(&box, DigitKey);
    QApplication::clipboard()->setText("123");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(&box, Qt::MiddleButton);
    EXPECT_EQ(box.text(), "");
    QTest::keyClicks(&box, "45");
    EXPECT_EQ(box.text(), "45");
}

TEST(FieldFilter, ApplyKeepsControlCharacters)
{
    EXPECT_EQ(FieldFilter::apply(HexKey, "\bab"), std::optional<QString>("\bAB"));
    EXPECT_EQ(FieldFilter::apply(HexKey, "x"), std::nullopt);
    EXPECT_EQ(FieldFilter::apply(DigitKey, ""), std::optional<QString>(""));
}
