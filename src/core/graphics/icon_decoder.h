#pragma once

#include "graphics/bitmap.h"
#include "graphics/icon.h"
#include "support/byte_io.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora
{

/// One icon image decoded for drawing: its colours, its AND mask and whether it carries alpha.
struct TIconImage {
    /// 32-bit pixels (blue, green, red, alpha), top row first. For images with alpha the
    /// alpha byte is the image's own; for images without alpha the colours are the XOR colours
    /// as stored and the alpha byte is 255 where the mask is 0 and 0 where it is 1.
    TBitmap Pixels;
    /// The AND mask, one byte per pixel, top row first: 1 where the image lets the background
    /// through. PNG images get a mask of 1 where their alpha is 0.
    std::vector<uint8_t> Mask;
    /// True when drawing blends by the alpha bytes (32-bit and PNG images); false when it
    /// combines through the AND mask and the XOR colours.
    bool HasAlpha = false;
    /// The image's own bit count (the header's biBitCount; 32 for PNG images).
    int BitCount = 0;
    /// True for a PNG-compressed image.
    bool IsPng = false;

    int Width() const { return Pixels.Width(); }
    int Height() const { return Pixels.Height(); }
    /// The mask bit at a pixel (the caller keeps x and y inside the image).
    bool MaskAt(int x, int y) const
    {
        return Mask[static_cast<size_t>(y) * static_cast<size_t>(Width()) + static_cast<size_t>(x)]
            != 0;
    }
};

/// Decodes the data of one icon image, as found at its directory entry's offset: a PNG stream
/// or a BMP-style image (BITMAPINFOHEADER or a later header, colour masks or colour table,
/// bottom-up XOR rows and AND rows) of 1, 4, 8, 16, 24 or 32 bits per pixel. The size comes
/// from the image's own header. A 32-bit image whose alpha bytes are all 0 takes its alpha from
/// the mask; a 32-bit image whose data ends before its mask rows is decoded with a mask of 0.
/// Raises EInvalidGraphic for anything that cannot be decoded safely: short data, sizes that
/// are negative, zero or beyond the bitmap limits, unknown bit counts or compressions, and
/// invalid colour masks.
TIconImage DecodeIconImage(ByteSpan imageData);

/// Decodes the image of a one-image icon file: checks the 6-byte header and the first
/// directory entry's offset and size against the held bytes, then decodes the image data.
TIconImage DecodeIcon(const TIcon& icon);

/// What an icon image is, as far as a reader can find without drawing it.
struct TIconImageShape {
    int Width = 0;
    int Height = 0;
    int BitCount = 0; // the image's own (the header's; 32 for PNG images)
    bool IsPng = false;
};

/// Checks that the image of a one-image icon file can be decoded, and gives its own size and
/// depth: a PNG stream is decoded whole (only that finds damaged data), a BMP-style image has
/// its header and the sizes of its parts checked without its pixels being made. Raises what
/// DecodeIcon raises.
TIconImageShape InspectIcon(const TIcon& icon);

/// DecodeIcon through the program's cache of decoded pictures: a call decodes unless the
/// picture is still kept, and later calls share it until the icon's bytes change or the cache
/// lets it go. Decoding errors are raised on every call.
std::shared_ptr<const TIconImage> DecodedIcon(const TIcon& icon);

} // namespace velmora
