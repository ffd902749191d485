#pragma once

#include "graphics/bitmap.h"

#include <QImage>

namespace velmora
{

/// A core bitmap of any pixel format as a 32-bit QImage. 32-bit bitmaps keep their alpha
/// bytes; the others become opaque.
QImage ToQImage(const TBitmap& bitmap);

/// A QImage as a core bitmap of 24 bits per pixel: the form in which pictures from the
/// clipboard reach the icon document. Transparent pixels are laid over black.
TBitmap FromQImage(const QImage& image);

} // namespace velmora
