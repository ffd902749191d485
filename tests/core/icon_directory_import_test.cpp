#include "fakes/fake_clipboard.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

constexpr TColor Magenta = RGB(255, 0, 255);

// A w x h bitmap: a colour ramp with a magenta border column on the left (so the bottom-left
// pixel, the transparent colour, is magenta).
TBitmap Ramp(int w, int h, TPixelFormat format)
{
    TBitmap bitmap(w, h, format);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            TColor colour = x == 0
                ? Magenta
                : RGB(static_cast<uint8_t>(8 * x), static_cast<uint8_t>(8 * y), 40);
            SetPixelColor(bitmap, x, y, colour);
        }
    }
    return bitmap;
}

// The colour and mask rows of an imported image, top row first.
struct TImported {
    TBitmapInfoHeader Header;
    Bytes Data;
};

TImported DataOf(const TIconDirectory& document, int index)
{
    const Bytes& held = document.GetImage(index).Icon->Data();
    TImported result;
    result.Data.assign(held.begin() + 22, held.end());
    result.Header = TBitmapInfoHeader::FromBytes(result.Data.data());
    return result;
}

TEST(IconDirectoryImport, BuildsColourAndMaskRowsFromTheTransparentColour)
{
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(Ramp(32, 32, TPixelFormat::pf24bit)), 0);
    ASSERT_EQ(document.Count(), 1);
    const TIconDirectoryEntry& entry = document.GetEntry(0);
    EXPECT_EQ(entry.Width, 32);
    EXPECT_EQ(entry.Height, 32);
    EXPECT_EQ(entry.BitCount, 24);
    EXPECT_EQ(entry.Planes, 1);
    EXPECT_EQ(entry.ColorCount, 0);
    EXPECT_EQ(entry.BytesInRes, 40u + 3072 + 128);
    EXPECT_EQ(entry.ImageOffset, 6u + 22);
    EXPECT_EQ(document.Status(), 0);

    TImported image = DataOf(document, 0);
    EXPECT_EQ(image.Header, document.GetImage(0).Header);
    EXPECT_EQ(image.Header.biHeight, 64);
    EXPECT_EQ(image.Header.biSizeImage, 0u);
    EXPECT_EQ(image.Header.biCompression, BI_RGB);
    ASSERT_EQ(image.Data.size(), entry.BytesInRes);
    // Bottom-up rows: the magenta column is black in the colours and 1 in the mask.
    for (int row = 0; row < 32; ++row) {
        const uint8_t* colour = image.Data.data() + 40 + row * 96;
        const uint8_t* mask = image.Data.data() + 40 + 3072 + row * 4;
        const int y = 31 - row;
        EXPECT_EQ(colour[0] | colour[1] | colour[2], 0) << "row " << row;
        EXPECT_EQ(colour[3 * 5 + 0], 40);
        EXPECT_EQ(colour[3 * 5 + 1], 8 * y);
        EXPECT_EQ(colour[3 * 5 + 2], 40);
        EXPECT_EQ(mask[0], 0x80) << "row " << row;
        EXPECT_EQ(mask[1] | mask[2] | mask[3], 0);
    }
    // The result decodes as the same picture.
    TIconImage decoded = DecodeIcon(*document.GetImage(0).Icon);
    EXPECT_TRUE(decoded.MaskAt(0, 5));
    EXPECT_EQ(GetPixelColor(decoded.Pixels, 5, 7), RGB(40, 56, 40));
}

TEST(IconDirectoryImport, ChecksInOrderWithTheirCodes)
{
    struct Row {
        const char* name;
        int width;
        int height;
        TPixelFormat format;
        int code;
        uint32_t bytesInRes;
    };
    const Row rows[] = {
        { "72 x 72 at 32 bits", 72, 72, TPixelFormat::pf32bit, 0, 21640 },
        { "16 bits with colour masks", 10, 10, TPixelFormat::pf16bit, 0, 52 + 200 + 40 },
        { "15 bits become 16", 12, 12, TPixelFormat::pf15bit, 0, 52 + 288 + 48 },
        { "73 x 10", 73, 10, TPixelFormat::pf24bit, ResultBitmapTooLarge, 0 },
        { "100 x 2: the upper limit first", 100, 2, TPixelFormat::pf24bit, ResultBitmapTooLarge,
            0 },
        { "3 x 3", 3, 3, TPixelFormat::pf24bit, ResultBitmapTooSmall, 0 },
        { "8 bits", 16, 16, TPixelFormat::pf8bit, ResultBitmapPalette, 0 },
        { "1 bit", 16, 16, TPixelFormat::pf1bit, ResultBitmapPalette, 0 },
        { "width 0", 0, 16, TPixelFormat::pf24bit, ResultBitmapHeaderEmpty, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        TBitmap bitmap(row.width, row.height, row.format);
        EXPECT_EQ(document.ImportBitmap(bitmap), row.code);
        EXPECT_EQ(document.Count(), row.code == 0 ? 1 : 0);
        if (row.code == 0) {
            EXPECT_EQ(document.GetEntry(0).BytesInRes, row.bytesInRes);
            EXPECT_EQ(DataOf(document, 0).Data.size(), row.bytesInRes);
            EXPECT_NO_THROW(DecodeIcon(*document.GetImage(0).Icon));
        }
    }
    // A 16-bit image carries the three masks of its 5-6-5 layout after the header.
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(Ramp(8, 8, TPixelFormat::pf16bit)), 0);
    const Bytes data = DataOf(document, 0).Data;
    EXPECT_EQ(DataOf(document, 0).Header.biCompression, BI_BITFIELDS);
    EXPECT_EQ(ReadU32(data.data() + 40), 0xF800u);
    EXPECT_EQ(ReadU32(data.data() + 44), 0x07E0u);
    EXPECT_EQ(ReadU32(data.data() + 48), 0x001Fu);

    // The same format again names the image that has it.
    EXPECT_EQ(document.ImportBitmap(Ramp(16, 16, TPixelFormat::pf24bit)), 0);
    EXPECT_EQ(document.ImportBitmap(Ramp(16, 16, TPixelFormat::pf24bit)), 2);
    EXPECT_EQ(document.Count(), 2);
}

