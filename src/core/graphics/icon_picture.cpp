#include "graphics/icon_picture.h"

#include "graphics/icon_decoder.h"

namespace velmora
{

TBitmap IconPicture(const TIcon& icon)
{
    TIconImage image = DecodeIcon(icon);
    if (!image.HasAlpha) {
        for (int y = 0; y < image.Height(); ++y) {
            uint8_t* row = image.Pixels.ScanLine(y);
            for (int x = 0; x < image.Width(); ++x)
                row[4 * x + 3] = image.MaskAt(x, y) ? 0 : 255;
        }
    }
    return std::move(image.Pixels);
}

} // namespace velmora
