#include "graphics/icon_draw.h"

#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora
{

namespace
{

inline uint8_t Blend(uint32_t src, uint32_t dest, uint32_t alpha)
{
    return static_cast<uint8_t>((src * alpha + dest * (255 - alpha) + 127) / 255);
}

void DrawPixelWithAlpha(uint8_t* d, const uint8_t* s)
{
    uint32_t a = s[3];
    if (a == 255) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
    } else if (a != 0) {
        d[0] = Blend(s[0], d[0], a);
        d[1] = Blend(s[1], d[1], a);
        d[2] = Blend(s[2], d[2], a);
        d[3] = static_cast<uint8_t>(a + (d[3] * (255 - a) + 127) / 255);
    }
}

void DrawPixelWithMask(uint8_t* d, const uint8_t* s, bool transparent)
{
    if (transparent) {
        d[0] ^= s[0];
        d[1] ^= s[1];
        d[2] ^= s[2];
    } else {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
    }
}

} // namespace

void DrawIcon(TBitmap& dest, int x, int y, int w, int h, const TIconImage& image)
{
    if (dest.PixelFormat() != TPixelFormat::pf32bit)
        throw EInvalidGraphic(
            FormatText(Messages::IconDrawNeeds32Bit, { std::to_string(dest.BitsPerPixel()) }));
    if (image.Pixels.PixelFormat() != TPixelFormat::pf32bit)
        throw EInvalidGraphic(FormatText(
            Messages::IconDrawNeeds32Bit, { std::to_string(image.Pixels.BitsPerPixel()) }));
    if (w <= 0 || h <= 0 || image.Pixels.Empty() || dest.Empty())
        return;
    // 64-bit coordinates: x + w may pass the range of int.
    int64_t left = std::max<int64_t>(0, x);
    int64_t top = std::max<int64_t>(0, y);
    int64_t right = std::min<int64_t>(dest.Width(), int64_t { x } + w);
    int64_t bottom = std::min<int64_t>(dest.Height(), int64_t { y } + h);
    if (left >= right || top >= bottom)
        return;

    int64_t srcWidth = image.Width();
    if (!image.HasAlpha
        && image.Mask.size()
            < static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height()))
        throw EInvalidGraphic(FormatText(Messages::IconImageMaskMissing,
            { std::to_string(image.Width()), std::to_string(image.Height()) }));
    int64_t srcHeight = image.Height();
    // The source column of each destination column, worked out once for all rows.
    std::vector<int> columns(static_cast<size_t>(right - left));
    for (int64_t dx = left; dx < right; ++dx)
        columns[static_cast<size_t>(dx - left)] = static_cast<int>((dx - x) * srcWidth / w);

    for (int64_t dy = top; dy < bottom; ++dy) {
        int sy = static_cast<int>((dy - y) * srcHeight / h);
        const uint8_t* srcRow = image.Pixels.ScanLine(sy);
        uint8_t* out = dest.ScanLine(static_cast<int>(dy)) + left * 4;
        if (image.HasAlpha) {
            for (int sx : columns) {
                DrawPixelWithAlpha(out, srcRow + sx * 4);
                out += 4;
            }
        } else {
            const uint8_t* maskRow
                = image.Mask.data() + static_cast<size_t>(sy) * static_cast<size_t>(srcWidth);
            for (int sx : columns) {
                DrawPixelWithMask(out, srcRow + sx * 4, maskRow[sx] != 0);
                out += 4;
            }
        }
    }
}

void DrawIcon(TBitmap& dest, int x, int y, int w, int h, const TIcon& icon)
{
    TIconImage image = DecodeIcon(icon);
    DrawIcon(dest, x, y, w, h, image);
}

} // namespace velmora
