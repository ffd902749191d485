// Bitmaps into icon images.

#include "colors/bitmap_mask.h"
#include "colors/pixel_format_codes.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "graphics/picture_file.h"
#include "icons/bitmap_header.h"
#include "icons/icon_directory.h"
#include "icons/icon_directory_picture.h"
#include "messages/messages.h"
#include "platform/clipboard.h"
#include "support/error.h"
#include "support/file_io.h"

#include <cstring>

namespace velmora
{

namespace
{

constexpr int SmallestSide = 4;
constexpr int LargestSide = 72;

// Appends a bitmap's rows bottom-up, as a device-independent bitmap stores them.
void AppendRowsBottomUp(Bytes& out, const TBitmap& bitmap)
{
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const uint8_t* row = bitmap.ScanLine(y);
        out.insert(out.end(), row, row + bitmap.Stride());
    }
}

} // namespace

int TIconDirectory::ImportBitmap(const TBitmap& bitmap)
{
    uint32_t infoSize = 0;
    uint32_t imageSize = 0;
    TBitmapInfoHeader header;
    GetBitmapHeader(bitmap, infoSize, imageSize, header);
    if (header.biWidth == 0)
        return ResultBitmapHeaderEmpty;
    return ImportChecked(bitmap, header.biWidth, header.biHeight, header.biBitCount,
        header.biBitCount, PixelFormatForBitCount(header.biBitCount));
}

