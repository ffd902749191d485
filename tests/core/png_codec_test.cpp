#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "support/error.h"

#include <array>
#include <gtest/gtest.h>
#include <zlib.h>

namespace velmora
{
namespace
{

using TBgra = std::array<uint8_t, 4>;

void AppendChunk(Bytes& out, const char* type, const Bytes& data)
{
    auto appendBigU32 = [&](uint32_t v) {
        out.insert(out.end(), { uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v) });
    };
    appendBigU32(static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    appendBigU32(
        static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A PNG stream of one row written by hand, unfiltered: independent of the code under test.
Bytes MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, Bytes row,
    const std::vector<std::pair<const char*, Bytes>>& extra = {})
{
    Bytes out = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    Bytes ihdr;
    for (uint32_t v : { width, height })
        ihdr.insert(
            ihdr.end(), { uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v) });
    ihdr.insert(ihdr.end(), { depth, colourType, 0, 0, 0 });
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
            const uint8_t* p = image.Pixels.ScanLine(0) + x * 4;
            EXPECT_EQ((TBgra { p[0], p[1], p[2], p[3] }), c.Expected[size_t(x)]) << "x=" << x;
            EXPECT_EQ(image.MaskAt(x, 0), c.Expected[size_t(x)][3] == 0);
        }
    }
}

TEST(PngCodecTest, RoundTripsAndRefusesDamagedAndOversizedStreams)
{
    TBitmap bitmap(5, 3, TPixelFormat::pf32bit);
    for (size_t i = 0; i < bitmap.Pixels().size(); ++i)
        bitmap.Pixels()[i] = static_cast<uint8_t>(i * 37);
    const TBitmap before = bitmap;
    const Bytes good = EncodePng(bitmap);
    EXPECT_EQ(bitmap, before);
    EXPECT_EQ(DecodePng(good), bitmap);
    EXPECT_THROW(EncodePng(TBitmap()), EInvalidGraphic);
    EXPECT_THROW(EncodePng(TBitmap(2, 2, TPixelFormat::pf24bit)), EInvalidGraphic);

    // Cut in the IHDR, in the IDAT, before and inside the IEND.
    for (size_t size :
        { size_t { 8 }, size_t { 20 }, good.size() - 30, good.size() - 12, good.size() - 1 }) {
        Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(size));
        EXPECT_THROW(DecodePng(cut), EInvalidGraphic) << "cut at " << size;
    }
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0x01; // inside the IDAT data or its CRC
    EXPECT_THROW(DecodePng(badCrc), EInvalidGraphic);
    const std::pair<uint32_t, uint32_t> sizes[]
        = { { 0, 5 }, { 100000, 1 }, { 1, 0x7FFFFFFF }, { 30000, 30000 } };
    for (auto [width, height] : sizes)
        EXPECT_THROW(DecodePng(MakePng(width, height, 8, 6, { 1, 2, 3, 4 })), EInvalidGraphic)
            << width << " x " << height;
    // A few bytes that claim a large picture are refused before it is allocated.
    try {
        DecodePng(MakePng(8192, 8192, 8, 6, { 1, 2, 3, 4 }));
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(
            std::string(e.what()).find("cannot hold a picture of 8192 x 8192"), std::string::npos)
            << e.what();
    }
}

} // namespace
} // namespace velmora
