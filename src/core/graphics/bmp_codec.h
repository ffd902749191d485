#pragma once

#include "graphics/bitmap.h"
#include "graphics/bitmap_info_header.h"
#include "support/byte_io.h"

#include <cstdint>
#include <filesystem>

namespace velmora
{

/// The largest .bmp file that LoadBitmapFromFile reads: twice the largest pixel data (room for
/// run-length data that grew instead of shrinking) and 1 MiB for headers and gaps.
inline constexpr uint64_t MaxBmpFileBytes = 2 * TBitmap::MaxPixelBytes + 1024 * 1024;

/// Reads a .bmp file from its bytes.
///
/// Understands the core (12-byte), info (40-byte) and V2, V3, V4 and V5 headers; 1, 4, 8, 16,
/// 24 and 32 bits per pixel; no compression, bit fields (with an alpha mask too), and
/// run-length compression of 4 and 8 bits (pixels that the runs skip keep index 0); bottom-up
/// and top-down rows; short colour tables (the missing entries are black). The pixel data is
/// taken from the offset the file header gives.
///
/// The bitmap keeps the file's format: 1, 4 and 8 bits give palette bitmaps with a full
/// palette; 16 bits of the 5-5-5 layout give pf15bit and of the 5-6-5 layout pf16bit; 24 bits
/// give pf24bit; 32 bits of the blue-green-red layout give pf32bit with the fourth byte as
/// stored. Other bit-field layouts are converted exactly: to pf32bit for 32-bit files and
/// layouts with an alpha mask (alpha 0 when there is none), to pf24bit for the other 16-bit
/// layouts. Raises EInvalidGraphic with a text that names the fault for anything else.
TBitmap ReadBmp(ByteSpan fileBytes);

/// Reads a .bmp file (at most MaxBmpFileBytes of it); raises EInOutError when the file cannot
/// be read and EInvalidGraphic, whose text names the file, when it is no valid bitmap.
TBitmap LoadBitmapFromFile(const std::filesystem::path& name);

/// The bytes of a .bmp file holding the bitmap: a 40-byte info header, bottom-up rows; 1, 4
/// and 8 bits with their whole palette; pf15bit as 16 bits without compression; pf16bit as 16
/// bits with the bit-field masks 0xF800, 0x07E0 and 0x001F after the header; 24 and 32 bits
/// without compression (the fourth byte as it is). ReadBmp gives back an equal bitmap. Raises
/// EInvalidGraphic for an empty bitmap.
Bytes WriteBmp(const TBitmap& bitmap);

/// Writes the bitmap as a .bmp file; the old file stays whole until the new one is complete.
void SaveBitmapToFile(const TBitmap& bitmap, const std::filesystem::path& name);

/// The info header that describes a bitmap as WriteBmp stores it: biBitCount 16 for pf15bit
/// and pf16bit, biCompression BI_BITFIELDS for pf16bit (BI_RGB otherwise), a positive height,
/// biSizeImage = stride x height and biClrUsed 0.
TBitmapInfoHeader HeaderOf(const TBitmap& bitmap);

} // namespace velmora
