#pragma once

#include "graphics/bitmap_info_header.h"
#include "icons/icon_directory_entry.h"
#include "support/byte_io.h"

#include <cstdint>
#include <optional>

namespace velmora
{

/// What an icon image's own header says about it, read without decoding its pixels.
struct TImageFacts {
    bool Png = false;
    int Width = 0;
    int Height = 0;
    /// The header's bit count; 32 for PNG images, which readers decode to 32-bit pixels.
    int BitCount = 0;
    int Planes = 1;
    /// Colour table entries of a palette bitmap (biClrUsed, or 2 to the bit count).
    uint32_t PaletteEntries = 0;
    /// The bytes the image takes: its header, tables, colour and mask rows; the PNG stream up
    /// to the end of its last chunk. 0 when that is not known.
    uint64_t BytesNeeded = 0;
    int PngColorType = -1;
    int PngDepth = 0;
    TBitmapInfoHeader Header;
};

/// The facts of one image's data; none when not even its header can be read.
std::optional<TImageFacts> ReadImageFacts(ByteSpan data);

/// The directory entry that describes the image: entry with its width, height, bit count,
/// planes, colour count and byte count taken from the facts, its offset kept.
TIconDirectoryEntry EntryForImage(const TImageFacts& facts, const TIconDirectoryEntry& entry);

} // namespace velmora
