#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"
#include "support/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace velmora
{
namespace
{

using test::TBmpFile;
using test::With;
using enum TPixelFormat;

struct TProbe {
    int x, y;
    TColor color;
    uint8_t alpha = 0;
};

TEST(BmpCodecTest, ReadsEveryHeaderDepthAndLayout)
{
    struct TGoodFile {
        const char* name;
        TBmpFile file; // bits, width, height, data, palette, compression, masks, clrUsed, header
        TPixelFormat format;
        std::vector<TProbe> probes;
    };
    const Bytes grey = Bytes(768, 3);
    const TGoodFile rows[] = {
        { "1 bit, bottom-up",
            { 1, 3, 2, { 0xA0, 0, 0, 0, 0x40, 0, 0, 0 }, { 0, 0, 0, 0, 16, 32, 48, 0 } }, pf1bit,
            { { 0, 0, 0 }, { 1, 0, 0x102030 }, { 0, 1, 0x102030 }, { 1, 1, 0 } } },
        { "4 bits, top-down, palette of 2",
            { 4, 3, -2, { 0x01, 0x50, 0, 0, 0x10, 0, 0, 0 }, { 0, 0, 255, 0, 0, 255, 0, 0 }, BI_RGB,
                {}, 2 },
            pf4bit, { { 0, 0, 0x0000FF }, { 1, 0, 0x00FF00 }, { 2, 0, 0 }, { 0, 1, 0x00FF00 } } },
        { "8 bits, core header", { 8, 2, 1, { 1, 0, 0, 0 }, grey, BI_RGB, {}, 0, 12 }, pf8bit,
            { { 0, 0, 0x030303 } } },
        { "16 bits, no compression", { 16, 1, 1, { 0x00, 0x7C, 0, 0 } }, pf15bit,
            { { 0, 0, 0x0000FF } } },
        { "16 bits, 5-6-5 fields",
            { 16, 1, 1, { 0xE0, 0x07, 0, 0 }, {}, BI_BITFIELDS, { 0xF800, 0x07E0, 0x001F } },
            pf16bit, { { 0, 0, 0x00FF00 } } },
        { "16 bits, 4-4-4-4 alpha fields",
            { 16, 1, 1, { 0x21, 0x8F, 0, 0 }, {}, BI_ALPHABITFIELDS, { 0xF00, 0xF0, 0xF, 0xF000 } },
            pf32bit, { { 0, 0, 0x1122FF, 0x88 } } },
        { "32 bits, V5 header, RGBA masks",
            { 32, 1, 1, { 0x11, 0x22, 0x33, 0x44 }, {}, BI_BITFIELDS,
                { 0xFF, 0xFF00, 0xFF0000, 0xFF000000 }, 0, 124 },
            pf32bit, { { 0, 0, 0x332211, 0x44 } } },
        { "32 bits, V3 header, 10-bit fields",
            { 32, 1, 1, { 0x01, 0x00, 0xF8, 0x3F }, {}, BI_BITFIELDS,
                { 0x3FF00000, 0xFFC00, 0x3FF }, 0, 56 },
            pf32bit, { { 0, 0, 0x0080FF, 0 } } },
        { "5 bytes before the pixels", { 24, 1, 1, { 1, 2, 3, 0 }, Bytes(5, 9) }, pf24bit,
            { { 0, 0, 0x010203 } } },
        { "a pixel offset of 0", { 24, 1, 1, { 1, 2, 3, 0 }, {}, BI_RGB, {}, 0, 40, 0 }, pf24bit,
            { { 0, 0, 0x010203 } } },
        { "the last row unpadded", { 24, 1, 2, { 1, 2, 3, 0, 4, 5, 6 } }, pf24bit,
            { { 0, 0, 0x040506 }, { 0, 1, 0x010203 } } },
    };
    for (const TGoodFile& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap bitmap = ReadBmp(row.file.Build());
        EXPECT_EQ(bitmap.PixelFormat(), row.format);
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
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            rows[static_cast<size_t>(y)].push_back(GetPixelIndex(bitmap, x, y));
    return rows;
}

TEST(BmpCodecTest, DecodesRunLengthData)
{
    struct Row {
        const char* name;
        TBmpFile file;
        std::vector<std::vector<uint32_t>> indices;
    };
    const Row rows[] = {
        { "RLE8, every command",
            { 8, 6, 3,
                { 3, 5, // three pixels of 5
                    0, 3, 1, 2, 3, 0, // three pixels as they are, padded
                    0, 0, // end of line
                    0, 2, 2, 1, // move 2 right and 1 up
                    2, 7, // two pixels of 7
                    0, 1, // end of bitmap
                    9, 9 }, // never read
                Bytes(32, 0), BI_RLE8, {}, 8 },
            { { 0, 0, 7, 7, 0, 0 }, { 0, 0, 0, 0, 0, 0 }, { 5, 5, 5, 1, 2, 3 } } },
        // A run into the padding of a row, as ImageMagick writes them, loses its extra pixels.
        { "RLE8 run into the padding",
            { 8, 3, 2, { 4, 6, 0, 0, 0, 4, 1, 2, 3, 4 }, Bytes(1024, 0), BI_RLE8 },
            { { 1, 2, 3 }, { 6, 6, 6 } } },
        // Runs alternate their two nibbles; the data may end without an end mark.
        { "RLE4", { 4, 5, 2, { 5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 2, 0xDE }, Bytes(64, 0), BI_RLE4 },
            { { 0xA, 0xB, 0xC, 0xD, 0xE }, { 1, 2, 1, 2, 1 } } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(IndicesOf(ReadBmp(row.file.Build())), row.indices) << row.name;
}

TEST(BmpCodecTest, RefusesHostileFilesWithAClearError)
{
    const Bytes good = TBmpFile { 24, 2, 2, Bytes(16, 0) }.Build();
    auto cut = [](const Bytes& bytes, size_t size) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
    };
    auto fields = [](std::vector<uint32_t> masks) {
        return TBmpFile { 16, 1, 1, Bytes(4, 0), {}, BI_BITFIELDS, masks }.Build();
    };
    auto rle = [](Bytes data) {
        return TBmpFile { 8, 4, 2, data, Bytes(4, 0), BI_RLE8, {}, 1 }.Build();
    };
    struct TBadFile {
        const char* name;
        Bytes bytes;
        const char* message; // a part of the error text
    };
    const TBadFile rows[] = {
        { "wrong signature", With(good, 0, 0x4142, 2), "does not start with \"BM\"" },
        { "header of 64 bytes", With(good, 14, 64), "header of 64 bytes" },
        { "cut in the info header", cut(good, 40), "headers need 54 bytes" },
        { "width 0", With(good, 18, 0), "invalid size of 0 x 2" },
        { "height INT32_MIN", With(good, 22, 0x80000000), "not supported" },
        { "wider than the limit", With(good, 18, 40000), "40000 x 2" },
        { "more than 256 MiB", With(With(good, 18, 32768), 22, 32768), "256 MiB" },
        { "2 bits", With(good, 26, 0x00020001), "2 bits per pixel" },
        { "a JPEG inside", With(good, 30, 4), "JPEG or PNG" },
        { "compression 7", With(good, 30, 7), "compression 7" },
        { "RLE8 at 24 bits", With(good, 30, BI_RLE8), "compression 1 with 24 bits" },
        { "masks cut off", cut(fields({}), 60), "headers need 66 bytes" },
        { "a zero mask", fields({ 0xF800, 0, 0x1F }), "bit-field masks" },
        { "palette past the end", TBmpFile { 8, 1, 1, {}, Bytes(400, 0), BI_RGB, {}, 200 }.Build(),
            "colour table of the .bmp file (200 entries)" },
        { "huge colour count", TBmpFile { 1, 1, 1, {}, {}, BI_RGB, {}, 0xFFFFFFFF }.Build(),
            "(2 entries)" },
        { "pixel offset past the end", With(good, 10, 0xFFFFFFF0), "offset 4294967280" },
        // Only the padding of the last row may be missing.
        { "pixel data cut short", cut(good, good.size() - 3),
            "holds 13 bytes of pixel data, 14 expected" },
        { "RLE stored top-down", With(rle({ 0, 1 }), 22, static_cast<uint32_t>(-2)), "top-down" },
        { "RLE run past the row", rle({ 5, 1 }), "past the picture at row 0, column 5" },
        { "RLE move past the row", rle({ 0, 2, 5, 0 }), "past the picture" },
        { "RLE move past the top", rle({ 0, 2, 0, 3 }), "past the picture" },
        { "RLE pixels above the picture", rle({ 0, 0, 0, 0, 1, 1 }), "row 2" },
        { "RLE cut in a command", rle({ 0, 4, 1, 2 }), "middle of a command" },
    };
    for (const TBadFile& row : rows)
        EXPECT_PRED_FORMAT2(testing::IsSubstring, row.message, test::ErrorOf<EInvalidGraphic>([&] {
            ReadBmp(row.bytes);
        })) << row.name;
}

TEST(BmpCodecTest, WrittenFilesReadBackIdenticallyAtEveryDepth)
{
    for (TPixelFormat format : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit })
        for (auto [width, height] : { std::pair { 1, 1 }, { 5, 3 }, { 33, 2 } }) {
            SCOPED_TRACE(
                testing::Message() << static_cast<int>(format) << " " << width << "x" << height);
            TBitmap bitmap = test::PatternBitmap(
                width, height, format, static_cast<uint32_t>(width * 7 + height));
            Bytes file = WriteBmp(bitmap);
            EXPECT_EQ(ReadU32(file.data() + 2), file.size()); // bfSize
            EXPECT_EQ(ReadBmp(file), bitmap);
        }
    EXPECT_THROW(WriteBmp(TBitmap()), EInvalidGraphic);

    // By name: a missing file is an I/O error, a damaged one names the file.
    const std::filesystem::path file
        = std::filesystem::path(::testing::TempDir()) / "bmp_codec_test.bmp";
    TBitmap bitmap = test::PatternBitmap(7, 4, pf24bit, 3);
    SaveBitmapToFile(bitmap, file);
    EXPECT_EQ(LoadBitmapFromFile(file), bitmap);
    EXPECT_THROW(LoadBitmapFromFile(file.string() + ".missing"), EInOutError);
    std::filesystem::resize_file(file, 60);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "test.bmp\": The .bmp file holds 6 bytes",
        test::ErrorOf<EInvalidGraphic>([&] { LoadBitmapFromFile(file); }));
}

// The .bmp files written here must be the same pictures to Pillow and ImageMagick, and a
// run-length file written by ImageMagick must read as the picture ImageMagick sees in it.
// The tests skip when the tool is missing.
using namespace velmora::test;
using enum TPixelFormat;

/// Compares the picture with the 8-bit red, green, blue bytes an outside reader printed for
/// file, row by row from the top, allowing a difference of tolerance: the 5- and 6-bit
/// channels are widened by each reader its own way.
void ExpectSamePicture(const TBitmap& bitmap, const std::string& command, int tolerance)
{
    std::string rgb;
    ASSERT_EQ(RunCommand(command, &rgb), 0) << command;
    ASSERT_EQ(rgb.size(), static_cast<size_t>(bitmap.Width() * bitmap.Height() * 3));
    for (size_t i = 0; i < rgb.size(); ++i) {
        TColor color = GetPixelColor(bitmap, static_cast<int>(i / 3 % bitmap.Width()),
            static_cast<int>(i / 3 / bitmap.Width()));
        int theirs = static_cast<uint8_t>(rgb[i]), ours = (color >> (i % 3 * 8)) & 0xFF;
        ASSERT_LE(std::abs(theirs - ours), tolerance) << "byte " << i;
    }
}

TEST(BmpInteropTest, PillowAndImageMagickReadWrittenFilesAsTheSamePicture)
{
    const std::pair<bool, const char*> readers[] = {
        { HavePillow(),
            "/usr/bin/python3 -c 'import sys; from PIL import Image; "
            "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGB\").tobytes())' '%s'" },
        { HaveProgram("convert"), "convert '%s' -depth 8 rgb:-" },
    };
    TTempDir dir;
    bool ran = false;
    for (auto [present, command] : readers) {
        ran |= present;
        for (TPixelFormat format : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit }) {
            if (!present)
                break;
            SCOPED_TRACE(testing::Message() << command << " " << static_cast<int>(format));
            // With alpha bytes of 0 no reader takes the fourth byte as transparency.
            TBitmap bitmap = PatternBitmap(13, 5, format, 11);
            for (int i = 0; i < 13 * 5 && format == pf32bit; ++i)
                SetPixelAlpha(bitmap, i % 13, i / 13, 0);
            SaveBitmapToFile(bitmap, dir.Path("written.bmp"));
            ExpectSamePicture(bitmap, FormatText(command, { dir.Path("written.bmp").string() }),
                format == pf15bit || format == pf16bit ? 4 : 0);
        }
    }
    if (!ran)
        GTEST_SKIP() << "neither Pillow nor ImageMagick is installed";
}

TEST(BmpInteropTest, ReadsRunLengthFilesOfImageMagick)
{
    if (!HaveProgram("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    TTempDir dir;
    const std::string file = dir.Path("rle8.bmp").string();
    ASSERT_EQ(RunCommand("convert -size 37x9 gradient:red-blue -colors 6 -type Palette "
                         "-compress RLE 'BMP3:"
                  + file + "'"),
        0);
    Bytes bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 54u);
    ASSERT_EQ(ReadU32(bytes.data() + 30), BI_RLE8) << "ImageMagick wrote no run-length file";
    ExpectSamePicture(ReadBmp(bytes), "convert '" + file + "' -depth 8 rgb:-", 0);
}

using test::TBgra;

void AppendBigU32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void AppendChunk(Bytes& out, const char* type, const Bytes& data)
{
    AppendBigU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    AppendBigU32(out,
        static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A PNG stream of one row written by hand, unfiltered: independent of the code under test.
Bytes MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, Bytes row,
    const std::vector<std::pair<const char*, Bytes>>& extra = {})
{
    Bytes out = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    Bytes ihdr;
    AppendBigU32(ihdr, width);
    AppendBigU32(ihdr, height);
    for (uint8_t field : { depth, colourType, uint8_t { 0 }, uint8_t { 0 }, uint8_t { 0 } })
        ihdr.push_back(field); // bit depth, colour type, compression, filter, interlace
    AppendChunk(out, "IHDR", ihdr);
    for (const auto& [type, data] : extra)
        AppendChunk(out, type, data);
    row.insert(row.begin(), 0); // filter type None
    uLongf packedSize = compressBound(static_cast<uLong>(row.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, row.data(), static_cast<uLong>(row.size()));
    packed.resize(packedSize);
    AppendChunk(out, "IDAT", packed);
    AppendChunk(out, "IEND", {});
    return out;
}

TEST(PngCodecTest, DecodesColourTypesAndDepthsToBgra)
{
    struct TCase {
        const char* Name;
        Bytes Png;
        std::vector<TBgra> Expected; // the row, left to right
    };
    const TCase cases[] = {
        { "grey 1 bit", MakePng(3, 1, 1, 0, { 0b10100000 }),
            { TBgra { 255, 255, 255, 255 }, { 0, 0, 0, 255 }, { 255, 255, 255, 255 } } },
        { "grey and alpha 8 bits", MakePng(2, 1, 8, 4, { 10, 20, 30, 40 }),
            { TBgra { 10, 10, 10, 20 }, { 30, 30, 30, 40 } } },
        { "RGB 16 bits",
            MakePng(2, 1, 16, 2, { 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0, 0, 0, 1, 1 }),
            { TBgra { 0x9A, 0x56, 0x12, 255 }, { 1, 0, 0xFF, 255 } } },
        { "palette 2 bits with transparency",
            MakePng(3, 1, 2, 3, { 0b00011000 },
                { { "PLTE", { 255, 0, 0, 0, 255, 0, 0, 0, 255 } }, { "tRNS", { 0, 128 } } }),
            { TBgra { 0, 0, 255, 0 }, { 0, 255, 0, 128 }, { 255, 0, 0, 255 } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIconImage image = DecodeIconImage(c.Png);
        EXPECT_TRUE(image.IsPng);
        EXPECT_TRUE(image.HasAlpha);
        ASSERT_EQ(image.Width(), static_cast<int>(c.Expected.size()));
        for (int x = 0; x < image.Width(); ++x) {
            EXPECT_EQ(test::PixelAt(image.Pixels, x, 0), c.Expected[size_t(x)]) << "x=" << x;
            EXPECT_EQ(image.MaskAt(x, 0), c.Expected[size_t(x)][3] == 0);
        }
    }
}

TEST(PngCodecTest, RoundTripsAndRefusesDamagedAndOversizedStreams)
{
    const TBitmap bitmap = test::PatternBitmap(5, 3, TPixelFormat::pf32bit, 37);
    const Bytes good = EncodePng(bitmap);
    EXPECT_EQ(DecodePng(good), bitmap);
    EXPECT_THROW(EncodePng(TBitmap()), EInvalidGraphic);
    EXPECT_THROW(EncodePng(TBitmap(2, 2, TPixelFormat::pf24bit)), EInvalidGraphic);

    // Cut in the IHDR, in the IDAT, before and inside the IEND.
    for (size_t size :
        { size_t { 8 }, size_t { 20 }, good.size() - 30, good.size() - 12, good.size() - 1 })
        EXPECT_THROW(DecodePng(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(size))),
            EInvalidGraphic)
            << "cut at " << size;
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0x01; // inside the IDAT data or its CRC
    EXPECT_THROW(DecodePng(badCrc), EInvalidGraphic);
    const std::pair<uint32_t, uint32_t> sizes[]
        = { { 0, 5 }, { 100000, 1 }, { 1, 0x7FFFFFFF }, { 30000, 30000 } };
    for (auto [width, height] : sizes)
        EXPECT_THROW(DecodePng(MakePng(width, height, 8, 6, { 1, 2, 3, 4 })), EInvalidGraphic)
            << width << " x " << height;
    // A few bytes that claim a large picture are refused before it is allocated.
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "cannot hold a picture of 8192 x 8192",
        test::ErrorOf<EInvalidGraphic>([] {
            DecodePng(MakePng(8192, 8192, 8, 6, { 1, 2, 3, 4 }));
        }));
}

} // namespace
} // namespace velmora
