#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

int RunCli(const std::string& args, std::string* out = nullptr)
{
    return RunCommand(Cli + " " + args, out);
}

TEST(CliInfo, UsageVersionHelpAndExitCodes)
{
    std::string out;
    EXPECT_EQ(RunCli("--version", &out), 0);
    EXPECT_EQ(out, "velmora-icon " VELMORA_VERSION_TEXT_FOR_TESTS "\n");
    for (const char* usage :
        { "info", "frobnicate", "extract a.ico", "extract --background 12345 a.ico out" })
        EXPECT_EQ(RunCli(std::string(usage) + " 2>/dev/null"), 2) << usage;
}

// Command lines, their status and the first line they print (standard error included).
TEST(CliInfo, CommandLinesAnswerWithOneLine)
{
    TTempDir dir;
    WriteFile(dir.Path("a.ico"), MakeIconFile({ BmpImage(16, 16, 8), PngImage(32, 32) }));
    WriteFile(dir.Path("m.PNG"), PngImage(24, 24).Data);
    WriteFile(dir.Path("png.ico"), PngImage(24, 24).Data);
    WriteFile(dir.Path("empty.ico"), Bytes());
    std::filesystem::copy_file(dir.Path("a.ico"), dir.Path("i.png"));
    const std::string a = dir.Path("a.ico").string();
    const struct {
        std::string Args;
        int Status;
        std::string FirstLine;
    } rows[] = {
        { "", 2, "velmora-icon: a COMMAND is missing" },
        { "frob", 2, "velmora-icon: unknown command frob" },
        { "info --frob", 2, "velmora-icon info: unknown option --frob" },
        { "extract --background", 2, "velmora-icon extract: --background needs a colour" },
        { "build -o a -o b x", 2, "velmora-icon build: only one --output can be given" },
        { "info x -h", 0, "Usage: velmora-icon info [--json] FILE..." },
        { "extract --help", 0,
            "Usage: velmora-icon extract [--background RRGGBB] [--png] [--index N,N,...]" },
        { "build -h", 0, "Usage: velmora-icon build -o OUT.ico [--into ICON] [FILE...]" },
        { "run -h", 0, "Usage: velmora-icon run SCRIPT" },
        { "info " + dir.Root().string(), 1,
            "velmora-icon: " + dir.Root().string() + ": is a folder" },
        { "info " + dir.Path("m.PNG").string(), 1,
            "velmora-icon: " + dir.Path("m.PNG").string() + ": a PNG picture, not an icon" },
        { "info - < " + a, 0, "-: 2 images" },
        { "info <(cat " + a + ")", 0, "/dev/fd/63: 2 images" },
        { "extract " + a + " -", 2,
            "velmora-icon extract: 2 images are selected, but standard output takes one; choose "
            "with --index, --size or --depth" },
        { "extract --size 16x16 --depth 32 " + a + " " + dir.Root().string(), 1,
            "velmora-icon extract: " + a + ": no image is selected" },
        { "extract --index 1,5 " + a + " " + dir.Path("o").string(), 0,
            dir.Path("o/a-1.bmp").string() },
        { "extract --size 32 --png " + a + " - | file -b -", 0,
            "PNG image data, 32 x 32, 8-bit/color RGBA, non-interlaced" },
        { "build --each " + dir.Path("new/sub").string() + " --sizes 16,20 "
                + dir.Path("m.PNG").string(),
            0, dir.Path("new/sub/m.ico").string() },
        { "build -o - " + dir.Path("m.PNG").string() + " | " + Cli + " info -", 0, "-: 1 image" },
        { "extract " + dir.Path("none.ico").string() + " -", 1,
            "velmora-icon: " + dir.Path("none.ico").string() + ": the file does not exist" },
        { "extract " + dir.Path("empty.ico").string() + " -", 1,
            "velmora-icon: " + dir.Path("empty.ico").string() + ": the file is empty" },
        { "--verbose extract " + dir.Path("png.ico").string() + " -", 1,
            "velmora-icon: " + dir.Path("png.ico").string() + ": a PNG picture, not an icon" },
        { "build -o x.ico --sizes 16 " + dir.Root().string(), 1,
            "velmora-icon: " + dir.Root().string() + ": is a folder" },
        { "build -o x.ico " + dir.Path("i.png").string(), 1,
            "velmora-icon: " + dir.Path("i.png").string() + ": an icon file, not a PNG picture" },
        { "build -o x.ico - -", 2, "velmora-icon build: standard input (-) can be read only once" },
        { "build --into a.ico --remove 3x", 2,
            "velmora-icon build: --remove needs an index, WxH or WxH@BPP, such as 3, 32x32 or "
            "48x48@32" },
    };
    for (const auto& row : rows) {
        std::string out;
        EXPECT_EQ(RunCommand("bash -c '" + Cli + " " + row.Args + "' 2>&1", &out), row.Status)
            << row.Args;
        EXPECT_EQ(out.substr(0, out.find('\n')), row.FirstLine) << row.Args;
    }
}

