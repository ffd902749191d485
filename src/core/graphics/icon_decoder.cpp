#include "graphics/icon_decoder.h"

#include "graphics/bitmap_info_header.h"
#include "graphics/decoded_icon_cache.h"
#include "graphics/png_codec.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <bit>
#include <string>

namespace velmora
{

namespace
{

constexpr size_t IconFileHeaderSize = 6;
constexpr size_t IconEntrySize = 16;

std::string Text(uint64_t value)
{
    return std::to_string(value);
}

// One colour channel of a bit-field image: where its bits lie in a pixel value.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    uint8_t Extract(uint32_t value) const
    {
        if (Bits == 0)
            return 0;
        uint32_t v = (value & Mask) >> Shift;
        if (Bits >= 8)
            return static_cast<uint8_t>(v >> (Bits - 8));
        // Spread a narrow channel over 0..255 so that its largest value is full intensity.
        uint32_t top = (uint32_t { 1 } << Bits) - 1;
        return static_cast<uint8_t>((v * 255 + top / 2) / top);
    }
};

// A mask is usable when it is one unbroken run of bits inside the pixel.
bool MakeChannel(uint32_t mask, int bitCount, TChannel& channel)
{
    channel = {};
    if (mask == 0)
        return true;
    if (bitCount < 32 && (mask >> bitCount) != 0)
        return false;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask);
    uint32_t run = mask >> shift;
    if (bits < 32 && run != (uint32_t { 1 } << bits) - 1)
        return false;
    channel = { mask, shift, bits };
    return true;
}

struct TLayout {
    TBitmapInfoHeader Header;
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    uint64_t PaletteStart = 0;
    uint64_t PaletteEntries = 0;
    uint64_t PixelStart = 0;
    uint64_t XorStride = 0;
    uint64_t AndStride = 0;
    TChannel Red, Green, Blue, Alpha;
};

// Reads the header and works out where every part lies, checking each size before use.
// The colour table follows the header (or the three colour masks of a 40-byte header) and
// holds biClrUsed entries (at most 256), or 2 to the bit count when biClrUsed is 0 and the
// image has a palette, as the platform lays out its device-independent bitmaps.
TLayout ReadLayout(ByteSpan data)
{
    if (data.size() < TBitmapInfoHeader::Size)
        throw EInvalidGraphic(FormatText(
            Messages::IconImageTooShort, { Text(data.size()), Text(TBitmapInfoHeader::Size) }));
    TLayout layout;
    TBitmapInfoHeader& h = layout.Header;
    h = TBitmapInfoHeader::FromBytes(data.data());
    if (h.biSize < TBitmapInfoHeader::Size)
        throw EInvalidGraphic(FormatText(Messages::IconImageHeaderSize, { Text(h.biSize) }));
    if (h.biSize > data.size())
        throw EInvalidGraphic(
            FormatText(Messages::IconImageTooShort, { Text(data.size()), Text(h.biSize) }));

    // The header's height counts the colour rows and the mask rows; top-down icons do not exist.
    if (h.biWidth <= 0 || h.biHeight <= 1)
        throw EInvalidGraphic(FormatText(Messages::IconImageBadSize,
            { std::to_string(h.biWidth), std::to_string(h.biHeight / 2) }));
    layout.Width = h.biWidth;
    layout.Height = h.biHeight / 2;
    TBitmap::CheckSize(layout.Width, layout.Height, 32);

    layout.BitCount = h.biBitCount;
    switch (layout.BitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        throw EInvalidGraphic(FormatText(Messages::IconImageBitCount, { Text(h.biBitCount) }));
    }
    bool bitFields = h.biCompression == BI_BITFIELDS || h.biCompression == BI_ALPHABITFIELDS;
    bool compressionOk = h.biCompression == BI_RGB
        || (bitFields && (layout.BitCount == 16 || layout.BitCount == 32));
    if (!compressionOk)
        throw EInvalidGraphic(FormatText(
            Messages::IconImageCompression, { Text(h.biCompression), Text(h.biBitCount) }));

    // Colour masks sit right after the 40 header bytes, inside the later headers too.
    uint64_t maskCount = h.biCompression == BI_BITFIELDS ? 3
        : h.biCompression == BI_ALPHABITFIELDS           ? 4
                                                         : 0;
    uint64_t masksEnd = TBitmapInfoHeader::Size + maskCount * 4;
    layout.PaletteStart = std::max<uint64_t>(h.biSize, masksEnd);
    if (layout.PaletteStart > data.size())
        throw EInvalidGraphic(FormatText(
            Messages::IconImageTooShort, { Text(data.size()), Text(layout.PaletteStart) }));

    if (layout.BitCount == 16 && !bitFields) {
        MakeChannel(0x7C00, 16, layout.Red);
        MakeChannel(0x03E0, 16, layout.Green);
        MakeChannel(0x001F, 16, layout.Blue);
    } else if (bitFields) {
        const uint8_t* m = data.data() + TBitmapInfoHeader::Size;
        uint32_t red = ReadU32(m);
        uint32_t green = ReadU32(m + 4);
        uint32_t blue = ReadU32(m + 8);
        uint32_t alpha = 0;
        if (maskCount == 4 || h.biSize >= 56)
            alpha = ReadU32(m + 12);
        else if (layout.BitCount == 32 && ((red | green | blue) & 0xFF000000) == 0)
            alpha = 0xFF000000; // The byte the colours leave free carries alpha, as in BI_RGB.
        if (layout.BitCount != 32)
            alpha = 0; // Only 32-bit icon images carry alpha.
        bool valid = red != 0 && green != 0 && blue != 0 && (red & green) == 0 && (red & blue) == 0
            && (green & blue) == 0 && (alpha & (red | green | blue)) == 0
            && MakeChannel(red, layout.BitCount, layout.Red)
            && MakeChannel(green, layout.BitCount, layout.Green)
            && MakeChannel(blue, layout.BitCount, layout.Blue)
            && MakeChannel(alpha, layout.BitCount, layout.Alpha);
        if (!valid)
            throw EInvalidGraphic(std::string(Messages::IconImageBadMasks));
    }

    if (h.biClrUsed != 0)
        layout.PaletteEntries = std::min<uint64_t>(h.biClrUsed, 256);
    else if (layout.BitCount <= 8)
        layout.PaletteEntries = uint64_t { 1 } << layout.BitCount;
    layout.PixelStart = layout.PaletteStart + layout.PaletteEntries * 4;

    // Width is at most 32768 and the bit count at most 32: no overflow in 64 bits.
    uint64_t width = static_cast<uint64_t>(layout.Width);
    layout.XorStride = (width * static_cast<uint64_t>(layout.BitCount) + 31) / 32 * 4;
    layout.AndStride = (width + 31) / 32 * 4;
    uint64_t xorEnd = layout.PixelStart + layout.XorStride * static_cast<uint64_t>(layout.Height);
    if (xorEnd > data.size())
        throw EInvalidGraphic(
            FormatText(Messages::IconImageDataShort, { Text(data.size()), Text(xorEnd) }));
    return layout;
}

