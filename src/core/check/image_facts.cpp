#include "check/image_facts.h"

#include "graphics/png_codec.h"
#include "icons/icon_image_layout.h"

#include <algorithm>

namespace velmora
{

namespace
{

uint32_t ReadU32BigEndian(const uint8_t* p)
{
    return (uint32_t { p[0] } << 24) | (uint32_t { p[1] } << 16) | (uint32_t { p[2] } << 8) | p[3];
}

constexpr size_t PngSignatureSize = 8;
constexpr size_t PngChunkOverhead = 12; // length, type and CRC

// The end of the chunk named IEND, walking the chunks one by one; 0 when the stream ends
// first. Each step moves past one chunk, so the walk follows the stream's length.
uint64_t PngStreamEnd(ByteSpan data)
{
    uint64_t at = PngSignatureSize;
    while (at + PngChunkOverhead <= data.size()) {
        const uint64_t length = ReadU32BigEndian(data.data() + at);
        const uint64_t end = at + PngChunkOverhead + length;
        if (end > data.size())
            return 0;
        if (std::equal(data.begin() + static_cast<std::ptrdiff_t>(at + 4),
                data.begin() + static_cast<std::ptrdiff_t>(at + 8), "IEND"))
            return end;
        at = end;
    }
    return 0;
}

} // namespace

std::optional<TImageFacts> ReadImageFacts(ByteSpan data)
{
    TImageFacts facts;
    if (IsPngData(data)) {
        // The header chunk: length(4) "IHDR"(4) width(4) height(4) depth(1) colour type(1).
        if (data.size() < 26 || !std::equal(data.begin() + 12, data.begin() + 16, "IHDR"))
            return std::nullopt;
        facts.Png = true;
        const uint32_t width = ReadU32BigEndian(data.data() + 16);
        const uint32_t height = ReadU32BigEndian(data.data() + 20);
        facts.Width = static_cast<int>(std::min<uint32_t>(width, INT32_MAX));
        facts.Height = static_cast<int>(std::min<uint32_t>(height, INT32_MAX));
        facts.PngDepth = data[24];
        facts.PngColorType = data[25];
        // Readers decode every PNG image to 32-bit pixels: that is the depth they pick it by.
        facts.BitCount = 32;
        facts.BytesNeeded = PngStreamEnd(data);
        return facts;
    }
    if (data.size() < TBitmapInfoHeader::Size)
        return std::nullopt;
    const TBitmapInfoHeader& h = facts.Header = TBitmapInfoHeader::FromBytes(data.data());
    facts.Width = static_cast<int>(std::clamp<int64_t>(h.biWidth, INT32_MIN, INT32_MAX));
    facts.Height = h.biHeight / 2; // the colour rows and the mask rows
    facts.BitCount = h.biBitCount;
    facts.Planes = h.biPlanes;
    if (h.biBitCount <= 8)
        facts.PaletteEntries = h.biClrUsed != 0 ? std::min<uint32_t>(h.biClrUsed, 256)
                                                : uint32_t { 1 } << h.biBitCount;
    facts.BytesNeeded = IconImageBytesNeeded(h).value_or(0);
    return facts;
}

TIconDirectoryEntry EntryForImage(const TImageFacts& facts, const TIconDirectoryEntry& entry)
{
    TIconDirectoryEntry made = entry;
    // A side of 256 or more is stored as 0.
    made.Width = facts.Width >= 256 ? 0 : static_cast<uint8_t>(facts.Width);
    made.Height = facts.Height >= 256 ? 0 : static_cast<uint8_t>(facts.Height);
    made.BitCount = static_cast<uint16_t>(facts.BitCount);
    made.Planes = facts.Png ? uint16_t { 1 } : static_cast<uint16_t>(facts.Planes);
    // The colour count holds a palette of fewer than 256 colours; 0 stands for all others.
    made.ColorCount
        = !facts.Png && facts.PaletteEntries < 256 ? static_cast<uint8_t>(facts.PaletteEntries) : 0;
    if (facts.BytesNeeded != 0 && facts.BytesNeeded <= UINT32_MAX)
        made.BytesInRes = static_cast<uint32_t>(facts.BytesNeeded);
    return made;
}

} // namespace velmora
