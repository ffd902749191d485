#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "graphics/bmp_rle.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>

namespace velmora
{

namespace
{

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t BI_JPEG = 4;
constexpr uint32_t BI_PNG = 5;

[[noreturn]] void Refuse(std::string_view format, std::initializer_list<std::string_view> args = {})
{
    throw EInvalidGraphic(FormatText(format, args));
}

/// What the headers of a .bmp file say about its picture.
struct TBmpLayout {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bits = 0;
    uint32_t compression = BI_RGB;
    std::array<uint32_t, 4> masks {}; // red, green, blue, alpha
    uint64_t headersEnd = 0; // end of the headers and of masks stored after them
    uint64_t paletteEntries = 0;
    uint64_t paletteEntrySize = 4;
    uint64_t dataOffset = 0;
    uint32_t sizeImage = 0;
    uint32_t clrImportant = 0;
};

void CheckMasks(const std::array<uint32_t, 4>& masks, int bits)
{
    uint32_t seen = 0;
    uint32_t limit = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (size_t i = 0; i < masks.size(); ++i) {
        uint32_t mask = masks[i];
        if (mask == 0 && i == 3)
            continue; // no alpha
        uint32_t shifted = mask == 0 ? 0 : mask >> std::countr_zero(mask);
        bool contiguous = mask != 0 && (shifted & (shifted + 1)) == 0;
        if (!contiguous || (mask & seen) != 0 || (mask & ~limit) != 0)
            Refuse(Messages::BmpBadMasks);
        seen |= mask;
    }
}

TBmpLayout ParseHeaders(ByteSpan file)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        Refuse(Messages::BmpBadSignature);
    if (file.size() < FileHeaderSize + 4)
        Refuse(Messages::BmpHeaderTruncated,
            { std::to_string(FileHeaderSize + 4), std::to_string(file.size()) });
    const uint8_t* p = file.data();
    TBmpLayout layout;
    uint32_t offBits = ReadU32(p + 10); // bfOffBits(4)
    layout.headerSize = ReadU32(p + 14); // biSize(4)
    uint32_t size = layout.headerSize;
    if (size != CoreHeaderSize && size != 40 && size != 52 && size != 56 && size != 108
        && size != 124)
        Refuse(Messages::BmpHeaderSizeUnsupported, { std::to_string(size) });
    layout.headersEnd = FileHeaderSize + size;
    if (file.size() < layout.headersEnd)
        Refuse(Messages::BmpHeaderTruncated,
            { std::to_string(layout.headersEnd), std::to_string(file.size()) });
    const uint8_t* h = p + FileHeaderSize;
    uint32_t clrUsed = 0;
    if (size == CoreHeaderSize) {
        layout.width = ReadU16(h + 4); // bcWidth(2)
        layout.height = ReadU16(h + 6); // bcHeight(2)
        layout.bits = ReadU16(h + 10); // bcBitCount(2), after bcPlanes(2)
        layout.paletteEntrySize = 3;
        if (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 24)
            Refuse(Messages::BmpBitCountUnsupported, { std::to_string(layout.bits) });
    } else {
        TBitmapInfoHeader info = TBitmapInfoHeader::FromBytes(h);
        layout.width = info.biWidth;
        layout.height = info.biHeight;
        layout.bits = info.biBitCount;
        layout.compression = info.biCompression;
        layout.sizeImage = info.biSizeImage;
        clrUsed = info.biClrUsed;
        layout.clrImportant = info.biClrImportant;
    }
    if (layout.height < 0) {
        layout.height = -layout.height; // 64 bits: no overflow for INT32_MIN
        layout.topDown = true;
    }
    if (layout.width <= 0 || layout.height == 0)
        Refuse(Messages::BmpBadDimensions,
            { std::to_string(layout.width), std::to_string(layout.height) });

    int bits = layout.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Refuse(Messages::BmpBitCountUnsupported, { std::to_string(bits) });
    uint32_t c = layout.compression;
    bool fields = c == BI_BITFIELDS || c == BI_ALPHABITFIELDS;
    if (c == BI_JPEG || c == BI_PNG)
        Refuse(Messages::BmpEmbeddedImageUnsupported);
    if (!(c == BI_RGB || (c == BI_RLE8 && bits == 8) || (c == BI_RLE4 && bits == 4)
            || (fields && (bits == 16 || bits == 32))))
        Refuse(Messages::BmpCompressionUnsupported, { std::to_string(c), std::to_string(bits) });
    if ((c == BI_RLE8 || c == BI_RLE4) && layout.topDown)
        Refuse(Messages::BmpTopDownCompressed);

