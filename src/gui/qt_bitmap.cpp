#include "qt_bitmap.h"

#include "graphics/bitmap_convert.h"

#include <cstring>

namespace velmora
{

QImage ToQImage(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return {};
    const bool hasAlpha = bitmap.PixelFormat() == TPixelFormat::pf32bit;
    TBitmap converted;
    if (!hasAlpha) {
        converted = bitmap;
        ConvertPixelFormat(converted, TPixelFormat::pf32bit);
    }
    const TBitmap& source = hasAlpha ? bitmap : converted;
    QImage image(
        source.Width(), source.Height(), hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    // Both keep blue, green, red, alpha in memory order on little-endian machines.
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(image.scanLine(y), source.ScanLine(y), static_cast<size_t>(source.Width()) * 4);
    return image;
}

TBitmap FromQImage(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    TBitmap bitmap(rgb.width(), rgb.height(), TPixelFormat::pf24bit);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        uint8_t* out = bitmap.ScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out[3 * x + 0] = in[4 * x + 0];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x + 2];
        }
    }
    return bitmap;
}

} // namespace velmora
