#pragma once

#include "graphics/bitmap.h"

namespace velmora
{

/// How ReduceBitmapColors chooses the 256-colour palette and maps the pixels onto it.
enum TColorReductionMethod {
    /// 256 grey levels, each pixel by its luminance.
    crmGrayScale,
    /// The 216 web-safe colours, each channel to one of 6 levels.
    crmWebSafe,
    /// 256 colours found by octree quantisation of the picture, each pixel to a near palette
    /// colour through a 15-bit cache.
    crmOptimized,
};

/// Replaces the bitmap's picture by an 8-bit picture of the same size with a 256-entry palette
/// (the method's colours, then black) whose ImportantColors is the method's colour count (256
/// grey, 216 web-safe, 256 optimised). The bitmap is converted to 24 bits per pixel first;
/// pixels are then mapped one by one, each row in turn from the top, in serpentine order,
/// without error diffusion.
///
/// Raises GIFException "Invalid image dimensions" for a width or height of 0 (the bitmap is
/// left converted to 24 bits) and EOutOfMemory "Failed to allocate memory for GIF DIB" when
/// the new picture cannot be allocated.
void ReduceBitmapColors(TBitmap& bitmap, TColorReductionMethod method);

} // namespace velmora
