#pragma once

#include "graphics/bitmap.h"
#include "graphics/icon.h"

namespace velmora
{

/// A rectangle from (Left, Top) up to but not including (Right, Bottom).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

/// Draws an icon image on a 32-bit canvas at (x, y) in width x height pixels (0: the image's
/// own) over a background colour (ColorNone: what the canvas holds). A 32-bit image on a
/// 32-bit screen is blended by its alpha over the background; any other image is drawn through
/// its mask. Nothing happens without a canvas. Raises EIconPaint when drawing fails.
void PaintIcon(TBitmap* canvas, int x, int y, TColor backColor, int height, int width, int bitCount,
    const TIcon& icon);

/// PaintIcon into a rectangle.
void PaintIconInRect(
    TBitmap* canvas, const TRect& rect, const TIcon& icon, TColor backColor, int bitCount);

} // namespace velmora
