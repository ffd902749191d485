#pragma once

#include "graphics/bitmap.h"
#include "graphics/icon.h"
#include "graphics/icon_decoder.h"

namespace velmora
{

/// Draws an icon image onto a 32-bit bitmap as DrawIconEx with DI_NORMAL does: the image is
/// stretched to w x h by nearest neighbour (destination column dx takes source column
/// dx * width / w, rows likewise) and clipped to the bitmap. Nothing is drawn when w or h is 0
/// or less.
///
/// Images with alpha blend each colour byte as (src * a + dest * (255 - a) + 127) / 255 and
/// combine the alpha byte as a + (destAlpha * (255 - a) + 127) / 255, so that drawing onto
/// transparent black leaves the image's own alpha. Images without alpha go through the mask
/// and the XOR colours: dest = (dest AND (mask ? 0xFFFFFF : 0)) XOR colour, so a mask bit of 1
/// with a non-black colour inverts the destination; pixels whose mask is 0 become opaque
/// (alpha 255), those whose mask is 1 keep the destination's alpha byte.
///
/// Raises EInvalidGraphic when the destination is not a 32-bit bitmap.
void DrawIcon(TBitmap& dest, int x, int y, int w, int h, const TIconImage& image);

/// Decodes the icon's image (DecodeIcon) and draws it as above. Decoding errors pass through.
void DrawIcon(TBitmap& dest, int x, int y, int w, int h, const TIcon& icon);

} // namespace velmora
