#pragma once
// What a successful read from the radio makes of the Codeplug being edited,
// the same for the desktop program and qtx-cli.

#include "files/defaults.h"
#include "image/embedded_info.h"
#include "image/radio_image.h"
#include "link/radio_ident.h"
#include "model/workspace.h"

#include <optional>
#include <string>

namespace qtx {

// A new Codeplug as New makes it (the factory file as `options` say), the
// image parsed into it and the band type the radio reported. The
// communication book file name stays; the result is untitled and counts as
// unchanged. `info` receives the embedded information when given.
void AdoptReadImage(Workspace& ws, RadioImage& image, const std::optional<RadioIdent>& ident,
                    const std::string& programDir, const NewOptions& options, EmbeddedInfo* info = nullptr);

} // namespace qtx
