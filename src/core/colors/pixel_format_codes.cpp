#include "colors/pixel_format_codes.h"

#include "messages/messages.h"
#include "support/error.h"

#include <atomic>
#include <limits>
#include <string>

namespace velmora
{

namespace
{

std::atomic<int> screenColorDepth { 32 };
std::atomic<TPixelFormat> screenPixelFormat { TPixelFormat::pf32bit };

// The screen's mapping differs from that of bit counts in three places: depth 0 is the
// device's own format, 15 is the 5-5-5 format, and 24 counts as 32 because X11 keeps 24-bit
// colour in 32-bit pixels.
TPixelFormat PixelFormatForDepth(int depth)
{
    switch (depth) {
    case 0:
        return TPixelFormat::pfDevice;
    case 15:
        return TPixelFormat::pf15bit;
    case 24:
        return TPixelFormat::pf32bit;
    default:
        return depth > 0 && depth <= 32 ? PixelFormatForBitCount(static_cast<uint16_t>(depth))
                                        : TPixelFormat::pfCustom;
    }
}

} // namespace

void SetScreenColorDepth(int depth)
{
    screenColorDepth.store(depth);
    screenPixelFormat.store(PixelFormatForDepth(depth));
}

int GetScreenColorDepth()
{
    return screenColorDepth.load();
}

TPixelFormat ScreenPixelFormat()
{
    return screenPixelFormat.load();
}

int64_t BytesPerScanline(int64_t width, int64_t bitsPerPixel, int64_t alignment)
{
    constexpr int64_t limit = std::numeric_limits<int32_t>::max();
    // With every factor at most 2^31 the product and the padding stay below 2^63.
    bool alignmentValid = alignment > 0 && alignment <= limit && (alignment & (alignment - 1)) == 0;
    if (width < 0 || bitsPerPixel < 0 || width > limit || bitsPerPixel > limit || !alignmentValid)
        throw EInvalidGraphic(FormatText(Messages::RowAlignmentRefused,
            { std::to_string(width), std::to_string(bitsPerPixel), std::to_string(alignment) }));
    return ((width * bitsPerPixel + alignment - 1) & ~(alignment - 1)) / 8;
}

} // namespace velmora
