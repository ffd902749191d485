#pragma once

#include "graphics/bitmap.h"
#include "graphics/bitmap_info_header.h"

#include <cstdint>

namespace velmora
{

/// Describes a bitmap as a device-independent bitmap: its info header (one plane, the bit
/// count of its format, biClrImportant no larger than biClrUsed, biSizeImage of rows padded to
/// 4 bytes), the size of its BITMAPINFO (the header with its colour masks or colour table) and
/// the size of its pixel rows.
void GetBitmapHeader(
    const TBitmap& bitmap, uint32_t& infoSize, uint32_t& imageSize, TBitmapInfoHeader& header);

} // namespace velmora
