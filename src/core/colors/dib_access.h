#pragma once

#include "colors/color_lookup.h"
#include "graphics/bitmap.h"

#include <optional>

namespace velmora
{

/// Row access to a bitmap of the colour reduction.
class TDIB
{
public:
    TDIB(TBitmap& bitmap, TPixelFormat format)
        : m_bitmap(bitmap)
        , m_pixelFormat(format)
    {
    }
    virtual ~TDIB() = default;
    TDIB(const TDIB&) = delete;
    TDIB& operator=(const TDIB&) = delete;

    /// The start of picture row `row`, row 0 the top row.
    virtual uint8_t* ScanRow(int row) = 0;

    TPixelFormat PixelFormat() const { return m_pixelFormat; }

protected:
    TBitmap& m_bitmap;
    TPixelFormat m_pixelFormat;
};

/// The source of the colour reduction: the caller's bitmap, converted in place to 24 bits per
/// pixel when the reader is created (rows of blue, green, red).
class TDIBReader final : public TDIB
{
public:
    explicit TDIBReader(TBitmap& bitmap);
    uint8_t* ScanRow(int row) override;
    int Width() const { return m_bitmap.Width(); }
    int Height() const { return m_bitmap.Height(); }
};

/// The destination of the colour reduction: a new picture of width x height at 8 (or 24) bits
/// per pixel with a colour table of 256 entries, the palette's colours then zero entries, and
/// the palette's size as its important-colours count. The picture is allocated on the first
/// ScanRow and replaces the target bitmap's picture when the writer is released.
class TDIBWriter final : public TDIB
{
public:
    /// Raises GIFException "Invalid image dimensions" when width or height is not positive and
    /// EInvalidGraphic for a format other than 8 and 24 bits per pixel.
    TDIBWriter(
        TBitmap& target, const TColorPalette& palette, int height, int width, TPixelFormat format);
    ~TDIBWriter() override;

    /// Raises EOutOfMemory "Failed to allocate memory for GIF DIB" when the picture cannot be
    /// allocated and EListError for a row outside 0..height-1.
    uint8_t* ScanRow(int row) override;

private:
    std::optional<TBitmap> m_picture;
    TColorPalette m_palette;
    int m_height;
    int m_width;
};

} // namespace velmora