TEST(CliInfo, JsonDescribesEveryImageAndEveryRefusal)
{
    TTempDir dir;
    Bytes file = MakeIconFile({ BmpImage(16, 16, 8), PngImage(256, 256) });
    WriteU32(file.data() + 6 + 16 + 8, 0xFFFFFFFF); // the PNG claims 4 GiB
    WriteFile(dir.Path("a.ico"), file);
    WriteFile(dir.Path("bad.ico"), Bytes(20, 7));
    const std::string a = dir.Path("a.ico").string(), bad = dir.Path("bad.ico").string();
    std::string out;
    EXPECT_EQ(
        RunCli("info --json " + a + " " + bad + " 2>" + dir.Path("err.txt").string(), &out), 1);
    const std::string refusal = "the file does not start with an icon header";
    EXPECT_EQ(out,
        "[\n{\"file\":\"" + a
            + "\",\"images\":[\n  {\"index\":0,\"width\":16,\"height\":16,"
              "\"colorCount\":0,\"reserved\":0,\"planes\":1,\"bitCount\":8,\"bytesInRes\":1384,"
              "\"imageOffset\":38,\"encoding\":\"bmp\",\"imageWidth\":16,\"imageHeight\":16,"
              "\"imageBitCount\":8,\"header\":{\"width\":16,\"height\":32,"
              "\"bitCount\":8}},\n  {\"index\":1,\"width\":0,\"height\":0,\"colorCount\":0,"
              "\"reserved\":0,\"planes\":1,\"bitCount\":32,\"bytesInRes\":"
            + std::to_string(PngImage(256, 256).Data.size())
            + ",\"imageOffset\":1422,\"encoding\":\"png\",\"imageWidth\":256,\"imageHeight\":256,"
              "\"imageBitCount\":32,\"truncated\":true,"
              "\"storedBytesInRes\":4294967295}]},\n{\"file\":\""
            + bad + "\",\"status\":-3,\"error\":\"" + refusal + "\"}\n]\n");
    const Bytes err = ReadFile(dir.Path("err.txt"));
    EXPECT_EQ(std::string(err.begin(), err.end()), "velmora-icon: " + bad + ": " + refusal + "\n");
}

// What the document writes, Pillow reads as the same icon (icotool: see the build command).
TEST(CliInfo, PeersReadWhatWeSave)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"),
        MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 32), PngImage(48, 48) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    TIconDirectory built;
    for (int i = 2; i >= 0; --i)
        ASSERT_EQ(built.AddImage(&document.GetImage(i), &document.GetEntry(i)), 0);
    ASSERT_TRUE(built.SaveToFile(dir.Path("out.ico")));
    if (!HavePillow())
        GTEST_SKIP() << "Pillow is not installed";
    std::string out;
    ASSERT_EQ(RunCommand("/usr/bin/python3 -c \"from PIL import Image; im = Image.open('"
                      + dir.Path("out.ico").string() + "'); print(sorted(im.info['sizes']))\"",
                  &out),
        0);
    EXPECT_EQ(out, "[(16, 16), (32, 32), (48, 48)]\n");
}

// What velmora-icon writes on standard output: lost output fails the command, and its JSON is
// valid UTF-8 whatever bytes the file names hold.
TEST(CliOutput, LostStandardOutputFailsTheCommand)
{
    TTempDir dir;
    WriteFile(dir.Path("a.ico"), MakeIconFile({ BmpImage(16, 16, 8) }));
    const std::string script = "velmora icon manager script file\nShowComment hello\n";
    WriteFile(dir.Path("s.txt"), Bytes(script.begin(), script.end()));
    for (const std::string& command : { std::string("--version"),
             "info --json " + dir.Path("a.ico").string(), "run " + dir.Path("s.txt").string() }) {
        std::string err;
        EXPECT_EQ(RunCommand(Cli + " " + command + " 2>&1 >/dev/full", &err), 1) << command;
        EXPECT_EQ(err.substr(err.find("velmora-icon: write")),
            "velmora-icon: write error: No space left on device\n");
    }
}

