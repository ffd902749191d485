#pragma once

#include "graphics/bitmap.h"
#include "support/byte_io.h"

namespace velmora
{

/// Decodes run-length compressed .bmp pixel data of 4 or 8 bits per pixel into a palette bitmap
/// of that bit count, whose pixels must all be 0. The data runs bottom-up: its first line is
/// the bitmap's last row. Pixels that no run reaches stay 0; data that ends without an end
/// mark ends the picture there. Pixels of a run that fall into the padding of a row are
/// dropped. Raises EInvalidGraphic for a run past the padded row, a move past the picture and
/// data that ends inside a command.
void DecodeBmpRle(ByteSpan data, TBitmap& bitmap);

} // namespace velmora
