#include "image/radio_image.h"

#include <algorithm>

namespace qtx {

void PrefillImage(RadioImage& image)
{
    auto fill = [&image](int from, int to, uint8_t v) {
        std::fill(image.begin() + from, image.begin() + to + 1, v);
    };
    fill(0x0010, 0x00FF, 0x00);
    fill(0x0100, 0x013F, 0xFF); // channel present and scan-skip bitmaps: all empty
    fill(0x0140, 0x037F, 0x00);
    fill(0x0380, 0x039F, 0xFF); // 2-tone and 5-tone entry bitmaps: all empty
    fill(0x03A0, 0x3FFF, 0x00);
}

} // namespace qtx
