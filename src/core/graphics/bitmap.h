#pragma once

#include "graphics/pixel_format.h"
#include "support/byte_io.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora
{

/// The core's bitmap: a picture of Width x Height pixels in one pixel format, stored as
/// device-independent rows (each padded to 4 bytes) with row 0 the top row.
///
/// Pixel layouts per format: 1, 4 and 8 bits hold palette indices, the leftmost pixel in the
/// highest bits of a byte; 15 bits are 5-5-5 and 16 bits 5-6-5 little-endian words (blue in the
/// lowest bits); 24 bits are blue, green, red; 32 bits are blue, green, red, alpha.
class TBitmap
{
public:
    /// The largest side and the most pixel bytes that a bitmap may have; larger pictures are
    /// refused before anything is allocated.
    static constexpr int MaxDimension = 32768;
    static constexpr uint64_t MaxPixelBytes = 256ull * 1024 * 1024;

    /// An empty bitmap (0 x 0 pixels, 32 bits).
    TBitmap() = default;
    /// A bitmap of the size and format, every byte zero (black, or palette index 0). Palette
    /// formats get a palette of 2 to the bit count black entries. Raises EInvalidGraphic for
    /// negative or too large sizes and for pfDevice or pfCustom.
    TBitmap(int width, int height, TPixelFormat format);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    TPixelFormat PixelFormat() const { return m_format; }
    int BitsPerPixel() const { return BitsPerPixelOf(m_format); }
    bool Empty() const { return m_width == 0 || m_height == 0; }

    /// Bytes from one row to the next.
    size_t Stride() const { return m_stride; }
    /// Start of a row; row 0 is the top row. Raises EListError outside 0..Height-1.
    uint8_t* ScanLine(int row);
    const uint8_t* ScanLine(int row) const;

    /// All rows, top row first.
    Bytes& Pixels() { return m_pixels; }
    const Bytes& Pixels() const { return m_pixels; }

    /// The colour table of 1-, 4- and 8-bit bitmaps (empty for the others).
    std::vector<TRGBQuad>& Palette() { return m_palette; }
    const std::vector<TRGBQuad>& Palette() const { return m_palette; }

    /// How many palette entries matter (a DIB's biClrImportant); 0 means all of them.
    int ImportantColors() const { return m_importantColors; }
    void SetImportantColors(int count) { m_importantColors = count; }

    /// Checks a size against the limits; raises EInvalidGraphic when it is refused.
    static void CheckSize(int64_t width, int64_t height, int bitsPerPixel);

    bool operator==(const TBitmap&) const = default;

private:
    int m_width = 0;
    int m_height = 0;
    TPixelFormat m_format = TPixelFormat::pf32bit;
    size_t m_stride = 0;
    Bytes m_pixels;
    std::vector<TRGBQuad> m_palette;
    int m_importantColors = 0;
};

} // namespace velmora
