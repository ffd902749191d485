#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "support/error.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

namespace velmora
{
namespace
{

using TBgra = std::array<uint8_t, 4>;

TBgra PixelAt(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + x * 4;
    return { p[0], p[1], p[2], p[3] };
}

void AppendBigU32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void AppendChunk(Bytes& out, const char* type, const Bytes& data)
{
    AppendBigU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    AppendBigU32(out, static_cast<uint32_t>(crc));
}

// A PNG stream written by hand: rows are the raw (unfiltered) row bytes; the test's own writer
// is independent of the code under test.
Bytes MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
    const std::vector<Bytes>& rows, const std::vector<std::pair<const char*, Bytes>>& extra = {})
{
    Bytes out = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    Bytes ihdr;
    AppendBigU32(ihdr, width);
    AppendBigU32(ihdr, height);
    ihdr.insert(ihdr.end(), { depth, colourType, 0, 0, 0 });
    AppendChunk(out, "IHDR", ihdr);
    for (const auto& [type, data] : extra)
        AppendChunk(out, type, data);
    Bytes raw;
    for (const Bytes& row : rows) {
        raw.push_back(0); // filter type None
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
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
        std::vector<TBgra> Expected; // the first row, left to right
    };
    const TCase cases[] = {
        { "grey 1 bit", MakePng(3, 1, 1, 0, { { 0b10100000 } }),
            { TBgra { 255, 255, 255, 255 }, { 0, 0, 0, 255 }, { 255, 255, 255, 255 } } },
        { "grey and alpha 8 bits", MakePng(2, 1, 8, 4, { { 10, 20, 30, 40 } }),
            { TBgra { 10, 10, 10, 20 }, { 30, 30, 30, 40 } } },
        { "RGB 16 bits",
            MakePng(2, 1, 16, 2, { { 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0, 0, 0, 1, 1 } }),
            { TBgra { 0x9A, 0x56, 0x12, 255 }, { 1, 0, 0xFF, 255 } } },
        { "RGBA 8 bits", MakePng(1, 1, 8, 6, { { 1, 2, 3, 4 } }), { TBgra { 3, 2, 1, 4 } } },
        { "palette 2 bits with transparency",
            MakePng(3, 1, 2, 3, { { 0b00011000 } },
                { { "PLTE", { 255, 0, 0, 0, 255, 0, 0, 0, 255 } }, { "tRNS", { 0, 128 } } }),
            { TBgra { 0, 0, 255, 0 }, { 0, 255, 0, 128 }, { 255, 0, 0, 255 } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIconImage image = DecodeIconImage(c.Png);
        EXPECT_TRUE(image.IsPng);
        EXPECT_TRUE(image.HasAlpha);
        EXPECT_EQ(image.BitCount, 32);
        ASSERT_EQ(image.Width(), static_cast<int>(c.Expected.size()));
        for (size_t x = 0; x < c.Expected.size(); ++x) {
            EXPECT_EQ(PixelAt(image.Pixels, static_cast<int>(x), 0), c.Expected[x]) << "x=" << x;
            EXPECT_EQ(image.MaskAt(static_cast<int>(x), 0), c.Expected[x][3] == 0);
        }
    }
}

TBitmap SampleBitmap()
{
    TBitmap bitmap(5, 3, TPixelFormat::pf32bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t* p = bitmap.ScanLine(y) + x * 4;
            p[0] = static_cast<uint8_t>(x * 50);
            p[1] = static_cast<uint8_t>(y * 100);
            p[2] = static_cast<uint8_t>(x + y);
            p[3] = static_cast<uint8_t>(x * 60);
        }
    return bitmap;
}

TEST(PngCodecTest, EncodeRoundTripsAndLeavesTheSourceAlone)
{
    TBitmap bitmap = SampleBitmap();
    const TBitmap before = bitmap;
    Bytes png = EncodePng(bitmap);
    EXPECT_EQ(bitmap, before);
    ASSERT_TRUE(IsPngData(png));
    // IHDR: 8-bit RGBA (colour type 6), not interlaced.
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 6);
    EXPECT_EQ(png[28], 0);
    EXPECT_EQ(DecodePng(png), bitmap);

    EXPECT_THROW(EncodePng(TBitmap()), EInvalidGraphic);
    EXPECT_THROW(EncodePng(TBitmap(2, 2, TPixelFormat::pf24bit)), EInvalidGraphic);
}

TEST(PngCodecTest, RefusesDamagedAndOversizedStreams)
{
    const Bytes good = EncodePng(SampleBitmap());
    // Cut anywhere after the signature, up to the last byte of IEND: always refused.
    for (size_t size = 8; size < good.size(); ++size) {
        Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(size));
        EXPECT_THROW(DecodePng(cut), EInvalidGraphic) << "cut at " << size;
    }
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0x01; // inside the IDAT data or its CRC
    EXPECT_THROW(DecodePng(badCrc), EInvalidGraphic);

    struct TCase {
        const char* Name;
        uint32_t Width, Height;
    };
    const TCase sizes[] = {
        { "width 0", 0, 5 },
        { "height 0", 5, 0 },
        { "width 100000", 100000, 1 },
        { "2^31 - 1 rows", 1, 0x7FFFFFFF },
        { "30000 x 30000, past 256 MiB", 30000, 30000 },
    };
    for (const TCase& c : sizes) {
        SCOPED_TRACE(c.Name);
        Bytes png = MakePng(c.Width, c.Height, 8, 6, { { 1, 2, 3, 4 } });
        try {
            DecodePng(png);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
    }
}

} // namespace
} // namespace velmora
