#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

// A 4 x 4 24-bit image whose left column is masked and black, the rest (10, 20, 30).
Bytes MaskedImage()
{
    TImageRecipe recipe { 4, 4, 24 };
    recipe.Pixel = [](int x, int) { return x == 0 ? 0u : 0x0A141Eu; };
    recipe.MaskBit = [](int x, int) { return x == 0; };
    return BuildImage(recipe);
}

TEST(CliExtract, WritesEveryImageAsBitmapOrPng)
{
    TTempDir dir;
    WriteFile(dir.Path("logo.ico"),
        MakeIconFile(
            { TTestImage { MaskedImage(), 4, 4, 24 }, PngImage(8, 8), BmpImage(16, 16, 8) }));
    const std::string out = dir.Path("out/sub").string();
    std::string printed;
    ASSERT_EQ(
        RunCommand(Cli + " extract " + dir.Path("logo.ico").string() + " " + out, &printed), 0);
    EXPECT_EQ(printed, out + "/logo-0.bmp\n" + out + "/logo-1.bmp\n" + out + "/logo-2.bmp\n");
    TBitmap first = LoadBitmapFromFile(out + "/logo-0.bmp");
    EXPECT_EQ(first.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(GetPixelColor(first, 0, 0), RGB(255, 0, 255)); // the default background
    EXPECT_EQ(GetPixelColor(first, 2, 0), RGB(10, 20, 30));
    EXPECT_EQ(LoadBitmapFromFile(out + "/logo-2.bmp").PixelFormat(), TPixelFormat::pf8bit);

    ASSERT_EQ(RunCommand(Cli + " extract --background '#00ff00' " + dir.Path("logo.ico").string()
                  + " " + out),
        0);
    EXPECT_EQ(GetPixelColor(LoadBitmapFromFile(out + "/logo-0.bmp"), 0, 0), RGB(0, 255, 0));

    printed.clear();
    ASSERT_EQ(
        RunCommand(Cli + " extract --png " + dir.Path("logo.ico").string() + " " + out, &printed),
        0);
    EXPECT_EQ(printed, out + "/logo-0.png\n" + out + "/logo-1.png\n" + out + "/logo-2.png\n");
    TBitmap png = DecodePng(ReadFile(out + "/logo-0.png"));
    EXPECT_EQ(png.Width(), 4);
    EXPECT_EQ(GetPixelAlpha(png, 0, 0), 0);
    EXPECT_EQ(GetPixelColor(png, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixelAlpha(png, 1, 0), 255);
    EXPECT_EQ(GetPixelColor(png, 1, 0), RGB(10, 20, 30));
    // A PNG image keeps its own RGBA.
    EXPECT_EQ(
        DecodePng(ReadFile(out + "/logo-1.png")).Pixels(), DecodePng(MakePngImage(8, 8)).Pixels());
}

TEST(CliExtract, ReportsFailuresAndUsage)
{
    TTempDir dir;
    const std::string out = dir.Path("out").string();
    EXPECT_EQ(RunCommand(Cli + " extract 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(Cli + " extract a.ico 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(Cli + " extract --background 12345 a.ico " + out + " 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(Cli + " extract --background GG0000 a.ico " + out + " 2>/dev/null"), 2);
    std::string err;
    EXPECT_EQ(RunCommand(
                  Cli + " extract " + dir.Path("missing.ico").string() + " " + out + " 2>&1", &err),
        1);
    EXPECT_EQ(err,
        "Error - icon file not opened: " + dir.Path("missing.ico").string()
            + "\nthe file does not exist\n");

    // An image that cannot be drawn is reported; the next one is still written.
    Bytes broken = MakeBmpImage(4, 4, 24);
    WriteU16(broken.data() + 14, 7);
    WriteFile(dir.Path("mixed.ico"),
        MakeIconFile({ TTestImage { broken, 4, 4, 24 }, BmpImage(8, 8, 32) }));
    std::string printed;
    EXPECT_EQ(
        RunCommand(Cli + " extract " + dir.Path("mixed.ico").string() + " " + out + " 2>/dev/null",
            &printed),
        1);
    EXPECT_EQ(printed, out + "/mixed-1.bmp\n");
}

// icotool reads the PNG files the same way we write them.
TEST(CliExtract, PngMatchesIcotool)
{
    if (!HaveProgram("icotool"))
        GTEST_SKIP() << "icotool is not installed";
    TTempDir dir;
    WriteFile(dir.Path("a.ico"), MakeIconFile({ BmpImage(16, 16, 32), BmpImage(16, 16, 4) }));
    ASSERT_EQ(RunCommand(Cli + " extract --png " + dir.Path("a.ico").string() + " "
                  + dir.Path("ours").string() + " >/dev/null"),
        0);
    std::filesystem::create_directories(dir.Path("theirs"));
    ASSERT_EQ(RunCommand("icotool -x -o " + dir.Path("theirs").string() + " "
                  + dir.Path("a.ico").string()),
        0);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const std::string bits = i == 0 ? "32" : "4";
        TBitmap ours = DecodePng(ReadFile(dir.Path("ours/a-" + std::to_string(i) + ".png")));
        TBitmap theirs = DecodePng(
            ReadFile(dir.Path("theirs/a_" + std::to_string(i + 1) + "_16x16x" + bits + ".png")));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                ASSERT_EQ(GetPixelAlpha(ours, x, y), GetPixelAlpha(theirs, x, y)) << x << "," << y;
                if (GetPixelAlpha(ours, x, y) == 255) {
                    ASSERT_EQ(GetPixelColor(ours, x, y), GetPixelColor(theirs, x, y))
                        << x << "," << y;
                }
            }
        }
    }
}

} // namespace
} // namespace velmora
