#pragma once
// A new Codeplug: built-in defaults, one VFO channel from the current band,
// then the model's factory file pair from the program directory's Init
// folder when there is one.

#include "model/codeplug.h"
#include "model/workspace.h"

#include <string>

namespace qtx {

struct NewOptions {
    bool factoryFres = false;   // take every factory channel, not only its VFO
    bool initRequested = false; // the Initialise command: every factory channel
};

// The VFO channel of a Codeplug built without a factory file: receive at
// the middle of the receive band, ((RxHigh rounded, halves to even) + RxLow)
// / 2 to 100 Hz, off the step raster; scan skip on, step 2.5K, CTCSS index
// 20 both ways, everything else 0 or empty.
ChannelRecord VfoChannel(const BandPlan& band);

// programDir/Init/QM-5210.dat (its channel file ends in "fre").
std::string FactoryFilePath(const std::string& programDir);

// Resets the workspace to a new, untitled Codeplug ("new.dat", "new.cb")
// that counts as unchanged. The band stays unless the factory file brings
// its own. A missing, short or damaged factory file pair is ignored and the
// built-in defaults stay. True when the factory file was used. The channel
// clipboard and the link's identity values are the caller's to reset.
bool NewCodeplug(Workspace& ws, const std::string& programDir, const NewOptions& options);

} // namespace qtx