    if (fields) {
        const uint8_t* m = h + 40;
        if (size == 40) {
            // The masks follow a 40-byte header: three, or four with an alpha mask.
            layout.headersEnd += c == BI_ALPHABITFIELDS ? 16 : 12;
            if (file.size() < layout.headersEnd)
                Refuse(Messages::BmpHeaderTruncated,
                    { std::to_string(layout.headersEnd), std::to_string(file.size()) });
        }
        layout.masks[0] = ReadU32(m); // bV4RedMask(4)
        layout.masks[1] = ReadU32(m + 4); // bV4GreenMask(4)
        layout.masks[2] = ReadU32(m + 8); // bV4BlueMask(4)
        if (size >= 56 || (size == 40 && c == BI_ALPHABITFIELDS))
            layout.masks[3] = ReadU32(m + 12); // bV4AlphaMask(4)
        CheckMasks(layout.masks, bits);
    }

    if (bits <= 8) {
        uint64_t full = uint64_t { 1 } << bits;
        layout.paletteEntries = clrUsed == 0 ? full : std::min<uint64_t>(clrUsed, full);
    }
    uint64_t paletteEnd = layout.headersEnd + layout.paletteEntries * layout.paletteEntrySize;
    if (paletteEnd > file.size())
        Refuse(Messages::BmpPaletteTruncated, { std::to_string(layout.paletteEntries) });
    // Some writers leave the offset 0; the pixels then follow the colour table.
    layout.dataOffset = offBits == 0 ? paletteEnd : offBits;
    if (layout.dataOffset < layout.headersEnd || layout.dataOffset > file.size())
        Refuse(Messages::BmpBadDataOffset, { std::to_string(offBits) });
    return layout;
}

void ReadPalette(ByteSpan file, const TBmpLayout& layout, TBitmap& bitmap)
{
    const uint8_t* entry = file.data() + layout.headersEnd;
    for (uint64_t i = 0; i < layout.paletteEntries; ++i, entry += layout.paletteEntrySize) {
        TRGBQuad& quad = bitmap.Palette()[i];
        quad.rgbBlue = entry[0];
        quad.rgbGreen = entry[1];
        quad.rgbRed = entry[2];
        quad.rgbReserved = layout.paletteEntrySize == 4 ? entry[3] : 0;
    }
}

/// The format that a bit-field layout keeps, or pfCustom when its pixels must be converted.
TPixelFormat StoredFormatOf(const TBmpLayout& layout)
{
    const auto& m = layout.masks;
    if (layout.bits == 16 && m == std::array<uint32_t, 4> { 0x7C00, 0x03E0, 0x001F, 0 })
        return TPixelFormat::pf15bit;
    if (layout.bits == 16 && m == std::array<uint32_t, 4> { 0xF800, 0x07E0, 0x001F, 0 })
        return TPixelFormat::pf16bit;
    if (layout.bits == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF
        && (m[3] == 0 || m[3] == 0xFF000000))
        return TPixelFormat::pf32bit;
    return TPixelFormat::pfCustom;
}

TPixelFormat FormatOf(const TBmpLayout& layout)
{
    if (layout.bits <= 8 || layout.bits == 24)
        return PixelFormatForBitCount(static_cast<uint16_t>(layout.bits));
    if (layout.compression == BI_RGB)
        return layout.bits == 16 ? TPixelFormat::pf15bit : TPixelFormat::pf32bit;
    TPixelFormat stored = StoredFormatOf(layout);
    if (stored != TPixelFormat::pfCustom)
        return stored;
    return layout.bits == 32 || layout.masks[3] != 0 ? TPixelFormat::pf32bit
                                                     : TPixelFormat::pf24bit;
}

/// One channel of a bit-field layout, widened to 8 bits by repeating its bits.
class TChannel
{
public:
    explicit TChannel(uint32_t mask)
    {
        if (mask == 0)
            return;
        m_shift = std::countr_zero(mask);
        m_width = std::popcount(mask);
        m_mask = mask;
        if (m_width <= 8) {
            for (uint32_t v = 0; v < (1u << m_width); ++v) {
                uint32_t wide = 0;
                for (int s = 8 - m_width; s > -m_width; s -= m_width)
                    wide |= s >= 0 ? v << s : v >> -s;
                m_table[v] = static_cast<uint8_t>(wide);
            }
        }
    }

