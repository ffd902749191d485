#pragma once

#include "graphics/bitmap.h"

#include <cstdint>

namespace velmora
{

/// What AnalyzeBitmap found out about a picture's colours.
struct TBitmapColorInfo {
    /// A pixel whose red, green and blue are not all equal was seen.
    bool HasNonGrayColor = false;
    /// A pixel outside the 216 WebSafeColors was seen.
    bool HasNonWebSafeColor = false;
    /// A pixel outside the 16 StandardColors was seen.
    bool HasNonStandardColor = false;
    /// The number of distinct 24-bit colours (only when counting was asked for).
    int32_t ColorCount = 0;

    bool operator==(const TBitmapColorInfo&) const = default;
};

/// Analyses the colours of a picture, taken as it looks at 32 bits per pixel (palette entries
/// looked up, the alpha byte ignored), rows top to bottom and pixels left to right.
///
/// Every field of info is reset first. With checkPalettes the three Has... flags are set, and
/// the membership tests stop once all three are true; with countColors ColorCount counts the
/// distinct colours. Without either flag, or without a picture, nothing else happens. Any error
/// is raised again as the general error "Exception in AnalyzeBitmap\n" plus its text.
void AnalyzeBitmap(
    const TBitmap* picture, bool checkPalettes, bool countColors, TBitmapColorInfo& info);

} // namespace velmora
