#include "graphics/bitmap_ops.h"

#include "graphics/bitmap_pixels.h"

#include <algorithm>
#include <cstring>

namespace velmora
{

namespace
{

constexpr TColor RgbMask = 0x00FFFFFF;

struct TSpan {
    int first = 0; // first destination coordinate drawn
    int last = 0; // one past the last
};

/// The part of [start, start + length) that lies inside [0, limit), in 64 bits so that no
/// sum of caller values can overflow.
TSpan Clip(int64_t start, int64_t length, int64_t limit)
{
    int64_t first = std::max<int64_t>(start, 0);
    int64_t last = std::min<int64_t>(start + std::max<int64_t>(length, 0), limit);
    if (last <= first)
        return {};
    return { static_cast<int>(first), static_cast<int>(last) };
}

/// True when pixels may be copied as stored values from src to dest.
bool SameStorage(const TBitmap& dest, const TBitmap& src)
{
    return dest.PixelFormat() == src.PixelFormat()
        && (dest.BitsPerPixel() > 8 || dest.Palette() == src.Palette());
}

/// Copies pixel sx of a source row to pixel dx of a destination row of the same storage.
void CopyStored(uint8_t* destRow, int dx, const uint8_t* srcRow, int sx, int bits)
{
    if (bits <= 8) {
        WriteRowIndex(destRow, dx, bits, ReadRowIndex(srcRow, sx, bits));
        return;
    }
    size_t bytes = static_cast<size_t>(bits) / 8;
    std::memcpy(
        destRow + bytes * static_cast<size_t>(dx), srcRow + bytes * static_cast<size_t>(sx), bytes);
}

/// Maps colours of one bitmap to stored values of a palette bitmap, remembering the last
/// answer, since neighbouring pixels mostly share a colour.
class TColorWriter
{
public:
    explicit TColorWriter(TBitmap& dest)
        : m_dest(dest)
    {
    }