int TIconDirectory::ImportChecked(const TBitmap& bitmap, int width, int height, int bitCount,
    int formatBitCount, TPixelFormat target)
{
    if (width > LargestSide || height > LargestSide)
        return ResultBitmapTooLarge;
    if (width < SmallestSide || height < SmallestSide)
        return ResultBitmapTooSmall;
    const int existing = FindFormat(formatBitCount, width, height);
    if (existing >= 0)
        return existing + 1;
    if (bitCount <= 8)
        return ResultBitmapPalette;
    if (bitCount != 15 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return ResultBitmapNotTrueColor;
    if (m_count >= MaxImages)
        return ResultAddTooManyImages;

    if (target == TPixelFormat::pf32bit && HasVaryingAlpha(bitmap)) {
        // A bitmap that carries its transparency keeps it, and every colour, as a picture
        // does: the mask is where the alpha is 0. The bottom-left colour would cut holes into
        // soft shadows and antialiased edges.
        TPictureImage made = MakePictureImage(bitmap);
        AppendImage(std::make_unique<TIconDirectoryEntry>(made.Entry),
            std::make_unique<TIconDirectoryImage>(std::move(made.Image)));
        return ResultOk;
    }

    // The colours: the bitmap at the image's depth, its transparent pixels turned black.
    const TColor transparent = GetPixelColor(bitmap, 0, bitmap.Height() - 1);
    TBitmap colour = bitmap;
    ConvertPixelFormat(colour, target);
    FillBitmap(colour, 0);
    BrushCopy(colour, bitmap, transparent, 0);
    // The mask: 1 where the bitmap has the transparent colour.
    const TBitmap mask = MakeMonochromeMask(bitmap, transparent);

    uint32_t maskInfoSize = 0;
    uint32_t maskImageSize = 0;
    TBitmapInfoHeader maskHeader;
    GetBitmapHeader(mask, maskInfoSize, maskImageSize, maskHeader);
    uint32_t infoSize = 0;
    uint32_t colourImageSize = 0;
    TBitmapInfoHeader header;
    GetBitmapHeader(colour, infoSize, colourImageSize, header);

    auto entry = std::make_unique<TIconDirectoryEntry>();
    entry->AssignFromBitmapHeader(header);
    entry->BytesInRes = infoSize + colourImageSize + maskImageSize;

    auto image = std::make_unique<TIconDirectoryImage>();
    header.biHeight = 2 * header.biHeight;
    header.biSizeImage = 0;
    header.biClrUsed = 0;
    image->Header = header;

    Bytes stream;
    // The whole image at once: growing the stream row by row would copy it again and again.
    stream.reserve(22 + size_t { entry->BytesInRes });
    WriteSingleImageHeader(stream, *entry);
    const size_t infoStart = stream.size();
    stream.resize(infoStart + infoSize, 0);
    header.ToBytes(stream.data() + infoStart);
    if (infoSize >= TBitmapInfoHeader::Size + 12 && header.biCompression == BI_BITFIELDS) {
        // The colour masks of the 5-6-5 layout, so that the data is a whole bit-field bitmap.
        WriteU32(stream.data() + infoStart + 40, 0xF800);
        WriteU32(stream.data() + infoStart + 44, 0x07E0);
        WriteU32(stream.data() + infoStart + 48, 0x001F);
    }
    AppendRowsBottomUp(stream, colour);
    AppendRowsBottomUp(stream, mask);
    image->Icon->LoadFromStream(std::move(stream));

    AppendImage(std::move(entry), std::move(image));
    return ResultOk;
}

int TIconDirectory::ImportBitmapFile(const std::string& fileName)
{
    if (!FileExists(fileName))
        return ResultBitmapFileMissing;
    return NestErrors(Messages::ImportBitmapFailed, [&] {
        const TBitmap bitmap = LoadBitmapFromFile(fileName);
        return ImportBitmap(bitmap);
    });
}

int TIconDirectory::ImportBitmapFromClipboard()
{
    return NestErrors(Messages::ImportBitmapFailed, [&] {
        // A picture with transparency becomes a 32-bit image that keeps it.
        if (m_clipboard) {
            if (std::optional<TBitmap> picture = m_clipboard->GetPicture();
                picture && HasTransparency(*picture))
                return ImportPicture(*this, *picture);
        }
        std::optional<TBitmap> bitmap;
        if (m_clipboard && m_clipboard->HasBitmap())
            bitmap = m_clipboard->GetBitmap();
        if (!bitmap)
            throw Exception(std::string(Messages::ClipboardHoldsNoBitmap));
        uint32_t infoSize = 0;
        uint32_t imageSize = 0;
        TBitmapInfoHeader header;
        GetBitmapHeader(*bitmap, infoSize, imageSize, header);
        // The image made is always 24-bit, so that is the format that must not exist yet.
        return ImportChecked(
            *bitmap, header.biWidth, header.biHeight, header.biBitCount, 24, TPixelFormat::pf24bit);
    });
}

int LoadBitmapWithMask(
    const std::string& fileName, const std::string& maskFileName, TBitmap& bitmap)
{
    TBitmap colour = LoadBitmapFromFile(fileName);
    TBitmap mask = LoadBitmapFromFile(maskFileName);
    // A mask of another size belongs to another picture: nothing is cut or stretched.
    if (colour.Width() != mask.Width() || colour.Height() != mask.Height())
        return ResultMaskSizeDiffers;
    // Both are read as 24-bit pictures.
    ConvertPixelFormat(colour, TPixelFormat::pf24bit);
    ConvertPixelFormat(mask, TPixelFormat::pf24bit);
    std::unique_ptr<TBitmap> joined = AddMaskToBitmap32(colour, &mask, 100);
    if (!joined)
        return ResultMaskUnusable;
    bitmap = std::move(*joined);
    return ResultOk;
}

std::string MaskSizeRefusal(const std::string& fileName, const std::string& maskFileName)
{
    const TBitmap colour = LoadBitmapFromFile(fileName);
    const TBitmap mask = LoadBitmapFromFile(maskFileName);
    return FormatText(Messages::MaskSizeDiffers,
        { maskFileName, std::to_string(mask.Width()), std::to_string(mask.Height()), fileName,
            std::to_string(colour.Width()), std::to_string(colour.Height()) });
}

} // namespace velmora