TEST(IconDirectoryImport, FilesTopDownOrBottomUpGiveTheSameImage)
{
    TTempDir dir;
    const TBitmap ramp = Ramp(20, 12, TPixelFormat::pf24bit);
    const Bytes bottomUp = WriteBmp(ramp);
    // The same picture stored top-down: negative height, rows in the other order.
    Bytes topDown(bottomUp.begin(), bottomUp.begin() + 54);
    WriteI32(topDown.data() + 22, -12);
    const size_t stride = ramp.Stride();
    for (int row = 11; row >= 0; --row) {
        auto start = bottomUp.begin() + 54 + static_cast<std::ptrdiff_t>(row * stride);
        topDown.insert(topDown.end(), start, start + static_cast<std::ptrdiff_t>(stride));
    }
    WriteFile(dir.Path("up.bmp"), bottomUp);
    WriteFile(dir.Path("down.bmp"), topDown);
    TIconDirectory a;
    TIconDirectory b;
    ASSERT_EQ(a.ImportBitmapFile(dir.Path("up.bmp")), 0);
    ASSERT_EQ(b.ImportBitmapFile(dir.Path("down.bmp")), 0);
    EXPECT_EQ(a.GetImage(0).Icon->Data(), b.GetImage(0).Icon->Data());

    EXPECT_EQ(a.ImportBitmapFile(dir.Path("missing.bmp")), ResultBitmapFileMissing);
    WriteFile(dir.Path("junk.bmp"), Bytes(60, 1));
    try {
        a.ImportBitmapFile(dir.Path("junk.bmp"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("IconDirEntry.ImportBitmap failed.\r\n", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(a.Count(), 1);
}

TEST(IconDirectoryImport, ClipboardImagesAreAlways24Bit)
{
    TFakeClipboard clipboard;
    TIconDirectory document;
    document.SetClipboard(&clipboard);
    try {
        document.ImportBitmapFromClipboard();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(
            e.what(), "IconDirEntry.ImportBitmap failed.\r\nThe clipboard holds no bitmap.");
    }
    clipboard.SetBitmap(Ramp(16, 16, TPixelFormat::pf32bit));
    ASSERT_EQ(document.ImportBitmapFromClipboard(), 0);
    EXPECT_EQ(document.GetEntry(0).BitCount, 24);
    // A second paste of a 32-bit picture finds the 24-bit image it would make.
    EXPECT_EQ(document.ImportBitmapFromClipboard(), 1);
    EXPECT_EQ(document.Count(), 1);
    clipboard.SetBitmap(TBitmap(0, 0, TPixelFormat::pf32bit));
    EXPECT_EQ(document.ImportBitmapFromClipboard(), ResultBitmapTooSmall);
}

TEST(IconDirectoryImport, MaskFilesGiveAlpha)
{
    TTempDir dir;
    TBitmap colour = Ramp(16, 16, TPixelFormat::pf24bit);
    TBitmap mask(16, 16, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        mask.Palette()[static_cast<size_t>(i)] = TRGBQuad { 0, 0, static_cast<uint8_t>(i), 0 };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            SetPixelIndex(mask, x, y, static_cast<uint32_t>(16 * y + x));
    SaveBitmapToFile(colour, dir.Path("logo.bmp"));
    SaveBitmapToFile(mask, dir.Path("logomask.bmp"));

    TBitmap joined;
    ASSERT_EQ(LoadBitmapWithMask(dir.Path("logo.bmp"), dir.Path("logomask.bmp"), joined), 0);
    ASSERT_EQ(joined.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(GetPixelAlpha(joined, 3, 2), 35);
    EXPECT_EQ(GetPixelColor(joined, 3, 2), GetPixelColor(colour, 3, 2));
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(joined), 0);
    TIconImage decoded = DecodeIcon(*document.GetImage(0).Icon);
    EXPECT_TRUE(decoded.HasAlpha);
    EXPECT_EQ(GetPixelAlpha(decoded.Pixels, 3, 2), 35);

    // A colour bitmap smaller than its mask is refused, and nothing outside it is read.
    SaveBitmapToFile(Ramp(8, 16, TPixelFormat::pf24bit), dir.Path("small.bmp"));
    TBitmap untouched(4, 4, TPixelFormat::pf24bit);
    EXPECT_EQ(LoadBitmapWithMask(dir.Path("small.bmp"), dir.Path("logomask.bmp"), untouched),
        ResultColorSmallerThanMask);
    EXPECT_EQ(untouched.Width(), 4);
}

} // namespace
} // namespace velmora