    void Write(uint8_t* row, int x, TColor color)
    {
        color &= RgbMask;
        if (m_dest.BitsPerPixel() > 8) {
            WriteRowColor(m_dest, row, x, color);
            return;
        }
        if (color != m_lastColor) {
            m_lastColor = color;
            m_lastIndex = static_cast<uint32_t>(NearestPaletteIndex(m_dest.Palette(), color));
        }
        WriteRowIndex(row, x, m_dest.BitsPerPixel(), m_lastIndex);
    }

private:
    TBitmap& m_dest;
    TColor m_lastColor = 0xFFFFFFFF;
    uint32_t m_lastIndex = 0;
};

/// The nearest-neighbour copy behind CopyBitmap, StretchCopy and BrushCopy. With a brush,
/// source pixels of the transparent colour become the brush colour.
struct TBrush {
    TColor transparent;
    TColor color;
};

/// The brushed copy at one scale between bitmaps of one true-colour format (PixelBytes bytes a
/// pixel), the case of every bitmap import. Whole pixels are compared and copied as stored; the
/// result is the general copy's (a brushed 32-bit pixel gets alpha 0, any other keeps its own).
template <size_t PixelBytes>
void BrushUnscaled(TBitmap& dest, int64_t dstX, int64_t dstY, TSpan cols, TSpan rows,
    const TBitmap& src, int64_t srcX, int64_t srcY, const TBrush& brush)
{
    const TColor transparent = brush.transparent & RgbMask;
    const uint8_t brushPixel[4] = { static_cast<uint8_t>(BlueOf(brush.color)),
        static_cast<uint8_t>(GreenOf(brush.color)), static_cast<uint8_t>(RedOf(brush.color)), 0 };
    // The source columns that the destination's columns take, inside both bitmaps.
    const TSpan inside = Clip(srcX + (cols.first - dstX), cols.last - cols.first, src.Width());
    const int64_t shift = dstX - srcX;
    for (int y = rows.first; y < rows.last; ++y) {
        const int64_t sy = srcY + (y - dstY);
        if (sy < 0 || sy >= src.Height())
            continue;
        const uint8_t* srcRow = src.ScanLine(static_cast<int>(sy));
        uint8_t* destRow = dest.ScanLine(y);
        for (int sx = inside.first; sx < inside.last; ++sx) {
            const uint8_t* s = srcRow + PixelBytes * static_cast<size_t>(sx);
            const bool brushed = RGB(s[2], s[1], s[0]) == transparent;
            std::memcpy(destRow + PixelBytes * static_cast<size_t>(sx + shift),
                brushed ? brushPixel : s, PixelBytes);
        }
    }
}

void Stretch(TBitmap& dest, int64_t dstX, int64_t dstY, int64_t dstW, int64_t dstH,
    const TBitmap& src, int64_t srcX, int64_t srcY, int64_t srcW, int64_t srcH, const TBrush* brush)
{
    if (dstW <= 0 || dstH <= 0 || srcW <= 0 || srcH <= 0 || dest.Empty() || src.Empty())
        return;
    TSpan cols = Clip(dstX, dstW, dest.Width());
    TSpan rows = Clip(dstY, dstH, dest.Height());
    if (brush && dstW == srcW && dstH == srcH && dest.PixelFormat() == src.PixelFormat()
        && (src.PixelFormat() == TPixelFormat::pf24bit
            || src.PixelFormat() == TPixelFormat::pf32bit)) {
        if (src.PixelFormat() == TPixelFormat::pf24bit)
            BrushUnscaled<3>(dest, dstX, dstY, cols, rows, src, srcX, srcY, *brush);
        else
            BrushUnscaled<4>(dest, dstX, dstY, cols, rows, src, srcX, srcY, *brush);
        return;
    }
    bool stored = brush == nullptr && SameStorage(dest, src);
    bool keepAlpha
        = dest.PixelFormat() == TPixelFormat::pf32bit && src.PixelFormat() == TPixelFormat::pf32bit;
    int bits = dest.BitsPerPixel();
    TColorWriter writer(dest);
    for (int y = rows.first; y < rows.last; ++y) {
        // Every factor is below 2^32 (sides are limited), so the products fit in 64 bits.
        int64_t sy = srcY + ((y - dstY) * srcH) / dstH;
        if (sy < 0 || sy >= src.Height())
            continue;
        const uint8_t* srcRow = src.ScanLine(static_cast<int>(sy));
        uint8_t* destRow = dest.ScanLine(y);
        for (int x = cols.first; x < cols.last; ++x) {
            int64_t sx = srcX + ((x - dstX) * srcW) / dstW;
            if (sx < 0 || sx >= src.Width())
                continue;
            if (stored) {
                CopyStored(destRow, x, srcRow, static_cast<int>(sx), bits);
                continue;
            }
            TColor color = ReadRowColor(src, srcRow, static_cast<int>(sx));
            bool brushed = brush != nullptr && color == (brush->transparent & RgbMask);
            writer.Write(destRow, x, brushed ? brush->color : color);
            if (keepAlpha && !brushed)
                destRow[4 * static_cast<size_t>(x) + 3] = srcRow[4 * static_cast<size_t>(sx) + 3];
        }
    }
}

} // namespace

void FillBitmap(TBitmap& bitmap, TColor color)
{
    FillRect(bitmap, 0, 0, bitmap.Width(), bitmap.Height(), color);
}

void FillRect(TBitmap& bitmap, int x, int y, int w, int h, TColor color)
{
    TSpan cols = Clip(x, w, bitmap.Width());
    TSpan rows = Clip(y, h, bitmap.Height());
    if (cols.first == cols.last || rows.first == rows.last)
        return;
    // One row is drawn pixel by pixel and the others copied from it where whole bytes allow.
    TColorWriter writer(bitmap);
    uint8_t* firstRow = bitmap.ScanLine(rows.first);
    for (int col = cols.first; col < cols.last; ++col)
        writer.Write(firstRow, col, color);
    int bits = bitmap.BitsPerPixel();
    size_t startBit = static_cast<size_t>(cols.first) * static_cast<size_t>(bits);
    size_t endBit = static_cast<size_t>(cols.last) * static_cast<size_t>(bits);
    bool wholeBytes = startBit % 8 == 0 && endBit % 8 == 0;
    for (int row = rows.first + 1; row < rows.last; ++row) {
        uint8_t* line = bitmap.ScanLine(row);
        if (wholeBytes) {
            std::memcpy(line + startBit / 8, firstRow + startBit / 8, (endBit - startBit) / 8);
        } else {
            for (int col = cols.first; col < cols.last; ++col)
                CopyStored(line, col, firstRow, col, bits);
        }
    }
}

void CopyBitmap(TBitmap& dest, int x, int y, const TBitmap& src)
{
    if (&dest == &src) {
        TBitmap copy = src;
        CopyBitmap(dest, x, y, copy);
        return;
    }
    Stretch(dest, x, y, src.Width(), src.Height(), src, 0, 0, src.Width(), src.Height(), nullptr);
}

void StretchCopy(TBitmap& dest, int dstX, int dstY, int dstW, int dstH, const TBitmap& src,
    int srcX, int srcY, int srcW, int srcH)
{
    if (&dest == &src) {
        TBitmap copy = src;
        StretchCopy(dest, dstX, dstY, dstW, dstH, copy, srcX, srcY, srcW, srcH);
        return;
    }
    Stretch(dest, dstX, dstY, dstW, dstH, src, srcX, srcY, srcW, srcH, nullptr);
}

void BrushCopy(TBitmap& dest, const TBitmap& src, TColor transparent, TColor brush)
{
    if (&dest == &src) {
        TBitmap copy = src;
        BrushCopy(dest, copy, transparent, brush);
        return;
    }
    TBrush replacement { transparent, brush };
    Stretch(dest, 0, 0, dest.Width(), dest.Height(), src, 0, 0, src.Width(), src.Height(),
        &replacement);
}

TBitmap MakeMonochromeMask(const TBitmap& src, TColor color)
{
    TBitmap mask(src.Width(), src.Height(), TPixelFormat::pf1bit);
    mask.Palette() = { TRGBQuad { 0, 0, 0, 0 }, TRGBQuad { 255, 255, 255, 0 } };
    color &= RgbMask;
    // True-colour pixels, the import's case, are compared as stored bytes.
    const size_t trueColorBytes = src.PixelFormat() == TPixelFormat::pf24bit ? 3
        : src.PixelFormat() == TPixelFormat::pf32bit                         ? 4
                                                                             : 0;
    for (int y = 0; y < src.Height(); ++y) {
        const uint8_t* srcRow = src.ScanLine(y);
        uint8_t* maskRow = mask.ScanLine(y);
        for (int x = 0; x < src.Width(); ++x) {
            const uint8_t* p = srcRow + trueColorBytes * static_cast<size_t>(x);
            const TColor pixel
                = trueColorBytes ? RGB(p[2], p[1], p[0]) : ReadRowColor(src, srcRow, x);
            if (pixel == color)
                maskRow[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return mask;
}

} // namespace velmora
