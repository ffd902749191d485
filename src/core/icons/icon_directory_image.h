#pragma once

#include "graphics/bitmap_info_header.h"
#include "graphics/icon.h"

#include <cstdint>
#include <memory>

namespace velmora
{

/// One image of an icon document: its bitmap header as found at the start of its data, and
/// the icon object that holds the image as a one-image icon file.
struct TIconDirectoryImage {
    TBitmapInfoHeader Header;
    std::unique_ptr<TIcon> Icon = std::make_unique<TIcon>();

    /// True when the image was read from a file that ends inside its data; its entry's
    /// BytesInRes is then the kept size and StoredBytesInRes the file's value.
    bool Truncated = false;
    uint32_t StoredBytesInRes = 0;

    /// A PNG stream stands in place of the bitmap header.
    bool IsPng() const;
};

} // namespace velmora
