#pragma once
// The whole radio image: assembled from a Codeplug before a write, parsed
// into one after a read.

#include "image/embedded_info.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

#include <string>
#include <vector>

namespace qtx {

struct BuildReport {
    // The first failing step: message "SetCommDataByFrequencyError" ...
    // "SetCommDataByDTMFCommuBookError", detail naming what failed.
    Result<void> result;
    // Texts to show even when the build succeeds, in order ("Name is too long!").
    std::vector<std::string> notices;

    bool ok() const { return result.ok(); }
};

// Prefills the image, then encodes keys, scan, emergency, band limits and
// channels, options, 5-tone, 2-tone, DTMF and the communication book, in
// that order, stopping at the first step that fails; bytes written before
// the failure stay. The Codeplug is changed only where encoding fixes a
// value up (DCS high bits of the channels, the DTMF own ID padded to three
// digits).
[[nodiscard]] BuildReport BuildImage(Codeplug& cp, RadioImage& image);

// Decodes the image into cp, which the caller has reset to the new-Codeplug
// defaults: ChannelCount is set to 0 first, then band limits and channels,
// keys, scan, emergency, embedded information (when info is given; its
// Version is kept), options, 5-tone, 2-tone, DTMF and communication book.
// Never fails. Out-of-range PTT-ID bytes and DTMF decode response and first
// digit delay bytes are corrected in the image as well.
void ParseImage(RadioImage& image, Codeplug& cp, EmbeddedInfo* info = nullptr);

} // namespace qtx
