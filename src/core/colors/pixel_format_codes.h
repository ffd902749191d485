#pragma once

#include "graphics/pixel_format.h"

#include <cstdint>

namespace velmora
{

/// Records the screen's colour depth (bits per pixel times planes), as the GUI reads it at
/// start-up, and derives ScreenPixelFormat from it: 0 gives pfDevice, 1, 4, 8, 15 and 16 their
/// formats, and both 24 and 32 give pf32bit, since X11 keeps 24-bit depth in 32-bit pixels;
/// any other depth gives pfCustom.
void SetScreenColorDepth(int depth);

/// The depth last given to SetScreenColorDepth (32 until then).
int GetScreenColorDepth();

/// The pixel format of the screen (pf32bit until SetScreenColorDepth is called).
TPixelFormat ScreenPixelFormat();

/// The bytes of one row of width pixels at bitsPerPixel, padded to alignment bits (a power of
/// two; 32 gives the row size of a device-independent bitmap). Computed in 64 bits, so every
/// int width and bit count is safe. Raises EInvalidGraphic for a negative width or bit count or
/// an alignment that is not a positive power of two.
int64_t BytesPerScanline(int64_t width, int64_t bitsPerPixel, int64_t alignment);

} // namespace velmora
