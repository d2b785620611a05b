#pragma once
// Random radio images of three kinds: uniform bytes; bytes drawn from the
// values decoders treat specially; and the image of a valid Codeplug with a
// few bytes spoiled, so the channel and code areas are exercised too.

#include "image/image_codec.h"
#include "image/radio_image.h"
#include "support/random_codeplug.h"

#include <array>
#include <memory>

namespace qtx::testing {

inline constexpr std::array<uint8_t, 16> kEdgeBytes{0x00, 0x01, 0x02, 0x03, 0x09, 0x0A, 0x0B, 0x0F,
                                                     0x10, 0x19, 0x7F, 0x80, 0x99, 0xFA, 0xFE, 0xFF};

inline void RandomImage(CodeplugGenerator& gen, RadioImage& image, int kind)
{
    switch (kind % 3) {
    case 0:
        for (auto& b : image)
            b = gen.byte();
        break;
    case 1:
        for (auto& b : image)
            b = kEdgeBytes[gen.range(0, static_cast<int>(kEdgeBytes.size()) - 1)];
        break;
    default: {
        auto cp = std::make_unique<Codeplug>(gen.make());
        (void)BuildImage(*cp, image);
        const int spoiled = gen.range(1, 64);
        for (int i = 0; i < spoiled; ++i)
            image[gen.range(0x0100, kImageSize - 1)] = kEdgeBytes[gen.range(0, static_cast<int>(kEdgeBytes.size()) - 1)];
        break;
    }
    }
}

} // namespace qtx::testing
