#pragma once

#include "graphics/bitmap.h"
#include "graphics/icon.h"

namespace velmora
{

/// An icon image at its own size as a 32-bit picture with straight alpha: an image with alpha
/// keeps it; any other image is transparent exactly where its mask is. Decoding errors are
/// raised.
TBitmap IconPicture(const TIcon& icon);

} // namespace velmora
