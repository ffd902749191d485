#include "graphics/bmp_codec.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace velmora
{

namespace
{

constexpr size_t FileHeaderSize = 14;
constexpr size_t MaskBytes = 12;

} // namespace

TBitmapInfoHeader HeaderOf(const TBitmap& bitmap)
{
    TBitmapInfoHeader header;
    header.biSize = TBitmapInfoHeader::Size;
    header.biWidth = bitmap.Width();
    header.biHeight = bitmap.Height();
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(bitmap.BitsPerPixel());
    header.biCompression = bitmap.PixelFormat() == TPixelFormat::pf16bit ? BI_BITFIELDS : BI_RGB;
    // At most 256 MiB, as the bitmap limits guarantee.
    header.biSizeImage
        = static_cast<uint32_t>(bitmap.Stride() * static_cast<size_t>(bitmap.Height()));
    header.biClrUsed = 0;
    return header;
}

Bytes WriteBmp(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        throw EInvalidGraphic(std::string(Messages::BmpEmptyNotSaved));
    TBitmapInfoHeader header = HeaderOf(bitmap);
    int bits = bitmap.BitsPerPixel();
    size_t paletteEntries = bits <= 8 ? size_t { 1 } << bits : 0;
    // A palette made for the picture says how many of its entries the picture uses.
    if (paletteEntries != 0 && bitmap.ImportantColors() > 0) {
        header.biClrUsed = static_cast<uint32_t>(paletteEntries);
        header.biClrImportant = static_cast<uint32_t>(
            std::min<size_t>(paletteEntries, static_cast<size_t>(bitmap.ImportantColors())));
    }
    size_t masks = header.biCompression == BI_BITFIELDS ? MaskBytes : 0;
    size_t offBits = FileHeaderSize + TBitmapInfoHeader::Size + masks + 4 * paletteEntries;
    size_t total = offBits + header.biSizeImage;

    Bytes out(total, 0);
    uint8_t* p = out.data();
    p[0] = 'B'; // bfType(2)
    p[1] = 'M';
    WriteU32(p + 2, static_cast<uint32_t>(total)); // bfSize(4)
    WriteU16(p + 6, 0); // bfReserved1(2)
    WriteU16(p + 8, 0); // bfReserved2(2)
    WriteU32(p + 10, static_cast<uint32_t>(offBits)); // bfOffBits(4)
    header.ToBytes(p + FileHeaderSize);
    uint8_t* after = p + FileHeaderSize + TBitmapInfoHeader::Size;
    if (masks != 0) {
        WriteU32(after + 0, 0xF800); // red mask(4)
        WriteU32(after + 4, 0x07E0); // green mask(4)
        WriteU32(after + 8, 0x001F); // blue mask(4)
    }
    // The whole colour table, entries that the bitmap lacks black.
    const auto& palette = bitmap.Palette();
    for (size_t i = 0; i < paletteEntries && i < palette.size(); ++i) {
        uint8_t* entry = after + masks + 4 * i;
        entry[0] = palette[i].rgbBlue;
        entry[1] = palette[i].rgbGreen;
        entry[2] = palette[i].rgbRed;
        entry[3] = palette[i].rgbReserved;
    }
    // Bottom-up rows: the file's first row is the bitmap's last.
    size_t stride = bitmap.Stride();
    for (int row = 0; row < bitmap.Height(); ++row) {
        size_t line = static_cast<size_t>(bitmap.Height() - 1 - row);
        std::memcpy(p + offBits + stride * line, bitmap.ScanLine(row), stride);
    }
    return out;
}

void SaveBitmapToFile(const TBitmap& bitmap, const std::filesystem::path& name)
{
    WriteFileAtomically(name, WriteBmp(bitmap));
}

} // namespace velmora
