#pragma once

#include "graphics/bitmap.h"
#include "support/byte_io.h"

namespace velmora
{

/// True when the data begins with the 8-byte PNG signature (a PNG-compressed icon image).
bool IsPngData(ByteSpan data);

/// Decodes a PNG stream into a 32-bit bitmap (blue, green, red, alpha; top row first). Every
/// colour type and bit depth is expanded to 8-bit RGBA; images without alpha become opaque.
/// Raises EInvalidGraphic for a damaged or truncated stream (CRC errors in critical chunks
/// included) and for sizes outside the bitmap limits, which are refused before any pixel
/// memory is allocated.
TBitmap DecodePng(ByteSpan data);

/// How hard the PNG writer works at packing a picture.
enum class TPngEffort {
    Fast, // the "up" filter and a quick deflate: pictures written for a moment or in bulk
    Smallest, // the best filter for each row and a thorough deflate: stored images
};

/// Encodes a 32-bit bitmap (blue, green, red, alpha) as an 8-bit RGBA (colour type 6),
/// non-interlaced PNG stream, the only kind of PNG that icon files may hold. Raises
/// EInvalidGraphic for other pixel formats and for an empty bitmap.
Bytes EncodePngRgba(const TBitmap& bgra32, TPngEffort effort);

/// EncodePngRgba with the fast effort.
inline Bytes EncodePng(const TBitmap& bgra32)
{
    return EncodePngRgba(bgra32, TPngEffort::Fast);
}

/// EncodePngRgba with the smallest output: for pictures that are stored, such as the
/// PNG-compressed images of icon files.
inline Bytes EncodePngCompact(const TBitmap& bgra32)
{
    return EncodePngRgba(bgra32, TPngEffort::Smallest);
}

} // namespace velmora
