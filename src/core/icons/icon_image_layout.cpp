#include "icons/icon_image_layout.h"

#include "graphics/bitmap.h"

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
    uint64_t needed
        = header.biSize < TBitmapInfoHeader::Size ? TBitmapInfoHeader::Size : header.biSize;
    if (header.biSize == TBitmapInfoHeader::Size && header.biCompression == BI_BITFIELDS)
        needed += 12;
    else if (header.biSize == TBitmapInfoHeader::Size && header.biCompression == BI_ALPHABITFIELDS)
        needed += 16;
    if (bits <= 8) {
        uint64_t colours = header.biClrUsed != 0 ? header.biClrUsed : (uint64_t { 1 } << bits);
        if (colours > limit / 4)
            return std::nullopt;
        needed += colours * 4;
    }
    // bits is at most 65535, width at most 32768: the products stay far below 2^64.
    uint64_t colourRow = (width * bits + 31) / 32 * 4;
    uint64_t maskRow = (width + 31) / 32 * 4;
    needed += (colourRow + maskRow) * height;
    if (needed > limit)
        return std::nullopt;
    return needed;
}

} // namespace velmora
