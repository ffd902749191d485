#include "icons/icon_paint.h"

#include "colors/pixel_format_codes.h"
#include "graphics/bitmap_ops.h"
#include "graphics/decoded_icon_cache.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_draw.h"
#include "messages/messages.h"
#include "platform/system_colors.h"
#include "support/error.h"

#include <limits>

namespace velmora
{

namespace
{

// -value without overflow at the smallest int (such a position is off any canvas anyway).
int Negated(int value)
{
    return value == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -value;
}

// Blends the image's own colours by their alpha over a background of w x h pixels and puts
// the result on the canvas. A drawn size other than the image's own picks the nearest pixel.
void BlendOver(
    TBitmap& canvas, int x, int y, int w, int h, TColor backColor, const TIconImage& image)
{
    TBitmap background(w, h, TPixelFormat::pf32bit);
    if (backColor != ColorNone)
        FillBitmap(background, ColorToRGB(backColor));
    else
        CopyBitmap(background, Negated(x), Negated(y), canvas);

    TBitmap result(w, h, TPixelFormat::pf32bit);
    const int ownWidth = image.Width();
    const int ownHeight = image.Height();
    for (int row = 0; row < h; ++row) {
        const uint8_t* source
            = image.Pixels.ScanLine(static_cast<int>(static_cast<int64_t>(row) * ownHeight / h));
        const uint8_t* back = background.ScanLine(row);
        uint8_t* out = result.ScanLine(row);
        for (int column = 0; column < w; ++column) {
            const uint8_t* f = source + 4 * (static_cast<int64_t>(column) * ownWidth / w);
            const uint8_t* g = back + 4 * column;
            uint8_t* o = out + 4 * column;
            const uint8_t a = f[3];
            if (a == 255) {
                o[0] = f[0];
                o[1] = f[1];
                o[2] = f[2];
                o[3] = f[3];
            } else if (a == 0) {
                o[0] = g[0];
                o[1] = g[1];
                o[2] = g[2];
                o[3] = g[3];
            } else {
                // Truncated, not rounded; computed in floating point.
                const double weight = a / 255.0;
                for (int c = 0; c < 3; ++c)
                    o[c] = static_cast<uint8_t>(f[c] * weight + g[c] * (1.0 - weight));
                o[3] = a;
            }
        }
    }
    CopyBitmap(canvas, x, y, result);
}

} // namespace

void PaintIcon(TBitmap* canvas, int x, int y, TColor backColor, int height, int width, int bitCount,
    const TIcon& icon)
{
    if (!canvas)
        return;
    try {
        // Only a size given on both sides is known before decoding; a picture for it may be a
        // reduced copy.
        const std::shared_ptr<const TIconImage> decoded
            = width > 0 && height > 0 ? DecodedIconForSize(icon, width, height) : DecodedIcon(icon);
        const TIconImage& image = *decoded;
        const int w = width != 0 ? width : image.Width();
        const int h = height != 0 ? height : image.Height();
        if (bitCount == 32 && ScreenPixelFormat() == TPixelFormat::pf32bit) {
            if (w > 0 && h > 0)
                BlendOver(*canvas, x, y, w, h, backColor, image);
            return;
        }
        if (backColor != ColorNone)
            FillRect(*canvas, x, y, w, h, ColorToRGB(backColor));
        DrawIcon(*canvas, x, y, w, h, image);
    } catch (const std::exception& cause) {
        throw EIconPaint(FormatText(Messages::PaintIconFailed, { cause.what() }));
    }
}

void PaintIconInRect(
    TBitmap* canvas, const TRect& rect, const TIcon& icon, TColor backColor, int bitCount)
{
    PaintIcon(canvas, rect.Left, rect.Top, backColor, rect.Bottom - rect.Top,
        rect.Right - rect.Left, bitCount, icon);
}

} // namespace velmora
