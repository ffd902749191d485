// Picture files (PNG and .bmp) read as 32-bit pictures with straight alpha.

#include "graphics/picture_file.h"

#include "graphics/bitmap_convert.h"
#include "graphics/bmp_codec.h"
#include "graphics/png_codec.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

namespace velmora
{

namespace
{

uint32_t BigU32(const uint8_t* p)
{
    return uint32_t { p[0] } << 24 | uint32_t { p[1] } << 16 | uint32_t { p[2] } << 8 | p[3];
}

void RefuseLarger(uint64_t width, uint64_t height, int maxSide)
{
    if (width > static_cast<uint64_t>(maxSide) || height > static_cast<uint64_t>(maxSide))
        throw EInvalidGraphic(FormatText(Messages::PictureSideRefused,
            { std::to_string(width), std::to_string(height), std::to_string(maxSide) }));
}

} // namespace

std::optional<std::pair<uint32_t, uint32_t>> PngHeaderSize(ByteSpan data)
{
    // Signature (8), chunk length (4), "IHDR" (4), width (4), height (4).
    if (!IsPngData(data) || data.size() < 24 || data[12] != 'I' || data[13] != 'H'
        || data[14] != 'D' || data[15] != 'R')
        return std::nullopt;
    return std::make_pair(BigU32(data.data() + 16), BigU32(data.data() + 20));
}

TBitmap LoadPictureFile(const std::filesystem::path& name, int maxSide)
{
    const uint64_t fileBytes = 2 * TBitmap::MaxPixelBytes + 1024;
    Bytes head = ReadFileBytes(name, 32);
    if (IsPngData(head)) {
        if (auto size = PngHeaderSize(head))
            RefuseLarger(size->first, size->second, maxSide);
        const Bytes data = ReadFileBytes(name, fileBytes);
        return DecodePng(data);
    }
    head = Bytes();
    TBitmap bitmap = LoadBitmapFromFile(name);
    RefuseLarger(
        static_cast<uint64_t>(bitmap.Width()), static_cast<uint64_t>(bitmap.Height()), maxSide);
    const bool hadAlpha = bitmap.PixelFormat() == TPixelFormat::pf32bit;
    ConvertPixelFormat(bitmap, TPixelFormat::pf32bit);
    bool anyAlpha = false;
    for (int y = 0; y < bitmap.Height() && hadAlpha && !anyAlpha; ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            anyAlpha = anyAlpha || row[4 * x + 3] != 0;
    }
    if (!anyAlpha) {
        for (int y = 0; y < bitmap.Height(); ++y) {
            uint8_t* row = bitmap.ScanLine(y);
            for (int x = 0; x < bitmap.Width(); ++x)
                row[4 * x + 3] = 255;
        }
    }
    return bitmap;
}

bool HasTransparency(const TBitmap& bgra32)
{
    if (bgra32.PixelFormat() != TPixelFormat::pf32bit)
        return false;
    for (int y = 0; y < bgra32.Height(); ++y) {
        const uint8_t* row = bgra32.ScanLine(y);
        for (int x = 0; x < bgra32.Width(); ++x) {
            if (row[4 * x + 3] != 255)
                return true;
        }
    }
    return false;
}

bool HasVaryingAlpha(const TBitmap& bgra32)
{
    if (bgra32.PixelFormat() != TPixelFormat::pf32bit || bgra32.Empty())
        return false;
    const uint8_t first = bgra32.ScanLine(0)[3];
    for (int y = 0; y < bgra32.Height(); ++y) {
        const uint8_t* row = bgra32.ScanLine(y);
        for (int x = 0; x < bgra32.Width(); ++x) {
            if (row[4 * x + 3] != first)
                return true;
        }
    }
    return false;
}

} // namespace velmora
