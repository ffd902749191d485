#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

namespace velmora
{

/// Directions of DrawChevron.
enum TChevronDirection : int {
    cdUp = 0,
    cdRight = 1,
    cdDown = 2,
    cdLeft = 3,
};

/// Draws a small chevron arrow in a 5 x 5 box scaled by scale, its box's top-left corner at
/// (x0, y0): the six corner points of the direction become one polygon, filled and outlined
/// with a 1-pixel pen, both in the colour (a system colour is resolved first), clipped to the
/// bitmap. An unknown direction draws nothing. Raises EInvalidGraphic for a scale beyond
/// -4096..4096.
void DrawChevron(TBitmap& bitmap, int direction, int x0, int y0, TColor color, int scale);

} // namespace velmora
