#include "app/user_settings.h"

#include <QSettings>

namespace qtx::app {

namespace {
constexpr const char* kVerifyKey = "VerifyAfterWrite";
}

bool ReadVerifyAfterWrite()
{
    QSettings store("QTX", "QTX");
    store.beginGroup("Settings");
    return store.value(kVerifyKey).toString() == "1";
}

void WriteVerifyAfterWrite(bool on)
{
    QSettings store("QTX", "QTX");
    store.beginGroup("Settings");
    store.setValue(kVerifyKey, on ? "1" : "0");
}

} // namespace qtx::app
