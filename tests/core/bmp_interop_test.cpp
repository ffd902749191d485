// The .bmp files written here must be the same pictures to Pillow and ImageMagick, and a
// run-length file written by ImageMagick must read as the picture ImageMagick sees in it.
// The tests skip when the tool is missing.
#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "support/file_io.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

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

} // namespace
} // namespace velmora
