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

/// Encodes a 32-bit bitmap (blue, green, red, alpha) as an 8-bit RGBA, non-interlaced PNG
/// stream. Raises EInvalidGraphic for other pixel formats and for an empty bitmap.
Bytes EncodePng(const TBitmap& bgra32);

/// Encodes a 32-bit bitmap as small as PNG holds it exactly: grey, a palette of up to 256
/// colours with their alpha (packed to 1, 2 or 4 bits when that suffices), grey with alpha,
/// RGB or RGBA, at deflate level 9 with a filter chosen per row. Slower than EncodePng; for
/// pictures that are stored, such as the 256-pixel images of icon files.
Bytes EncodePngCompact(const TBitmap& bgra32);

} // namespace velmora
