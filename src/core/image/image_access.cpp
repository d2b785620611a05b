#include "image/image_access.h"

#include <stdexcept>

namespace qtx {

void ThrowOutsideBlock(const imagemap::Area& block, int offset, int count)
{
    throw std::out_of_range("image access of " + std::to_string(count) + " byte(s) at offset " +
                            std::to_string(offset) + " is outside the block at " + std::to_string(block.start) +
                            " of " + std::to_string(block.size) + " bytes");
}

} // namespace qtx
