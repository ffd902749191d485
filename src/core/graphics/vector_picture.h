#pragma once

#include "graphics/bitmap.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora
{

/// Draws pictures that are kept as drawings rather than pixels (SVG) at any size. The core reads
/// none itself: the tool and the window hand their drawer in through the pane's platform.
class IVectorPictureDrawer
{
public:
    virtual ~IVectorPictureDrawer() = default;
    /// Draws the picture of a file once per side (1 to 256), fitted inside each square with its
    /// proportions kept and centred on transparency, as 32-bit bitmaps with straight alpha whose
    /// fully transparent pixels are 0 in every byte, in the order of the sides. Raises
    /// Exception with the reason when the file cannot be read or drawn.
    virtual std::vector<TBitmap> DrawSquares(
        const std::string& fileName, std::span<const int> sides)
        = 0;
};

/// True when a file name ends in ".svg" or ".svgz" in any letter case.
bool IsVectorPictureName(std::string_view fileName);

} // namespace velmora
