#pragma once

#include "graphics/pixel_format.h"

#include <array>
#include <cstdint>
#include <vector>

namespace velmora
{

/// A palette of the colour reduction: at most 256 colours (the reserved bytes are 0).
using TColorPalette = std::vector<TRGBQuad>;

/// 256 grey levels: entry i is (i, i, i).
TColorPalette GrayScalePalette();

/// The 216 web-safe colours with red slowest: entry 36*r + 6*g + b is (51*r, 51*g, 51*b).
TColorPalette WebSafePalette();

/// Maps a colour to the index of a palette colour.
class TColorLookup
{
public:
    explicit TColorLookup(int32_t colors)
        : Colors(colors)
    {
    }
    virtual ~TColorLookup() = default;
    TColorLookup(const TColorLookup&) = delete;
    TColorLookup& operator=(const TColorLookup&) = delete;

    /// The index of the palette colour for (red, green, blue); the palette colour itself is
    /// given back in outRed, outGreen and outBlue.
    virtual uint8_t MapColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed,
        uint8_t& outGreen, uint8_t& outBlue)
        = 0;

    /// The number of palette colours mapped to.
    const int32_t Colors;
};

/// Onto the grey palette by luminance: (77 red + 150 green + 29 blue) / 256, truncated.
class TGrayScaleLookup final : public TColorLookup
{
public:
    TGrayScaleLookup()
        : TColorLookup(256)
    {
    }
    uint8_t MapColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen,
        uint8_t& outBlue) override;
};

/// Onto the web-safe palette, each channel to level (value + 3) / 51: 48 and above give level
/// 1, 99 level 2, 150 level 3, 201 level 4, 252 level 5, and 51*k exactly level k.
class TNetscapeColorLookup final : public TColorLookup
{
public:
    TNetscapeColorLookup()
        : TColorLookup(216)
    {
    }
    uint8_t MapColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen,
        uint8_t& outBlue) override;
};

/// Onto any palette of up to 256 colours through a cache of 32768 cells, one per 15-bit colour
/// (5 bits a channel). A cell first belongs to the lowest palette entry of its key; an empty
/// cell is filled on first use with the entry nearest by the sum of absolute channel
/// differences (the lowest index on a tie). A filled cell answers for every colour of its key,
/// without a distance check, so the first colour mapped into a cell decides for the rest.
class TFastColorLookup final : public TColorLookup
{
public:
    explicit TFastColorLookup(const TColorPalette& palette);
    uint8_t MapColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen,
        uint8_t& outBlue) override;

    /// The 15-bit cache key of a colour: red in the lowest 5 bits, blue in the highest.
    static constexpr uint16_t Key(uint8_t red, uint8_t green, uint8_t blue)
    {
        return static_cast<uint16_t>((red >> 3) | ((green & 0xF8) << 2) | ((blue & 0xF8) << 7));
    }

private:
    static constexpr uint16_t EmptyCell = 0xFFFF;
    std::vector<TRGBQuad> m_palette;
    std::vector<uint16_t> m_cache;
};

/// Drives a colour mapper over the pixels of each row in serpentine order: the first row left
/// to right, the next right to left, and so on. No error is diffused: every pixel is mapped on
/// its own, but the order decides which colour fills each cell of TFastColorLookup first.
class TDitherEngine
{
public:
    /// Starts at column 0, going right. The mapper is not owned.
    TDitherEngine(int width, TColorLookup& lookup);
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    /// Maps the pixel at Column() and moves the column on by the direction.
    virtual uint8_t MapPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed,
        uint8_t& outGreen, uint8_t& outBlue);
    /// Turns round for the next row: column 0 going right, or width - 1 going left.
    virtual void NextRow();

    /// The pixel to map next; outside 0..width-1 once the row is done.
    int Column() const { return m_column; }
    int Direction() const { return m_direction; }

private:
    int m_direction = 1;
    int m_column = 0;
    TColorLookup& m_lookup;
    int m_width;
};

} // namespace velmora