    uint8_t Of(uint32_t pixel) const
    {
        uint32_t v = (pixel & m_mask) >> m_shift;
        return m_width <= 8 ? m_table[v] : static_cast<uint8_t>(v >> (m_width - 8));
    }

private:
    uint32_t m_mask = 0;
    int m_shift = 0;
    int m_width = 0;
    std::array<uint8_t, 256> m_table {};
};

void ConvertFieldsRow(const uint8_t* src, uint8_t* dest, const TBmpLayout& layout,
    const std::array<TChannel, 4>& channels, size_t destBytes, size_t width)
{
    for (size_t x = 0; x < width; ++x) {
        uint32_t pixel = layout.bits == 16 ? ReadU16(src + 2 * x) : ReadU32(src + 4 * x);
        uint8_t* d = dest + destBytes * x;
        d[0] = channels[2].Of(pixel);
        d[1] = channels[1].Of(pixel);
        d[2] = channels[0].Of(pixel);
        if (destBytes == 4)
            d[3] = layout.masks[3] != 0 ? channels[3].Of(pixel) : 0;
    }
}

// Sizes are within the bitmap limits when these run, so none of their products can overflow.

uint64_t FileStrideOf(const TBmpLayout& layout)
{
    return (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.bits) + 31) / 32 * 4;
}

uint64_t RowBytesOf(const TBmpLayout& layout)
{
    return (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.bits) + 7) / 8;
}

/// Refuses uncompressed pixel data that the file does not hold; only the padding of the last
/// row may be missing.
void CheckPixelData(ByteSpan file, const TBmpLayout& layout)
{
    uint64_t needed
        = FileStrideOf(layout) * static_cast<uint64_t>(layout.height - 1) + RowBytesOf(layout);
    uint64_t available = file.size() - layout.dataOffset;
    if (available < needed)
        Refuse(
            Messages::BmpPixelDataTruncated, { std::to_string(available), std::to_string(needed) });
}

void ReadRows(ByteSpan file, const TBmpLayout& layout, TBitmap& bitmap)
{
    uint64_t fileStride = FileStrideOf(layout);
    uint64_t rowBytes = RowBytesOf(layout);
    bool fields = layout.compression == BI_BITFIELDS || layout.compression == BI_ALPHABITFIELDS;
    bool convert = fields && StoredFormatOf(layout) == TPixelFormat::pfCustom;
    std::array<TChannel, 4> channels { TChannel(layout.masks[0]), TChannel(layout.masks[1]),
        TChannel(layout.masks[2]), TChannel(layout.masks[3]) };
    size_t destBytes = static_cast<size_t>(bitmap.BitsPerPixel()) / 8;
    // Bits of the last byte that lie past the last pixel are cleared, so that equal pictures
    // give equal bitmaps.
    uint64_t usedBits = static_cast<uint64_t>(layout.width) * layout.bits % 8;
    auto lastByteMask = static_cast<uint8_t>(usedBits == 0 ? 0xFF : 0xFF << (8 - usedBits));
    for (int64_t line = 0; line < layout.height; ++line) {
        const uint8_t* src
            = file.data() + layout.dataOffset + fileStride * static_cast<uint64_t>(line);
        int row = static_cast<int>(layout.topDown ? line : layout.height - 1 - line);
        uint8_t* dest = bitmap.ScanLine(row);
        if (convert) {
            ConvertFieldsRow(
                src, dest, layout, channels, destBytes, static_cast<size_t>(layout.width));
        } else {
            std::memcpy(dest, src, rowBytes);
            dest[rowBytes - 1] &= lastByteMask;
        }
    }
}

} // namespace

TBitmap ReadBmp(ByteSpan fileBytes)
{
    TBmpLayout layout = ParseHeaders(fileBytes);
    TPixelFormat format = FormatOf(layout);
    // Refuse a picture beyond the limits before anything is allocated or any row is reckoned.
    TBitmap::CheckSize(layout.width, layout.height, BitsPerPixelOf(format));
    bool runLength = layout.compression == BI_RLE4 || layout.compression == BI_RLE8;
    if (!runLength)
        CheckPixelData(fileBytes, layout);
    TBitmap bitmap(static_cast<int>(layout.width), static_cast<int>(layout.height), format);
    ReadPalette(fileBytes, layout, bitmap);
    // How many palette entries the picture uses, as its writer said.
    if (!bitmap.Palette().empty())
        bitmap.SetImportantColors(
            static_cast<int>(std::min<uint64_t>(layout.clrImportant, bitmap.Palette().size())));
    if (runLength) {
        ByteSpan data = fileBytes.subspan(layout.dataOffset);
        if (layout.sizeImage != 0 && layout.sizeImage < data.size())
            data = data.first(layout.sizeImage);
        DecodeBmpRle(data, bitmap);
    } else {
        ReadRows(fileBytes, layout, bitmap);
    }
    return bitmap;
}

TBitmap LoadBitmapFromFile(const std::filesystem::path& name)
{
    Bytes bytes = ReadFileBytes(name, MaxBmpFileBytes);
    try {
        return ReadBmp(bytes);
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(FormatText(Messages::BmpFileNotRead, { name.string(), e.what() }));
    }
}

} // namespace velmora
