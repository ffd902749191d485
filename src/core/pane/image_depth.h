#pragma once

#include <string>

namespace velmora
{

class TIconDirectory;
struct TIconDirectoryImage;

/// The depth that an image's own data gives: the bit count of its bitmap header, or the bits
/// per pixel of its PNG stream; 0 when the data tells none.
int ImageDataBitCount(const TIconDirectoryImage& image);

/// The header of a depth row of the grid: " %d bpp " with the stored bit count. Entries that
/// store 0 (common from old tools) show the depth of their images' own data, marked as such,
/// when all images of the row agree on it.
std::string DepthHeaderText(const TIconDirectory& document, int storedBitCount);

/// The status text of one selected image: its index, depth, width and height; for an entry
/// that stores 0 bits per pixel the depth of the image's own data, marked as such.
std::string ImageStatusText(const TIconDirectory& document, int index);

} // namespace velmora
