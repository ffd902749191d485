#pragma once

#include "graphics/bitmap_info_header.h"

#include <cstdint>
#include <optional>

namespace velmora
{

/// The bytes that a BMP-style icon image with this header needs: the header, its colour
/// masks or colour table, the colour rows and the mask rows. Empty when the header asks for
/// more than 32768 pixels a side or 256 MiB, which no reader should allocate for.
std::optional<uint64_t> IconImageBytesNeeded(const TBitmapInfoHeader& header);

} // namespace velmora
