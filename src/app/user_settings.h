#pragma once
// Choices the user makes in the menus that outlive the run, in the
// per-user store (application QTX, group "Settings").

namespace qtx::app {

// Set-up > Verify after writing; off unless the user turned it on.
bool ReadVerifyAfterWrite();
void WriteVerifyAfterWrite(bool on);

} // namespace qtx::app
