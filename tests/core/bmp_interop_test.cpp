// The .bmp files written here must be the same pictures to Pillow and ImageMagick, and a
// run-length file written by ImageMagick must read as the picture ImageMagick sees in it.
// The tests skip when the tool is missing.
#include "bmp_test_files.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "support/error.h"
#include "support/file_io.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace velmora
{
namespace
{

std::filesystem::path TestFile(const std::string& name)
{
    return std::filesystem::path(::testing::TempDir()) / ("bmp_interop_" + name);
}

/// The standard output of a shell command, or nothing when it fails.
std::optional<std::string> RunCommand(const std::string& command)
{
    std::string out;
    if (test::RunCommand(command, &out) != 0)
        return std::nullopt;
    return out;
}

/// Compares the picture with 8-bit red, green, blue bytes, row by row from the top, allowing
/// a difference of tolerance: the 5- and 6-bit channels are widened by each reader its own way.
void ExpectSamePicture(const TBitmap& bitmap, const std::string& rgb, int tolerance)
{
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
    const std::pair<const char*, const char*> readers[] = {
        { "/usr/bin/python3 -c 'import PIL' 2>/dev/null",
            "/usr/bin/python3 -c 'import sys; from PIL import Image; "
            "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGB\").tobytes())' '%s'" },
        { "convert -version >/dev/null 2>&1", "convert '%s' -depth 8 rgb:-" },
    };
    bool ran = false;
    for (auto [probe, command] : readers) {
        if (!RunCommand(probe))
            continue;
        ran = true;
        for (TPixelFormat format : { TPixelFormat::pf1bit, TPixelFormat::pf4bit,
                 TPixelFormat::pf8bit, TPixelFormat::pf15bit, TPixelFormat::pf16bit,
                 TPixelFormat::pf24bit, TPixelFormat::pf32bit }) {
            SCOPED_TRACE(testing::Message() << command << " " << static_cast<int>(format));
            TBitmap bitmap = test::PatternBitmap(13, 5, format, 11);
            // With alpha bytes of 0 no reader takes the fourth byte as transparency.
            for (int y = 0; y < bitmap.Height() && format == TPixelFormat::pf32bit; ++y)
                for (int x = 0; x < bitmap.Width(); ++x)
                    SetPixelAlpha(bitmap, x, y, 0);
            std::filesystem::path file
                = TestFile("written_" + std::to_string(static_cast<int>(format)) + ".bmp");
            SaveBitmapToFile(bitmap, file);
            auto pixels = RunCommand(FormatText(command, { file.string() }));
            ASSERT_TRUE(pixels.has_value());
            bool narrow = format == TPixelFormat::pf15bit || format == TPixelFormat::pf16bit;
            ExpectSamePicture(bitmap, *pixels, narrow ? 4 : 0);
        }
    }
    if (!ran)
        GTEST_SKIP() << "neither Pillow nor ImageMagick is installed";
}

TEST(BmpInteropTest, ReadsRunLengthFilesOfImageMagick)
{
    if (!RunCommand("convert -version >/dev/null 2>&1"))
        GTEST_SKIP() << "ImageMagick is not installed";
    std::filesystem::path file = TestFile("imagemagick_rle8.bmp");
    ASSERT_TRUE(RunCommand(
        "convert -size 37x9 gradient:red-blue -colors 6 -type Palette -compress RLE 'BMP3:"
        + file.string() + "'"));
    Bytes bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 54u);
    ASSERT_EQ(ReadU32(bytes.data() + 30), BI_RLE8) << "ImageMagick wrote no run-length file";
    auto pixels = RunCommand("convert '" + file.string() + "' -depth 8 rgb:-");
    ASSERT_TRUE(pixels.has_value());
    ExpectSamePicture(ReadBmp(bytes), *pixels, 0);
}

} // namespace
} // namespace velmora
