#pragma once

#include "graphics/bitmap_info_header.h"

#include <cstdint>

namespace velmora
{

/// One 16-byte directory entry of an icon file, held in memory. Width and Height store 256
/// as 0, as the file does; ImageWidth and ImageHeight give the size that 0 stands for.
struct TIconDirectoryEntry {
    uint8_t ColorCount = 0;
    uint8_t Height = 0;
    uint8_t Reserved = 0;
    uint8_t Width = 0;
    uint32_t ImageOffset = 0;
    uint32_t BytesInRes = 0;
    uint16_t BitCount = 0;
    uint16_t Planes = 0;
    /// The hotspot of a cursor image, which a cursor file stores in place of Planes and
    /// BitCount; those two then come from the image's own header. Zero in icons.
    uint16_t HotspotX = 0;
    uint16_t HotspotY = 0;

    static constexpr size_t RecordSize = 16;

    /// Takes all eight fields from a 16-byte file entry.
    bool ReadFromRecord(const uint8_t* record);
    /// Puts all eight fields into a 16-byte file entry.
    bool WriteToRecord(uint8_t* record) const;
    /// Copies all eight fields; false, copying nothing, when there is no source.
    bool Assign(const TIconDirectoryEntry* source);
    /// Describes a bitmap header: width and height from its low bytes, no colour count,
    /// planes and bit count from the header, size from biSizeImage, offset 0.
    bool AssignFromBitmapHeader(const TBitmapInfoHeader& header);

    /// The image width in pixels (a stored 0 means 256).
    int ImageWidth() const { return Width == 0 ? 256 : Width; }
    /// The image height in pixels (a stored 0 means 256).
    int ImageHeight() const { return Height == 0 ? 256 : Height; }

    bool operator==(const TIconDirectoryEntry&) const = default;
};

} // namespace velmora
