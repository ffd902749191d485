// Pictures with alpha (PNG files, clipboard pictures, made sizes) into icon images.

#include "icons/icon_directory_picture.h"

#include "graphics/picture_file.h"
#include "graphics/png_codec.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <cstring>

namespace velmora
{

namespace
{

int StoredSide(int side)
{
    return side & 0xFF; // 256 is stored as 0
}

bool ValidPicture(const TBitmap& picture)
{
    return picture.PixelFormat() == TPixelFormat::pf32bit && !picture.Empty()
        && picture.Width() <= LargestPictureSide && picture.Height() <= LargestPictureSide;
}

// The 32-bit image data: header, colour rows and mask rows, both bottom-up.
Bytes BitmapImageData(const TBitmap& picture, TBitmapInfoHeader& header)
{
    const int width = picture.Width();
    const int height = picture.Height();
    const size_t colourStride = static_cast<size_t>(width) * 4;
    const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    header.biWidth = width;
    header.biHeight = 2 * height;
    header.biBitCount = 32;
    Bytes data(TBitmapInfoHeader::Size + (colourStride + maskStride) * static_cast<size_t>(height));
    header.ToBytes(data.data());
    uint8_t* colour = data.data() + TBitmapInfoHeader::Size;
    uint8_t* mask = colour + colourStride * static_cast<size_t>(height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = picture.ScanLine(height - 1 - y);
        uint8_t* out = colour + colourStride * static_cast<size_t>(y);
        uint8_t* bits = mask + maskStride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x) {
            if (in[4 * x + 3] == 0)
                bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            else
                std::memcpy(out + 4 * x, in + 4 * x, 4);
        }
    }
    return data;
}

// The picture with the colours of fully transparent pixels cleared, as the image keeps them.
TBitmap ClearedPicture(const TBitmap& picture)
{
    TBitmap cleared = picture;
    for (int y = 0; y < cleared.Height(); ++y) {
        uint8_t* row = cleared.ScanLine(y);
        for (int x = 0; x < cleared.Width(); ++x) {
            if (row[4 * x + 3] == 0)
                std::memset(row + 4 * x, 0, 4);
        }
    }
    return cleared;
}

} // namespace

TPictureImage MakePictureImage(const TBitmap& picture, bool storePng)
{
    if (!ValidPicture(picture))
        throw EInvalidGraphic(FormatText(Messages::PngNeeds32Bit,
            { std::to_string(picture.BitsPerPixel()), std::to_string(picture.Width()),
                std::to_string(picture.Height()) }));
    TPictureImage made;
    TIconDirectoryEntry& entry = made.Entry;
    entry.Width = static_cast<uint8_t>(StoredSide(picture.Width()));
    entry.Height = static_cast<uint8_t>(StoredSide(picture.Height()));
    entry.Planes = 1;
    entry.BitCount = 32;

    Bytes data;
    if (storePng || picture.Width() == LargestPictureSide
        || picture.Height() == LargestPictureSide) {
        data = EncodePngCompact(ClearedPicture(picture));
        // As a loaded file's PNG image: the header holds the stream's first 40 bytes.
        made.Image.Header = TBitmapInfoHeader::FromBytes(data.data());
    } else {
        data = BitmapImageData(picture, made.Image.Header);
    }
    entry.BytesInRes = static_cast<uint32_t>(data.size());
    Bytes stream;
    TIconDirectory::WriteSingleImageHeader(stream, entry);
    stream.insert(stream.end(), data.begin(), data.end());
    made.Image.Icon->LoadFromStream(std::move(stream));
    return made;
}

int ImportPicture(TIconDirectory& document, const TBitmap& picture, bool storePng)
{
    if (picture.Empty())
        return ResultBitmapHeaderEmpty;
    if (picture.Width() > LargestPictureSide || picture.Height() > LargestPictureSide)
        return ResultPictureTooLarge;
    const int existing
        = document.FindFormat(32, StoredSide(picture.Width()), StoredSide(picture.Height()));
    if (existing >= 0)
        return existing + 1;
    const TPictureImage made = MakePictureImage(picture, storePng);
    return document.AddImage(&made.Image, &made.Entry);
}

int ImportPictureFile(TIconDirectory& document, const std::string& fileName)
{
    if (!FileExists(fileName))
        return ResultBitmapFileMissing;
    return NestErrors(Messages::ImportBitmapFailed, [&] {
        const Bytes head = ReadFileBytes(fileName, 32);
        if (auto size = PngHeaderSize(head)) {
            if (size->first > LargestPictureSide || size->second > LargestPictureSide)
                return ResultPictureTooLarge;
        }
        return ImportPicture(document, LoadPictureFile(fileName, LargestPictureSide));
    });
}

} // namespace velmora
