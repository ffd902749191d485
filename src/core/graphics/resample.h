#pragma once

#include "graphics/bitmap.h"

#include <span>
#include <vector>

namespace velmora
{

/// The largest side of a picture that sizes are made from.
inline constexpr int LargestSourceSide = 8192;

/// Makes square pictures of the given sides (1 to 256) from one 32-bit picture with straight
/// alpha (up to LargestSourceSide a side), in the order of the sides. The picture is fitted
/// inside each square, keeping its proportions, and centred on transparency. Resampling uses
/// a Lanczos filter on premultiplied alpha, so that the colours of transparent pixels never
/// bleed into visible ones: three lobes, or two for sides of 256 (stored PNG-compressed, where
/// the weaker ringing at edges makes the file markedly smaller); a side of less than half of one
/// already made is made from that smaller square, which costs far less than reading the whole
/// picture again. The results are 32-bit with straight alpha; fully transparent pixels are 0 in
/// every byte. Raises EInvalidGraphic for other formats, an empty or too large picture and bad
/// sides.
std::vector<TBitmap> MakeSquareSizes(const TBitmap& picture, std::span<const int> sides);

} // namespace velmora
