#include "icons/icon_image_layout.h"

#include "graphics/bitmap.h"

#include <algorithm>
#include <cstdlib>

namespace velmora
{

std::optional<uint64_t> IconImageBytesNeeded(const TBitmapInfoHeader& header)
{
    constexpr uint64_t limit = TBitmap::MaxPixelBytes;
    uint64_t width = static_cast<uint64_t>(std::llabs(static_cast<long long>(header.biWidth)));
    // The header's height counts the colour rows and the mask rows.
    uint64_t height
        = static_cast<uint64_t>(std::llabs(static_cast<long long>(header.biHeight))) / 2;
    if (width > TBitmap::MaxDimension || height > TBitmap::MaxDimension || header.biSize > limit)
        return std::nullopt;
    uint64_t bits = header.biBitCount;
    // The colour masks follow the first 40 bytes, inside a longer header too; the colour table
    // follows both and holds biClrUsed entries (at most 256), or 2 to the bit count for
    // palette images, as the decoder reads it.
    uint64_t masks = header.biCompression == BI_BITFIELDS ? 12
        : header.biCompression == BI_ALPHABITFIELDS       ? 16
                                                          : 0;
    uint64_t needed = std::max<uint64_t>(header.biSize, TBitmapInfoHeader::Size + masks);
    uint64_t colours = 0;
    if (header.biClrUsed != 0)
        colours = std::min<uint64_t>(header.biClrUsed, 256);
    else if (bits <= 8)
        colours = uint64_t { 1 } << bits;
    needed += colours * 4;
    // bits is at most 65535, width at most 32768: the products stay far below 2^64.
    uint64_t colourRow = (width * bits + 31) / 32 * 4;
    uint64_t maskRow = (width + 31) / 32 * 4;
    needed += (colourRow + maskRow) * height;
    if (needed > limit)
        return std::nullopt;
    return needed;
}

} // namespace velmora