TEST(CliOutput, JsonEscapesBytesThatAreNoUtf8)
{
    if (!HaveProgram("python3"))
        GTEST_SKIP() << "python3 is missing";
    TTempDir dir;
    // Kept: e acute, a euro sign, an emoji. Escaped: a stray continuation byte, a cut
    // sequence, an overlong form, an encoded surrogate, 0xFF.
    const std::string path = dir.Path("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80-\x80\xE2\x82-\xC0\xAF"
                                      "\xED\xA0\x80\xFF.ico")
                                 .string();
    WriteFile(path, MakeIconFile({ BmpImage(16, 16, 8) }));
    std::string out;
    ASSERT_EQ(RunCommand(Cli + " info --json '" + path + "' > " + dir.Path("j").string()
                      + " && python3 -c 'import json, os, sys; sys.stdout.buffer.write(os.fsencode("
                        "json.load(open(sys.argv[1], encoding=\"utf-8\"))[0][\"file\"]))' "
                      + dir.Path("j").string(),
                  &out),
        0);
    EXPECT_EQ(out, path);
    const Bytes json = ReadFile(dir.Path("j"));
    EXPECT_NE(std::string(json.begin(), json.end()).find("\\udcff.ico"), std::string::npos);
}

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
    TBitmap first = LoadBitmapFromFile(out + "/logo-0.bmp"); // at the image's own depth
    EXPECT_EQ(GetPixelColor(first, 0, 0), RGB(255, 0, 255)); // the default background
    EXPECT_EQ(GetPixelColor(first, 2, 0), RGB(10, 20, 30));
    extract("--background '#ff8000' ", ".bmp");
    EXPECT_EQ(GetPixelColor(LoadBitmapFromFile(out + "/logo-0.bmp"), 0, 0), RGB(255, 128, 0));

    extract("--png ", ".png");
    TBitmap png = DecodePng(ReadFile(out + "/logo-0.png"));
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

// A damaged icon: image 1 starts past the end, image 2 is cut short.
TEST(CliExtract, DamagedIconGivesUpItsReadableImages)
{
    TTempDir dir;
    // Image 0's entry also gives no depth.
    Bytes icon
        = With(With(MakeIconFile({ PngImage(8, 8), BmpImage(4, 4, 24), BmpImage(16, 16, 32) }),
                   6 + 16 + 12, 99999),
            12, 0, 2);
    icon.resize(icon.size() - 40);
    const std::string file = dir.Path("a.ico").string();
    WriteFile(file, icon);
    std::string printed;
    EXPECT_EQ(RunCli("info " + file + " 2>/dev/null", &printed), 1);
    EXPECT_NE(printed.find("\n  1: cannot be read: Image 1 at offset 99999"), std::string::npos);
    EXPECT_NE(printed.find("\n  2: 16x16, 32 bpp, bmp"), std::string::npos);
    EXPECT_NE(printed.find("\n  0: 8x8, 32 bpp (directory: 0), png"), std::string::npos);
    const std::string out = dir.Path("out").string();
    printed.clear();
    EXPECT_EQ(RunCli("extract --png " + file + " " + out + " 2>/dev/null", &printed), 1);
    EXPECT_EQ(printed, out + "/a-0.png\n" + out + "/a-2.png\n");
    EXPECT_EQ(ReadFile(out + "/a-0.png"), PngImage(8, 8).Data); // copied as stored
    EXPECT_EQ(RunCli("extract --png --background 000000 " + file + " " + out + " 2>/dev/null"), 1);
    EXPECT_EQ(PixelAt(DecodePng(ReadFile(out + "/a-0.png")), 0, 0)[3], 255);
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
    for (std::string tool : { "convert 'ico:%s' 'png32:%s/a.png'", "icotool -x '%s' -o '%s'" }) {
        if (!HaveProgram(tool.substr(0, tool.find(' '))))
            continue;
        ran = true;
        for (const TTestImage& icon : icons) {
            SCOPED_TRACE(tool + ", image " + std::to_string(&icon - icons));
            TTempDir dir;
            const std::string file = dir.Path("a.ico").string();
            WriteFile(file, MakeIconFile({ icon }));
            std::filesystem::create_directories(dir.Path("theirs"));
            ASSERT_EQ(RunCommand(FormatText(tool, { file, dir.Path("theirs").string() })
                          + " 2>/dev/null && " + Cli + " extract --png " + file + " "
                          + dir.Path("ours").string()),
                0);
            const TBitmap ours = DecodePng(ReadFile(dir.Path("ours/a-0.png")));
            const TBitmap theirs = DecodePng(
                ReadFile(std::filesystem::directory_iterator(dir.Path("theirs"))->path()));
            ASSERT_EQ(theirs.Width() * theirs.Height(), 64);
            for (int i = 0; i < 64; ++i) {
                const TBgra a = PixelAt(ours, i % 8, i / 8), b = PixelAt(theirs, i % 8, i / 8);
                ASSERT_TRUE(a == b || (a[3] == 0 && b[3] == 0)) << "pixel " << i;
            }
        }
    }
    if (!ran)
        GTEST_SKIP() << "neither ImageMagick nor icoutils is installed";
}

} // namespace
} // namespace velmora