// Fills the mask from the AND rows (bottom-up). Mask bytes past the end of the data read as
// 0, opaque: some writers store the rows without their padding to 4 bytes, or none at all,
// and the loader fills a cut-short image up with zero bytes the same way.
void ReadMask(ByteSpan data, const TLayout& layout, std::vector<uint8_t>& mask)
{
    uint64_t start = layout.PixelStart + layout.XorStride * static_cast<uint64_t>(layout.Height);
    auto width = static_cast<size_t>(layout.Width);
    for (int row = 0; row < layout.Height; ++row) {
        uint64_t rowStart = start + layout.AndStride * static_cast<uint64_t>(row);
        if (rowStart >= data.size())
            break;
        const uint8_t* src = data.data() + rowStart;
        const uint64_t present = std::min<uint64_t>(layout.AndStride, data.size() - rowStart);
        const size_t columns = std::min<size_t>(width, static_cast<size_t>(present) * 8);
        uint8_t* out = mask.data() + static_cast<size_t>(layout.Height - 1 - row) * width;
        for (size_t x = 0; x < columns; ++x)
            out[x] = (src[x / 8] >> (7 - x % 8)) & 1;
    }
}

void DecodeXorRows(ByteSpan data, const TLayout& layout, TBitmap& pixels)
{
    // The palette always has 2 to the bit count entries; those the file does not give stay
    // black, so every index finds a colour.
    std::vector<TRGBQuad> palette;
    if (layout.BitCount <= 8) {
        palette.assign(size_t { 1 } << layout.BitCount, TRGBQuad {});
        uint64_t given = std::min<uint64_t>(layout.PaletteEntries, palette.size());
        for (uint64_t i = 0; i < given; ++i) {
            const uint8_t* p = data.data() + layout.PaletteStart + i * 4;
            palette[i] = { p[0], p[1], p[2], 0 };
        }
    }
    bool channels = layout.Red.Bits != 0;
    for (int row = 0; row < layout.Height; ++row) {
        const uint8_t* src
            = data.data() + layout.PixelStart + layout.XorStride * static_cast<uint64_t>(row);
        uint8_t* out = pixels.ScanLine(layout.Height - 1 - row);
        for (int x = 0; x < layout.Width; ++x, out += 4) {
            uint8_t b = 0, g = 0, r = 0, a = 0;
            if (layout.BitCount <= 8) {
                int bits = layout.BitCount;
                int bitPos = x * bits;
                int index = (src[bitPos / 8] >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
                const TRGBQuad& q = palette[static_cast<size_t>(index)];
                b = q.rgbBlue;
                g = q.rgbGreen;
                r = q.rgbRed;
            } else if (layout.BitCount == 24) {
                const uint8_t* p = src + x * 3;
                b = p[0];
                g = p[1];
                r = p[2];
            } else if (channels) {
                uint32_t v = layout.BitCount == 16 ? ReadU16(src + x * 2) : ReadU32(src + x * 4);
                b = layout.Blue.Extract(v);
                g = layout.Green.Extract(v);
                r = layout.Red.Extract(v);
                a = layout.Alpha.Extract(v);
            } else {
                const uint8_t* p = src + x * 4;
                b = p[0];
                g = p[1];
                r = p[2];
                a = p[3];
            }
            out[0] = b;
            out[1] = g;
            out[2] = r;
            out[3] = a;
        }
    }
}

TIconImage DecodePngImage(ByteSpan data)
{
    TIconImage image;
    image.Pixels = DecodePng(data);
    image.HasAlpha = true;
    image.BitCount = 32;
    image.IsPng = true;
    image.Mask.resize(static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height()));
    size_t i = 0;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.Pixels.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x)
            image.Mask[i++] = p[x * 4 + 3] == 0 ? 1 : 0;
    }
    return image;
}

} // namespace

