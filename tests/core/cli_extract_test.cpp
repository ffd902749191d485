#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

TEST(CliExtract, WritesEveryImageAsBitmapOrPng)
{
    TTempDir dir;
    // A 4 x 4 24-bit image whose left column is masked and black, the rest (10, 20, 30).
    TImageRecipe masked { 4, 4, 24 };
    masked.Pixel = [](int x, int) { return x == 0 ? 0u : 0x0A141Eu; };
    masked.MaskBit = [](int x, int) { return x == 0; };
    WriteFile(dir.Path("logo.ico"),
        MakeIconFile({ { BuildImage(masked), 4, 4, 24 }, PngImage(8, 8), BmpImage(16, 16, 8) }));
    const std::string out = dir.Path("out/sub").string();
    auto extract = [&](const std::string& options, const std::string& ext) {
        std::string printed;
        const std::string command = Cli + " extract " + options + dir.Path("logo.ico").string();
        ASSERT_EQ(RunCommand(command + " " + out, &printed), 0);
        const std::string base = out + "/logo-";
        EXPECT_EQ(
            printed, base + "0" + ext + "\n" + base + "1" + ext + "\n" + base + "2" + ext + "\n");
    };
    extract("", ".bmp");
    TBitmap first = LoadBitmapFromFile(out + "/logo-0.bmp");
    EXPECT_EQ(first.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(GetPixelColor(first, 0, 0), RGB(255, 0, 255)); // the default background
    EXPECT_EQ(GetPixelColor(first, 2, 0), RGB(10, 20, 30));
    EXPECT_EQ(LoadBitmapFromFile(out + "/logo-2.bmp").PixelFormat(), TPixelFormat::pf8bit);
    extract("--background '#ff8000' ", ".bmp");
    EXPECT_EQ(GetPixelColor(LoadBitmapFromFile(out + "/logo-0.bmp"), 0, 0), RGB(255, 128, 0));

    extract("--png ", ".png");
    TBitmap png = DecodePng(ReadFile(out + "/logo-0.png"));
    EXPECT_EQ(png.Width(), 4);
    EXPECT_EQ(PixelAt(png, 0, 0), (TBgra { 0, 0, 0, 0 }));
    EXPECT_EQ(PixelAt(png, 1, 0), (TBgra { 30, 20, 10, 255 }));
    // A PNG image keeps its own RGBA.
    EXPECT_EQ(DecodePng(ReadFile(out + "/logo-1.png")), DecodePng(PngImage(8, 8).Data));
}

TEST(CliExtract, ReportsFailures)
{
    TTempDir dir;
    const std::string out = dir.Path("out").string();
    // An image that cannot be drawn is reported; the next one is still written.
    TTestImage broken = BmpImage(4, 4, 24);
    WriteU16(broken.Data.data() + 14, 7);
    WriteFile(dir.Path("mixed.ico"), MakeIconFile({ broken, BmpImage(8, 8, 32) }));
    std::string printed;
    EXPECT_EQ(
        RunCommand(Cli + " extract " + dir.Path("mixed.ico").string() + " " + out + " 2>/dev/null",
            &printed),
        1);
    EXPECT_EQ(printed, out + "/mixed-1.bmp\n");
}

// Straight RGBA bytes of a 32-bit bitmap.
Bytes ToRgba(const TBitmap& bitmap)
{
    Bytes rgba;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const uint8_t* p = bitmap.ScanLine(y) + x * 4;
            rgba.insert(rgba.end(), { p[2], p[1], p[0], p[3] });
        }
    return rgba;
}

// ImageMagick and icotool see the pixels that extract --png writes for icons of each kind, 8 x 8
// pixels with holes in the mask, one holding a PNG written by the encoder under test: the same
// alpha everywhere, the same colours where the pixel is visible.
TEST(CliExtract, PngAgreesWithImageMagickAndIcotool)
{
    auto holes = [](int x, int y) { return (x * y) % 5 == 1; };
    auto rgb = [](int x, int y) { return static_cast<uint32_t>(x * 30 << 16 | y * 31 << 8 | 200); };
    auto argb = [&](int x, int y) { return holes(x, y) ? 0u : (0x20u + x * 28) << 24 | rgb(x, y); };
    const Bytes argbImage = BuildImage({ 8, 8, 32, BI_RGB, {}, {}, 0, argb, holes });
    const TTestImage icons[] = { BmpImage(8, 8, 4), BmpImage(8, 8, 8, 3),
        { BuildImage({ 8, 8, 24, BI_RGB, {}, {}, 0, rgb, holes }), 8, 8, 24 },
        { argbImage, 8, 8, 32 }, { EncodePng(DecodeIconImage(argbImage).Pixels), 8, 8, 32 } };
    bool ran = false;
    for (std::string tool :
        { "convert 'ico:%s' -depth 8 'rgba:%s/out.rgba'", "icotool -x '%s' -o '%s'" }) {
        if (!HaveProgram(tool.substr(0, tool.find(' '))))
            continue;
        ran = true;
        for (const TTestImage& icon : icons) {
            SCOPED_TRACE(tool + ", image " + std::to_string(&icon - icons));
            TTempDir dir;
            const std::string file = dir.Path("a.ico").string();
            WriteFile(file, MakeIconFile({ icon }));
            std::filesystem::create_directories(dir.Path("theirs"));
            ASSERT_EQ(RunCommand(
                          FormatText(tool, { file, dir.Path("theirs").string() }) + " 2>/dev/null"),
                0);
            ASSERT_EQ(
                RunCommand(Cli + " extract --png " + file + " " + dir.Path("ours").string()), 0);
            Bytes theirs;
            for (const auto& entry : std::filesystem::directory_iterator(dir.Path("theirs")))
                theirs = entry.path().extension() == ".png"
                    ? ToRgba(DecodePng(ReadFile(entry.path())))
                    : ReadFile(entry.path());
            const Bytes ours = ToRgba(DecodePng(ReadFile(dir.Path("ours/a-0.png"))));
            ASSERT_EQ(theirs.size(), ours.size());
            for (size_t i = 0; i < ours.size(); i += 4)
                if (ours[i + 3] != 0 || theirs[i + 3] != 0) {
                    ASSERT_EQ(Bytes(theirs.begin() + i, theirs.begin() + i + 4),
                        Bytes(ours.begin() + i, ours.begin() + i + 4))
                        << "pixel " << i / 4;
                }
        }
    }
    if (!ran)
        GTEST_SKIP() << "neither ImageMagick nor icoutils is installed";
}

} // namespace
} // namespace velmora
