#include "graphics/bitmap.h"

#include "messages/messages.h"
#include "support/error.h"

#include <string>

namespace velmora
{

void TBitmap::CheckSize(int64_t width, int64_t height, int bitsPerPixel)
{
    if (width < 0 || height < 0 || width > MaxDimension || height > MaxDimension)
        throw EInvalidGraphic(FormatText(
            Messages::BitmapSizeRefused, { std::to_string(width), std::to_string(height) }));
    if (bitsPerPixel <= 0 || bitsPerPixel > 32)
        throw EInvalidGraphic(
            FormatText(Messages::BitmapFormatRefused, { std::to_string(bitsPerPixel) }));
    // Both factors are at most 32768 and the stride at most 131072: no overflow in 64 bits.
    uint64_t stride = ((static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(height) > MaxPixelBytes)
        throw EInvalidGraphic(FormatText(
            Messages::BitmapSizeRefused, { std::to_string(width), std::to_string(height) }));
}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
{
    int bits = BitsPerPixelOf(format);
    CheckSize(width, height, bits);
    m_width = width;
    m_height = height;
    m_format = format;
    m_stride = ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
    m_pixels.assign(m_stride * static_cast<size_t>(height), 0);
    if (bits <= 8)
        m_palette.assign(size_t { 1 } << bits, TRGBQuad {});
}

uint8_t* TBitmap::ScanLine(int row)
{
    return const_cast<uint8_t*>(static_cast<const TBitmap*>(this)->ScanLine(row));
}

const uint8_t* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= m_height)
        throw EListError(FormatText(Messages::ScanLineOutOfRange, { std::to_string(row) }));
    return m_pixels.data() + m_stride * static_cast<size_t>(row);
}

} // namespace velmora
