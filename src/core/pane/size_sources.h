#pragma once

#include "graphics/bitmap.h"
#include "graphics/vector_picture.h"

#include <map>
#include <span>
#include <string>
#include <vector>

namespace velmora
{

/// The files that give single sizes their own picture, by side; the other sizes come from the
/// main picture.
using TSizeSources = std::map<int, std::string>;

/// One size made for the sizes import: the picture, or the reason it could not be made.
struct TMadeSize {
    int Side = 0;
    std::string FileName; ///< the file it was made from
    TBitmap Picture; ///< empty when it was not made
    std::string Error; ///< why it was not made
};

/// The files beside a picture that give sizes their own picture: for logo.svg and side 16,
/// logo-16.svg, or else logo-16.png, when it exists.
TSizeSources FindSizeSources(const std::string& fileName, std::span<const int> sides);

/// Makes each side from its source in sources, or else from fileName: an SVG (or SVGZ) is
/// drawn at each side by drawer (refused when there is none); a PNG or bitmap of exactly that
/// size is taken as it is, a larger one is resampled as MakeSquareSizes does, a smaller one is
/// refused. The main picture is read once for all its sides. One result per side, in order.
std::vector<TMadeSize> MakePictureSizes(IVectorPictureDrawer* drawer, const std::string& fileName,
    std::span<const int> sides, const TSizeSources& sources);

} // namespace velmora
