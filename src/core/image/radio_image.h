#pragma once
// The program's copy of the radio's memory: 16384 bytes, 0x0000-0x3FFF.

#include <array>
#include <cstdint>

namespace qtx {

inline constexpr int kImageSize = 0x4000;
using RadioImage = std::array<uint8_t, kImageSize>;

// The values an image holds before a read or a build fills it; bytes
// 0x0000-0x000F are left as they are.
void PrefillImage(RadioImage& image);

} // namespace qtx
