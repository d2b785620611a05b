#pragma once
// The English language file of the source tree, for window tests that look
// at captions (ctest sets QTX_SOURCE_DIR).

#include "ui/texts.h"

#include <QString>
#include <gtest/gtest.h>

namespace qtx::testing {

// Fails the test when the source folder is not known; call through
// ASSERT_NO_FATAL_FAILURE to stop a set-up there.
inline void UseEnglishTexts(ui::LanguageTexts& texts)
{
    const QString source = qEnvironmentVariable("QTX_SOURCE_DIR");
    ASSERT_FALSE(source.isEmpty()) << "QTX_SOURCE_DIR is not set";
    texts.table.SetPath((source + "/language/english.ini").toStdString());
}

} // namespace qtx::testing
