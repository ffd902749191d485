#include "bmp_test_files.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "support/error.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace velmora
{
namespace
{

using test::TBmpFile;

Bytes Repeat(std::initializer_list<uint8_t> unit, size_t times)
{
    Bytes out;
    for (size_t i = 0; i < times; ++i)
        out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

struct TProbe {
    int x, y;
    TColor color;
    uint8_t alpha = 0;
};

struct TGoodFile {
    const char* name;
    TBmpFile file;
    TPixelFormat format;
    std::vector<TProbe> probes;
};

TEST(BmpCodecTest, ReadsEveryHeaderDepthAndLayout)
{
    const TGoodFile rows[] = {
        { "1 bit, bottom-up",
            { .width = 3,
                .height = 2,
                .bits = 1,
                .palette = { 0, 0, 0, 0, 0x10, 0x20, 0x30, 0 },
                .data = { 0xA0, 0, 0, 0, 0x40, 0, 0, 0 } },
            TPixelFormat::pf1bit,
            { { 0, 0, 0 }, { 1, 0, 0x102030 }, { 0, 1, 0x102030 }, { 1, 1, 0 } } },
        { "4 bits, top-down, short palette",
            { .width = 3,
                .height = -2,
                .bits = 4,
                .clrUsed = 2,
                .palette = { 0, 0, 255, 0, 0, 255, 0, 0 },
                .data = { 0x01, 0x50, 0, 0, 0x10, 0, 0, 0 } },
            TPixelFormat::pf4bit,
            { { 0, 0, 0x0000FF }, { 1, 0, 0x00FF00 }, { 2, 0, 0 }, { 0, 1, 0x00FF00 } } },
        { "8 bits, core header",
            { .headerSize = 12,
                .width = 2,
                .bits = 8,
                .palette = Repeat({ 1, 2, 3 }, 256),
                .data = { 1, 0, 0, 0 } },
            TPixelFormat::pf8bit, { { 0, 0, 0x010203 } } },
        { "24 bits, core header", { .headerSize = 12, .data = { 1, 2, 3, 0 } },
            TPixelFormat::pf24bit, { { 0, 0, 0x010203 } } },
        { "16 bits, no compression", { .bits = 16, .data = { 0x00, 0x7C, 0, 0 } },
            TPixelFormat::pf15bit, { { 0, 0, 0x0000FF } } },
        { "16 bits, 5-6-5 fields",
            { .bits = 16,
                .compression = BI_BITFIELDS,
                .masks = { 0xF800, 0x07E0, 0x001F },
                .data = { 0xE0, 0x07, 0, 0 } },
            TPixelFormat::pf16bit, { { 0, 0, 0x00FF00 } } },
        { "16 bits, 4-4-4-4 alpha fields",
            { .bits = 16,
                .compression = BI_ALPHABITFIELDS,
                .masks = { 0xF00, 0xF0, 0xF, 0xF000 },
                .data = { 0x21, 0x8F, 0, 0 } },
            TPixelFormat::pf32bit, { { 0, 0, 0x1122FF, 0x88 } } },
        { "16 bits, 4-4-4 fields in a V2 header",
            { .headerSize = 52,
                .bits = 16,
                .compression = BI_BITFIELDS,
                .masks = { 0xF00, 0xF0, 0xF },
                .data = { 0x21, 0x8F, 0, 0 } },
            TPixelFormat::pf24bit, { { 0, 0, 0x1122FF } } },
        { "32 bits keep the fourth byte", { .bits = 32, .data = { 1, 2, 3, 4 } },
            TPixelFormat::pf32bit, { { 0, 0, 0x010203, 4 } } },
        { "32 bits, V4 header, usual masks",
            { .headerSize = 108,
                .bits = 32,
                .compression = BI_BITFIELDS,
                .masks = { 0xFF0000, 0xFF00, 0xFF, 0xFF000000 },
                .data = { 1, 2, 3, 4 } },
            TPixelFormat::pf32bit, { { 0, 0, 0x010203, 4 } } },
        { "32 bits, V5 header, RGBA masks",
            { .headerSize = 124,
                .bits = 32,
                .compression = BI_BITFIELDS,
                .masks = { 0xFF, 0xFF00, 0xFF0000, 0xFF000000 },
                .data = { 0x11, 0x22, 0x33, 0x44 } },
            TPixelFormat::pf32bit, { { 0, 0, 0x332211, 0x44 } } },
        { "32 bits, V3 header, 10-bit fields",
            { .headerSize = 56,
                .bits = 32,
                .compression = BI_BITFIELDS,
                .masks = { 0x3FF00000, 0xFFC00, 0x3FF },
                .data = { 0x01, 0x00, 0xF8, 0x3F } },
            TPixelFormat::pf32bit, { { 0, 0, 0x0080FF, 0 } } },
        { "a gap before the pixels",
            { .palette = { 9, 9, 9, 9 }, .data = { 1, 2, 3, 0 }, .gap = 5 }, TPixelFormat::pf24bit,
            { { 0, 0, 0x010203 } } },
        { "a pixel offset of 0", { .data = { 1, 2, 3, 0 }, .offBits = 0 }, TPixelFormat::pf24bit,
            { { 0, 0, 0x010203 } } },
        { "the last row unpadded", { .height = 2, .data = { 1, 2, 3, 0, 4, 5, 6 } },
            TPixelFormat::pf24bit, { { 0, 0, 0x040506 }, { 0, 1, 0x010203 } } },
    };
    for (const TGoodFile& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap bitmap = ReadBmp(row.file.Build());
        EXPECT_EQ(bitmap.PixelFormat(), row.format);
        if (bitmap.BitsPerPixel() <= 8) {
            EXPECT_EQ(bitmap.Palette().size(), size_t { 1 } << bitmap.BitsPerPixel());
        }
        for (const TProbe& probe : row.probes) {
            EXPECT_EQ(GetPixelColor(bitmap, probe.x, probe.y), probe.color)
                << probe.x << "," << probe.y;
            EXPECT_EQ(GetPixelAlpha(bitmap, probe.x, probe.y), probe.alpha);
        }
    }
}

/// Palette indices of a bitmap, row by row from the top.
std::vector<std::vector<uint32_t>> IndicesOf(const TBitmap& bitmap)
{
    std::vector<std::vector<uint32_t>> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < bitmap.Width(); ++x)
            rows.back().push_back(GetPixelIndex(bitmap, x, y));
    }
    return rows;
}

TEST(BmpCodecTest, DecodesRunLengthData)
{
    TBmpFile rle8 { .width = 6,
        .height = 3,
        .bits = 8,
        .compression = BI_RLE8,
        .clrUsed = 8,
        .palette = Bytes(32, 0),
        .data = { 3, 5, // three pixels of 5
            0, 3, 1, 2, 3, 0, // three pixels as they are, padded
            0, 0, // end of line
            0, 2, 2, 1, // move 2 right and 1 up
            2, 7, // two pixels of 7
            0, 1, // end of bitmap
            9, 9 } }; // never read
    EXPECT_EQ(IndicesOf(ReadBmp(rle8.Build())),
        (std::vector<std::vector<uint32_t>> {
            { 0, 0, 7, 7, 0, 0 }, { 0, 0, 0, 0, 0, 0 }, { 5, 5, 5, 1, 2, 3 } }));

    // 4 bits: runs alternate their two nibbles; the data may end without an end mark.
    TBmpFile rle4 { .width = 5,
        .height = 2,
        .bits = 4,
        .compression = BI_RLE4,
        .palette = Bytes(64, 0),
        .data = { 5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 2, 0xDE } };
    // A run into the padding of a row, as ImageMagick writes them, loses its extra pixels.
    TBmpFile padded { .width = 3,
        .height = 2,
        .bits = 8,
        .compression = BI_RLE8,
        .palette = Bytes(1024, 0),
        .data = { 4, 6, 0, 0, 0, 4, 1, 2, 3, 4 } };
    EXPECT_EQ(IndicesOf(ReadBmp(padded.Build())),
        (std::vector<std::vector<uint32_t>> { { 1, 2, 3 }, { 6, 6, 6 } }));
    padded.data = { 5, 6 }; // past the padding
    EXPECT_THROW(ReadBmp(padded.Build()), EInvalidGraphic);

    EXPECT_EQ(IndicesOf(ReadBmp(rle4.Build())),
        (std::vector<std::vector<uint32_t>> { { 0xA, 0xB, 0xC, 0xD, 0xE }, { 1, 2, 1, 2, 1 } }));
}

struct TBadFile {
    const char* name;
    Bytes bytes;
    const char* message; // a part of the error text
};

Bytes With(Bytes bytes, size_t offset, uint32_t value)
{
    WriteU32(bytes.data() + offset, value);
    return bytes;
}

TEST(BmpCodecTest, RefusesHostileFilesWithAClearError)
{
    Bytes good = TBmpFile { .width = 2, .height = 2, .data = Bytes(16, 0) }.Build();
    Bytes rgb16 = TBmpFile { .bits = 16, .compression = BI_BITFIELDS, .data = Bytes(4, 0) }.Build();
    auto fields = [](std::vector<uint32_t> masks, uint16_t bits = 16) {
        return TBmpFile {
            .bits = bits, .compression = BI_BITFIELDS, .masks = masks, .data = Bytes(4, 0)
        }
            .Build();
    };
    auto rle = [](Bytes data) {
        return TBmpFile { .width = 4,
            .height = 2,
            .bits = 8,
            .compression = BI_RLE8,
            .clrUsed = 1,
            .palette = Bytes(4, 0),
            .data = data }
            .Build();
    };
    const TBadFile rows[] = {
        { "empty", {}, "does not start with \"BM\"" },
        { "wrong signature", With(good, 0, 0x00004D42 + 1), "does not start" },
        { "cut in the file header", Bytes(good.begin(), good.begin() + 12), "truncated" },
        { "header of 64 bytes", With(good, 14, 64), "header of 64 bytes" },
        { "cut in the info header", Bytes(good.begin(), good.begin() + 40),
            "headers need 54 bytes" },
        { "width 0", With(good, 18, 0), "invalid size of 0 x 2" },
        { "negative width", With(good, 18, static_cast<uint32_t>(-2)), "invalid size" },
        { "height 0", With(good, 22, 0), "invalid size of 2 x 0" },
        { "height INT32_MIN", With(good, 22, 0x80000000), "not supported" },
        { "wider than the limit", With(good, 18, 40000), "40000 x 2" },
        { "more than 256 MiB", With(With(good, 18, 32768), 22, 32768), "256 MiB" },
        { "2 bits", With(good, 26, 0x00020001), "2 bits per pixel" },
        { "a JPEG inside", With(good, 30, 4), "JPEG or PNG" },
        { "a PNG inside", With(good, 30, 5), "JPEG or PNG" },
        { "compression 7", With(good, 30, 7), "compression 7" },
        { "RLE8 at 24 bits", With(good, 30, BI_RLE8), "compression 1 with 24 bits" },
        { "bit fields at 24 bits", With(good, 30, BI_BITFIELDS), "compression 3 with 24 bits" },
        { "masks cut off", Bytes(rgb16.begin(), rgb16.begin() + 60), "headers need 66 bytes" },
        { "a zero mask", fields({ 0xF800, 0, 0x1F }), "bit-field masks" },
        { "overlapping masks", fields({ 0xF800, 0x0FE0, 0x1F }), "bit-field masks" },
        { "a split mask", fields({ 0xF000, 0x07E0, 0x101 }), "bit-field masks" },
        { "a mask past 16 bits", fields({ 0x1F0000, 0x07E0, 0x1F }), "bit-field masks" },
        { "alpha overlapping blue",
            TBmpFile { .bits = 32,
                .compression = BI_ALPHABITFIELDS,
                .masks = { 0xFF0000, 0xFF00, 0xFF, 0x1FF },
                .data = Bytes(4, 0) }
                .Build(),
            "bit-field masks" },
        { "palette past the end",
            TBmpFile { .bits = 8, .clrUsed = 200, .palette = Bytes(400, 0) }.Build(),
            "colour table of the .bmp file (200 entries)" },
        { "huge colour count", TBmpFile { .bits = 1, .clrUsed = 0xFFFFFFFF }.Build(),
            "(2 entries)" },
        { "pixel offset past the end", With(good, 10, 0xFFFFFFF0), "offset 4294967280" },
        { "pixel offset inside the header", With(good, 10, 20), "offset 20" },
        // Only the padding of the last row may be missing.
        { "pixel data cut short", Bytes(good.begin(), good.end() - 3),
            "holds 13 bytes of pixel data, 14 expected" },
        { "RLE stored top-down", With(rle({ 0, 1 }), 22, static_cast<uint32_t>(-2)), "top-down" },
        { "RLE run past the row", rle({ 5, 1 }), "past the picture at row 0, column 5" },
        { "RLE absolute run past the row", rle({ 2, 1, 0, 3, 1, 1, 1, 0 }), "column 5" },
        { "RLE move past the row", rle({ 0, 2, 5, 0 }), "past the picture" },
        { "RLE move past the top", rle({ 0, 2, 0, 3 }), "past the picture" },
        { "RLE pixels above the picture", rle({ 0, 0, 0, 0, 1, 1 }), "row 2" },
        { "RLE cut in a command", rle({ 0, 2, 1 }), "middle of a command" },
        { "RLE cut in an absolute run", rle({ 0, 4, 1, 2 }), "middle of a command" },
    };
    for (const TBadFile& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            ReadBmp(row.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find(row.message), std::string::npos) << e.what();
        }
    }
}

