#include "forms/key_form.h"

namespace qtx {

ListEntries KeyFunctionEntries()
{
    ListEntries out;
    for (int k = 0; k < kKeyFunctions; ++k)
        out.push_back({Tx(kKeyFunctionTextFirst + k)});
    return out;
}

KeyForm LoadKeyForm(const Codeplug& cp)
{
    KeyForm f;
    f.function10OnShort = cp.body.Settings.Options.Item1716 != 0;
    const KeySettings& keys = cp.body.Settings.Keys;
    for (int i = 0; i < kKeyPresses; ++i) {
        f.rows[i] = 0;
        PickKeyFunction(f, i, keys.Keys[i]);
    }
    return f;
}

int PickKeyFunction(KeyForm& form, int press, int row)
{
    if (press < 0 || press >= kKeyPresses)
        return 0;
    int r = RowInRange(row, kKeyFunctions);
    if (press < kShortPresses && r == kRestrictedFunction && !form.function10OnShort)
        r = 0;
    form.rows[press] = r;
    return r;
}

void ApplyKeyForm(Codeplug& cp, const KeyForm& form)
{
    for (int i = 0; i < kKeyPresses; ++i)
        cp.body.Settings.Keys.Keys[i] = static_cast<uint8_t>(RowInRange(form.rows[i], kKeyFunctions));
}

void ClearShortPressFunction10(KeySettings& keys)
{
    for (int i = 0; i < kShortPresses; ++i)
        if (keys.Keys[i] == kRestrictedFunction)
            keys.Keys[i] = 0;
}

} // namespace qtx
