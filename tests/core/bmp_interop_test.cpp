// The .bmp files written here must be the same pictures to Pillow and ImageMagick, and a
// run-length file written by ImageMagick must read as the picture ImageMagick sees in it.
// The tests skip when the tool is missing.
#include "bmp_test_files.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
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

std::filesystem::path TestFolder()
{
    const char* base = std::getenv("VELMORA_TEST_TMP");
    std::filesystem::path folder = base != nullptr ? base : std::filesystem::temp_directory_path();
    folder /= "bmp_interop_test";
    std::filesystem::create_directories(folder);
    return folder;
}

/// The standard output of a shell command, or nothing when it fails.
std::optional<std::string> RunCommand(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        out.append(buffer, n);
    if (pclose(pipe.release()) != 0)
        return std::nullopt;
    return out;
}

bool HasPillow()
{
    return RunCommand("/usr/bin/python3 -c 'import PIL' 2>/dev/null").has_value();
}
bool HasImageMagick()
{
    return RunCommand("convert -version >/dev/null 2>&1 && echo").has_value();
}

/// The picture as 8-bit red, green, blue bytes, row by row from the top.
std::string RgbBytesOf(const TBitmap& bitmap)
{
    std::string out;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            TColor color = GetPixelColor(bitmap, x, y);
            out += static_cast<char>(RedOf(color));
            out += static_cast<char>(GreenOf(color));
            out += static_cast<char>(BlueOf(color));
        }
    }
    return out;
}

/// Compares two pictures byte by byte, allowing a difference of tolerance: the 5- and 6-bit
/// channels are widened by each reader in its own way.
void ExpectSamePicture(const std::string& expected, const std::string& actual, int tolerance)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        int difference
            = std::abs(static_cast<uint8_t>(expected[i]) - static_cast<uint8_t>(actual[i]));
        ASSERT_LE(difference, tolerance) << "byte " << i;
    }
}

const TPixelFormat AllFormats[]
    = { TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf15bit,
          TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit };

void CheckWrittenFiles(const std::string& commandBefore, const std::string& commandAfter)
{
    for (TPixelFormat format : AllFormats) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap = test::PatternBitmap(13, 5, format, 11);
        if (format == TPixelFormat::pf32bit) {
            // With alpha bytes of 0 no reader takes the fourth byte as transparency.
            for (int y = 0; y < bitmap.Height(); ++y)
                for (int x = 0; x < bitmap.Width(); ++x)
                    SetPixelAlpha(bitmap, x, y, 0);
        }
        std::filesystem::path file
            = TestFolder() / ("written_" + std::to_string(static_cast<int>(format)) + ".bmp");
        SaveBitmapToFile(bitmap, file);
        auto pixels = RunCommand(commandBefore + file.string() + commandAfter);
        ASSERT_TRUE(pixels.has_value());
        bool narrow = format == TPixelFormat::pf15bit || format == TPixelFormat::pf16bit;
        ExpectSamePicture(RgbBytesOf(bitmap), *pixels, narrow ? 4 : 0);
    }
}

TEST(BmpInteropTest, PillowReadsWrittenFilesAsTheSamePicture)
{
    if (!HasPillow())
        GTEST_SKIP() << "Pillow is not installed";
    CheckWrittenFiles(
        "/usr/bin/python3 -c 'import sys; from PIL import Image; "
        "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGB\").tobytes())' '",
        "'");
}

TEST(BmpInteropTest, ImageMagickReadsWrittenFilesAsTheSamePicture)
{
    if (!HasImageMagick())
        GTEST_SKIP() << "ImageMagick is not installed";
    CheckWrittenFiles("convert '", "' -depth 8 rgb:-");
}

TEST(BmpInteropTest, ReadsRunLengthFilesOfImageMagick)
{
    if (!HasImageMagick())
        GTEST_SKIP() << "ImageMagick is not installed";
    std::filesystem::path file = TestFolder() / "imagemagick_rle8.bmp";
    ASSERT_TRUE(RunCommand(
        "convert -size 37x9 gradient:red-blue -colors 6 -type Palette -compress RLE 'BMP3:"
        + file.string() + "'"));
    Bytes bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 54u);
    ASSERT_EQ(ReadU32(bytes.data() + 30), BI_RLE8) << "ImageMagick wrote no run-length file";
    TBitmap bitmap = ReadBmp(bytes);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    auto pixels = RunCommand("convert '" + file.string() + "' -depth 8 rgb:-");
    ASSERT_TRUE(pixels.has_value());
    ExpectSamePicture(*pixels, RgbBytesOf(bitmap), 0);
}

} // namespace
} // namespace velmora
