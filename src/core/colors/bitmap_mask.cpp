#include "colors/bitmap_mask.h"

#include "messages/messages.h"
#include "support/error.h"

#include <cmath>
#include <string>

namespace velmora
{

namespace
{

uint8_t MaskedAlpha(uint8_t red, long double factor)
{
    // nearbyint rounds halves to even in the default rounding mode. Values past a byte
    // (percentages outside 0..100) are held to its range instead of wrapping around.
    long double alpha = std::nearbyint(static_cast<long double>(red) * factor);
    if (alpha <= 0)
        return 0;
    if (alpha >= 255)
        return 255;
    return static_cast<uint8_t>(alpha);
}

std::unique_ptr<TBitmap> Join(const TBitmap& colour, const TBitmap& mask, int percentage)
{
    if (colour.PixelFormat() != TPixelFormat::pf24bit || colour.Width() < mask.Width()
        || colour.Height() < mask.Height())
        throw Exception(FormatText(Messages::MaskColorBitmapRefused,
            { std::to_string(colour.Width()), std::to_string(colour.Height()),
                std::to_string(colour.BitsPerPixel()), std::to_string(mask.Width()),
                std::to_string(mask.Height()) }));

    // Extended precision, so that products such as 5 * (10 / 100) land on the same side of
    // a half as they always have.
    const long double factor = static_cast<long double>(percentage) / 100.0L;
    auto result = std::make_unique<TBitmap>(mask.Width(), mask.Height(), TPixelFormat::pf32bit);
    for (int y = 0; y < mask.Height(); ++y) {
        const uint8_t* colourRow = colour.ScanLine(y);
        const uint8_t* maskRow = mask.ScanLine(y);
        uint8_t* row = result->ScanLine(y);
        for (int x = 0; x < mask.Width(); ++x) {
            const size_t at24 = static_cast<size_t>(x) * 3;
            uint8_t* pixel = row + static_cast<size_t>(x) * 4;
            pixel[0] = colourRow[at24 + 0];
            pixel[1] = colourRow[at24 + 1];
            pixel[2] = colourRow[at24 + 2];
            pixel[3] = MaskedAlpha(maskRow[at24 + 2], factor);
        }
    }
    return result;
}

} // namespace

std::unique_ptr<TBitmap> AddMaskToBitmap32(
    const TBitmap& colour24, const TBitmap* mask, int percentage)
{
    if (mask == nullptr || mask->Empty() || mask->PixelFormat() != TPixelFormat::pf24bit)
        return nullptr;
    return NestErrors(
        Messages::AddMaskToBitmap32Failed, [&] { return Join(colour24, *mask, percentage); });
}

} // namespace velmora
