#include "icons/bitmap_header.h"

#include "graphics/bmp_codec.h"

#include <cstdlib>

namespace velmora
{

void GetBitmapHeader(
    const TBitmap& bitmap, uint32_t& infoSize, uint32_t& imageSize, TBitmapInfoHeader& header)
{
    infoSize = 0;
    imageSize = 0;
    header = HeaderOf(bitmap);
    header.biPlanes = 1;
    if (header.biClrImportant > header.biClrUsed)
        header.biClrImportant = header.biClrUsed;
    if (header.biSizeImage == 0) {
        const uint64_t row
            = (static_cast<uint64_t>(static_cast<uint32_t>(header.biWidth)) * header.biBitCount
                  + 31)
            / 32 * 4;
        header.biSizeImage
            = static_cast<uint32_t>(row * static_cast<uint64_t>(std::llabs(header.biHeight)));
    }
    if (header.biBitCount > 8) {
        infoSize = 40;
        if ((header.biCompression & 3) != 0)
            infoSize += 12; // the three colour masks of a bit-field bitmap
    } else {
        const uint32_t colours
            = header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount);
        infoSize = 40 + 4 * colours;
    }
    imageSize = header.biSizeImage;
}

} // namespace velmora