TIconImage DecodeIconImage(ByteSpan imageData)
{
    if (IsPngData(imageData))
        return DecodePngImage(imageData);

    // The colour rows must be whole; mask rows that are missing read as opaque.
    TLayout layout = ReadLayout(imageData);
    TIconImage image;
    image.BitCount = layout.BitCount;
    image.Pixels = TBitmap(layout.Width, layout.Height, TPixelFormat::pf32bit);
    image.Mask.assign(static_cast<size_t>(layout.Width) * static_cast<size_t>(layout.Height), 0);
    DecodeXorRows(imageData, layout, image.Pixels);
    ReadMask(imageData, layout, image.Mask);

    bool anyAlpha = false;
    if (layout.BitCount == 32) {
        for (int y = 0; y < layout.Height && !anyAlpha; ++y) {
            const uint8_t* p = image.Pixels.ScanLine(y);
            for (int x = 0; x < layout.Width; ++x)
                anyAlpha = anyAlpha || p[x * 4 + 3] != 0;
        }
        image.HasAlpha = true;
    }
    // Without alpha bytes of its own an image is opaque where its mask is 0, as the platform
    // treats a 32-bit image whose alpha bytes are all 0.
    if (!anyAlpha) {
        size_t i = 0;
        for (int y = 0; y < layout.Height; ++y) {
            uint8_t* p = image.Pixels.ScanLine(y);
            for (int x = 0; x < layout.Width; ++x)
                p[x * 4 + 3] = image.Mask[i++] ? 0 : 255;
        }
    }
    return image;
}

namespace
{

// The image data of a one-image icon file, checked against the held bytes.
ByteSpan IconImageData(const TIcon& icon)
{
    const Bytes& data = icon.Data();
    constexpr size_t headerSize = IconFileHeaderSize + IconEntrySize;
    if (data.size() < headerSize || ReadU16(data.data()) != 0 || ReadU16(data.data() + 2) != 1
        || ReadU16(data.data() + 4) == 0)
        throw EInvalidGraphic(FormatText(Messages::IconHeaderInvalid, { Text(data.size()) }));
    const uint8_t* entry = data.data() + IconFileHeaderSize;
    uint64_t bytesInRes = ReadU32(entry + 8); // dwBytesInRes(4)
    uint64_t offset = ReadU32(entry + 12); // dwImageOffset(4)
    if (offset < headerSize || bytesInRes == 0 || offset + bytesInRes > data.size())
        throw EInvalidGraphic(FormatText(
            Messages::IconEntryOutside, { Text(offset), Text(bytesInRes), Text(data.size()) }));
    return ByteSpan(data).subspan(static_cast<size_t>(offset), static_cast<size_t>(bytesInRes));
}

} // namespace

TIconImage DecodeIcon(const TIcon& icon)
{
    return DecodeIconImage(IconImageData(icon));
}

TIconImageShape InspectIcon(const TIcon& icon)
{
    const ByteSpan data = IconImageData(icon);
    if (IsPngData(data)) {
        const TBitmap pixels = DecodePng(data);
        return { pixels.Width(), pixels.Height(), 32, true };
    }
    const TLayout layout = ReadLayout(data);
    return { layout.Width, layout.Height, layout.BitCount, false };
}

std::shared_ptr<const TIconImage> DecodedIcon(const TIcon& icon)
{
    return DecodedIconForSize(icon, 0, 0);
}

} // namespace velmora
