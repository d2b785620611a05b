#pragma once
// A prefilled image and a Codeplug to encode into it or decode from it.

#include "image/radio_image.h"
#include "model/channel_list.h"
#include "model/codeplug.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qtx::testing {

class ImageTest : public ::testing::Test {
    // Declared first: cp refers to it. On the heap, the Codeplug is large.
    std::unique_ptr<Codeplug> owned_ = std::make_unique<Codeplug>();

protected:
    void SetUp() override { PrefillImage(image); }

    // A programmed channel appended to the list.
    ChannelRecord& addChannel(int number, const char* rx = "014500000")
    {
        ChannelRecord& c = cp.channels[cp.body.ChannelCount++];
        c = BlankChannel(number);
        c.InUse = 1;
        c.RxFrequency.setPadded(rx);
        return c;
    }

    std::vector<int> bytes(int address, int count) const
    {
        return std::vector<int>(image.begin() + address, image.begin() + address + count);
    }

    void put(int address, std::initializer_list<int> values)
    {
        for (int v : values)
            image[address++] = static_cast<uint8_t>(v);
    }

    RadioImage image{};
    Codeplug& cp = *owned_;
};

} // namespace qtx::testing
