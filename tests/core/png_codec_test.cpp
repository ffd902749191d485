#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace velmora
{
namespace
{

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
    const TBitmap before = bitmap;
    const Bytes good = EncodePng(bitmap);
    EXPECT_EQ(bitmap, before);
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