TEST(BmpCodecTest, WrittenFilesReadBackIdenticallyAtEveryDepth)
{
    struct Row {
        TPixelFormat format;
        uint32_t compression;
        uint32_t offBits;
    };
    const Row rows[] = {
        { TPixelFormat::pf1bit, BI_RGB, 14 + 40 + 8 },
        { TPixelFormat::pf4bit, BI_RGB, 14 + 40 + 64 },
        { TPixelFormat::pf8bit, BI_RGB, 14 + 40 + 1024 },
        { TPixelFormat::pf15bit, BI_RGB, 14 + 40 },
        { TPixelFormat::pf16bit, BI_BITFIELDS, 14 + 40 + 12 },
        { TPixelFormat::pf24bit, BI_RGB, 14 + 40 },
        { TPixelFormat::pf32bit, BI_RGB, 14 + 40 },
    };
    for (const Row& row : rows) {
        for (auto [width, height] : { std::pair { 1, 1 }, { 5, 3 }, { 33, 2 } }) {
            SCOPED_TRACE(testing::Message()
                << static_cast<int>(row.format) << " " << width << "x" << height);
            TBitmap bitmap = test::PatternBitmap(
                width, height, row.format, static_cast<uint32_t>(width * 7 + height));
            Bytes file = WriteBmp(bitmap);
            EXPECT_EQ(ReadU32(file.data() + 2), file.size()); // bfSize
            EXPECT_EQ(ReadU32(file.data() + 10), row.offBits); // bfOffBits
            TBitmapInfoHeader header = TBitmapInfoHeader::FromBytes(file.data() + 14);
            EXPECT_EQ(header, HeaderOf(bitmap));
            EXPECT_EQ(header.biCompression, row.compression);
            EXPECT_EQ(header.biHeight, height); // bottom-up
            EXPECT_EQ(file.size(), row.offBits + header.biSizeImage);
            if (row.compression == BI_BITFIELDS) {
                EXPECT_EQ(ReadU32(file.data() + 54), 0xF800u);
            }
            EXPECT_EQ(ReadBmp(file), bitmap);
        }
    }
    EXPECT_THROW(WriteBmp(TBitmap()), EInvalidGraphic);
}

TEST(BmpCodecTest, FilesAreSavedAndLoadedByName)
{
    const char* base = std::getenv("VELMORA_TEST_TMP");
    std::filesystem::path folder = base != nullptr ? base : std::filesystem::temp_directory_path();
    folder /= "bmp_codec_test";
    std::filesystem::create_directories(folder);
    TBitmap bitmap = test::PatternBitmap(7, 4, TPixelFormat::pf24bit, 3);
    SaveBitmapToFile(bitmap, folder / "picture.bmp");
    EXPECT_EQ(LoadBitmapFromFile(folder / "picture.bmp"), bitmap);
    EXPECT_THROW(LoadBitmapFromFile(folder / "missing.bmp"), EInOutError);
    SaveBitmapToFile(bitmap, folder / "broken.bmp");
    std::filesystem::resize_file(folder / "broken.bmp", 60);
    try {
        LoadBitmapFromFile(folder / "broken.bmp");
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("broken.bmp\": The .bmp file holds 6 bytes"),
            std::string::npos)
            << e.what();
    }
}

} // namespace
} // namespace velmora
