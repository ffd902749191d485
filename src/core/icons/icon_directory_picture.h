#pragma once

#include "graphics/bitmap.h"
#include "icons/icon_directory.h"
#include "messages/result_codes.h"

#include <string>

namespace velmora
{

/// The largest side of an image made from a picture; images this large in either direction are
/// stored PNG-compressed, as Windows expects them, smaller ones as 32-bit images with alpha.
inline constexpr int LargestPictureSide = 256;

/// An image of a document made from a 32-bit picture with straight alpha.
struct TPictureImage {
    TIconDirectoryEntry Entry;
    TIconDirectoryImage Image;
};

/// Makes the image of a 32-bit picture of 1 to 256 pixels a side: a PNG-compressed image when
/// a side is 256 or storePng is set, otherwise a 32-bit image whose AND mask is 1 where the
/// alpha is 0 (such pixels get black colours). Raises EInvalidGraphic for other sizes or
/// formats.
TPictureImage MakePictureImage(const TBitmap& picture, bool storePng = false);

/// Adds the image of a 32-bit picture to a document. 0 when added; index + 1 of an image of
/// the same format (32 bits, the picture's size); ResultPictureTooLarge above 256 pixels a
/// side; ResultBitmapHeaderEmpty for an empty picture; ResultAddTooManyImages.
/// storePng stores it PNG-compressed at any size.
int ImportPicture(TIconDirectory& document, const TBitmap& picture, bool storePng = false);

/// ImportPicture of a PNG file; -99 when the file does not exist. A picture above 256 pixels a
/// side is refused before it is decoded. Reading and decoding errors are raised as
/// "IconDirEntry.ImportBitmap failed.\r\n%s".
int ImportPictureFile(TIconDirectory& document, const std::string& fileName);

} // namespace velmora
