#include "graphics/bmp_codec.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "scripts/script_runner.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;
using TFormats = std::vector<std::tuple<int, int, int>>;

const std::string Cli = VELMORA_CLI_PATH;
const std::string ScriptHeader = "Velmora Icon Manager Script File\n";

TBitmap Picture(int w, int h, TPixelFormat format = TPixelFormat::pf24bit)
{
    return MakeTrueColorBitmap(
        w, h, format,
        [](int x, int y) {
            return x == 0 ? RGB(255, 0, 255)
                          : RGB(static_cast<uint8_t>(3 * x), static_cast<uint8_t>(3 * y), 99);
        },
        255);
}

TFormats FormatsOf(const std::filesystem::path& icon)
{
    TIconDirectory document;
    EXPECT_TRUE(document.LoadFromFile(icon.string()));
    TFormats formats;
    for (int i = 0; i < document.Count(); ++i) {
        const TIconDirectoryEntry& entry = document.GetEntry(i);
        formats.emplace_back(entry.ImageWidth(), entry.ImageHeight(), entry.BitCount);
    }
    return formats;
}

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

// Runs velmora-icon with the arguments (quoted for the shell as they are given) in dir.
TRun RunCli(const TTempDir& dir, const std::string& args)
{
    const std::string errFile = dir.Path("stderr.txt").string();
    TRun run;
    run.Status = RunCommand(
        "cd '" + dir.Root().string() + "' && '" + Cli + "' " + args + " 2>'" + errFile + "'",
        &run.Out);
    const Bytes bytes = ReadFile(errFile);
    run.Err.assign(bytes.begin(), bytes.end());
    return run;
}

// Writes a script file into dir; its name, relative to dir.
std::string ScriptFile(const TTempDir& dir, const std::string& name, const std::string& text)
{
    WriteFile(dir.Path(name), Bytes(text.begin(), text.end()));
    return name;
}

} // namespace

TEST(CliBuild, BuildsAnIconFromBitmapsAndTheirMasks)
{
    TTempDir dir;
    for (int size : { 72, 16, 24, 32, 48, 64 }) {
        SaveBitmapToFile(Picture(size, size, TPixelFormat::pf32bit),
            dir.Path("i" + std::to_string(size) + ".bmp"));
    }
    SaveBitmapToFile(Picture(20, 20), dir.Path("logo.bmp"));
    SaveBitmapToFile(MakeTrueColorBitmap(20, 20, TPixelFormat::pf24bit,
                         [](int x, int) { return x < 10 ? RGB(255, 255, 255) : RGB(64, 64, 64); }),
        dir.Path("logomask.bmp"));
    WriteFile(dir.Path("out.ico"), Bytes { 'o', 'l', 'd' });
    const TRun run = RunCli(dir, "build -o out.ico *.bmp");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "out.ico\n");
    EXPECT_EQ(run.Err, "");
    // Name order; the mask gives logo.bmp its alpha, so that image has 32 bits.
    const TFormats expected { { 16, 16, 32 }, { 24, 24, 32 }, { 32, 32, 32 }, { 48, 48, 32 },
        { 64, 64, 32 }, { 72, 72, 32 }, { 20, 20, 32 } };
    EXPECT_EQ(FormatsOf(dir.Path("out.ico")), expected);

    if (!HaveProgram("icotool"))
        GTEST_SKIP() << "icotool is not installed";
    // icotool reads the same images, and the mask's alpha in logo's.
    std::string listed;
    ASSERT_EQ(
        RunCommand("icotool -l '" + dir.Path("out.ico").string() + "' 2>/dev/null", &listed), 0);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 7) << listed;
    EXPECT_NE(listed.find("--index=7 --width=20 --height=20 --bit-depth=32 --palette-size=0\n"),
        listed.npos);
    ASSERT_EQ(RunCommand("cd '" + dir.Root().string()
                  + "' && icotool -x -i 7 -o logo.png out.ico 2>/dev/null"),
        0);
    const TBitmap logo = DecodePng(ReadFile(dir.Path("logo.png")));
    EXPECT_EQ(PixelAt(logo, 5, 5), (TBgra { 99, 15, 15, 255 }));
    EXPECT_EQ(PixelAt(logo, 15, 5), (TBgra { 99, 15, 45, 64 }));
}

// Each file that did not become an image is named with the reason, and the status is 1 (a
// file of another kind is named, but does not count); OUT is left alone when ICON cannot be
// opened or no image is left, and the icon of --into is not changed.
TEST(CliBuild, ReportsWhatWasNotImported)
{
    TTempDir dir;
    SaveBitmapToFile(Picture(80, 8), dir.Path("big.bmp"));
    SaveBitmapToFile(Picture(8, 8), dir.Path("good.bmp"));
    SaveBitmapToFile(Picture(8, 8), dir.Path("lonemask.bmp"));
    SaveBitmapToFile(Picture(16, 16), dir.Path("same.bmp"));
    SaveBitmapToFile(Picture(10, 10), dir.Path("zz.bmp"));
    WriteFile(dir.Path("into.ico"), MakeIconFile({ BmpImage(16, 16, 24), BmpImage(32, 32, 8) }));
    const Bytes into = ReadFile(dir.Path("into.ico"));
    const std::string prefix = "velmora-icon: ";
    struct TRow {
        std::string Args;
        int Status;
        std::string Err;
        TFormats Formats; // of out.ico; none: not written
    };
    const std::vector<TRow> rows {
        { "good.bmp big.bmp lonemask.bmp missing.bmp x.gif", 1,
            prefix + "big.bmp: the bitmap is wider or higher than 72 pixels\n" + prefix
                + "lonemask.bmp: a mask file whose bitmap file is not among the files, skipped\n"
                + prefix + "missing.bmp: the file does not exist\n" + prefix
                + "x.gif: the name does not end in \".bmp\" or \".png\", skipped\n",
            { { 8, 8, 24 } } },
        { "--into into.ico zz.bmp same.bmp good.bmp", 1,
            prefix
                + "same.bmp: the icon already holds an image of its format (16*16, 24 bpp); the "
                  "import stopped here\n"
                + prefix
                + "zz.bmp: not reached: the import stopped at same.bmp, whose format the icon "
                  "already holds\n",
            { { 16, 16, 24 }, { 32, 32, 8 }, { 8, 8, 24 } } },
        { "--into=missing.ico good.bmp", 1, prefix + "missing.ico: the file does not exist\n", {} },
        { "lonemask.bmp", 1,
            prefix + "lonemask.bmp: a mask file whose bitmap file is not among the files, skipped\n"
                + prefix + "out.ico: not written: the icon has no image\n",
            {} },
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Args);
        WriteFile(dir.Path("out.ico"), Bytes { 'k', 'e', 'e', 'p' });
        const TRun run = RunCli(dir, "build -o out.ico " + row.Args);
        EXPECT_EQ(run.Status, row.Status);
        EXPECT_EQ(run.Err, row.Err);
        if (row.Formats.empty())
            EXPECT_EQ(ReadFile(dir.Path("out.ico")), (Bytes { 'k', 'e', 'e', 'p' }));
        else
            EXPECT_EQ(FormatsOf(dir.Path("out.ico")), row.Formats);
        EXPECT_EQ(ReadFile(dir.Path("into.ico")), into);
    }
}

TEST(CliBuild, UsageErrorsAndFailedWrites)
{
    TTempDir dir;
    const TRun usage = RunCli(dir, "build a.bmp");
    EXPECT_EQ(usage.Status, 2);
    EXPECT_TRUE(usage.Err.starts_with(
        "velmora-icon build: -o OUT.ico is missing\nTry 'velmora-icon build --help'.\n"));
    // A folder that does not exist cannot take OUT.
    SaveBitmapToFile(Picture(8, 8), dir.Path("a.bmp"));
    const TRun failed = RunCli(dir, "build -o no/out.ico a.bmp");
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Err,
        "velmora-icon: no/out.ico: Cannot create file \"no/out.ico\": No such file or directory\n");
}

// Standard input, pipes and devices are build inputs taken by their bytes, since they have
// no name that says what they hold.
TEST(CliBuild, ReadsPicturesFromStreams)
{
    TTempDir dir;
    SaveBitmapToFile(Picture(8, 8), dir.Path("a.bmp"));
    WriteFile(dir.Path("p.png"), PngImage(24, 24).Data);
    const std::string svg = "\xef\xbb\xbf\n<svg xmlns='http://www.w3.org/2000/svg' width='4' "
                            "height='4'><rect width='4' height='4'/></svg>";
    WriteFile(dir.Path("p.svg"), Bytes(svg.begin(), svg.end()));
    WriteFile(dir.Path("note.txt"), Bytes { 'h', 'i' });
    const struct {
        std::string Args;
        TFormats Formats; // of out.ico; none: a failure, whose messages are Err
        std::string Err;
    } rows[] = {
        { "-o out.ico - < p.png", { { 24, 24, 32 } }, "" },
        { "-o out.ico /dev/stdin p.png < a.bmp", { { 8, 8, 24 }, { 24, 24, 32 } }, "" },
        { "-o out.ico --sizes 16,32 - < p.svg", { { 16, 16, 32 }, { 32, 32, 32 } }, "" },
        { "-o out.ico --sizes 16,24 --source 24=- p.svg < p.png",
            { { 16, 16, 32 }, { 24, 24, 32 } }, "" },
        { "-o out.ico - < note.txt", {},
            "velmora-icon: -: neither a PNG, a bitmap nor an SVG picture\n"
            "velmora-icon: out.ico: not written: the icon has no image\n" },
        { "-o out.ico --sizes 16,32 missing.png", {},
            "velmora-icon: missing.png: the file does not exist\n"
            "velmora-icon: out.ico: not written: the icon has no image\n" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Args);
        std::filesystem::remove(dir.Path("out.ico"));
        const TRun run = RunCli(dir, "build " + row.Args);
        EXPECT_EQ(run.Status, row.Formats.empty() ? 1 : 0);
        EXPECT_EQ(run.Err, row.Err);
        if (!row.Formats.empty()) {
            EXPECT_EQ(FormatsOf(dir.Path("out.ico")), row.Formats);
        }
    }
}

TEST(CliBuild, RemovesAndSortsImages)
{
    TTempDir dir;
    WriteFile(dir.Path("a.ico"),
        MakeIconFile({ BmpImage(48, 48, 32), BmpImage(16, 16, 8), BmpImage(32, 32, 32),
            BmpImage(16, 16, 32) }));
    WriteFile(dir.Path("p.png"), PngImage(24, 24).Data);
    const Bytes original = ReadFile(dir.Path("a.ico"));
    const struct {
        std::string Args;
        int Status;
        TFormats Formats; // of out.ico
    } rows[] = {
        { "--remove 0,16x16@8 -o out.ico", 0, { { 32, 32, 32 }, { 16, 16, 32 } } },
        { "--remove 16x16 --remove 1 --sort -o out.ico p.png", 0,
            { { 24, 24, 32 }, { 32, 32, 32 }, { 48, 48, 32 } } },
        { "--remove 16x16 -o out.ico p.png", 0,
            { { 48, 48, 32 }, { 32, 32, 32 }, { 24, 24, 32 } } },
        { "--remove 64x64 -o out.ico", 1, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Args);
        std::filesystem::remove(dir.Path("out.ico"));
        const TRun run = RunCli(dir, "build --into a.ico " + row.Args);
        EXPECT_EQ(run.Status, row.Status) << run.Err;
        if (!row.Formats.empty()) {
            EXPECT_EQ(FormatsOf(dir.Path("out.ico")), row.Formats);
        }
        EXPECT_EQ(ReadFile(dir.Path("a.ico")), original);
    }
    EXPECT_EQ(RunCli(dir, "build --into a.ico --remove 9").Err,
        "velmora-icon: a.ico: no image matches --remove 9\n");
    // Without -o ICON itself is rewritten; a cursor stays one.
    ASSERT_EQ(RunCli(dir, "build --into a.ico --remove 1,2").Status, 0);
    EXPECT_EQ(FormatsOf(dir.Path("a.ico")), (TFormats { { 48, 48, 32 }, { 16, 16, 32 } }));
    ASSERT_EQ(
        RunCli(dir,
            "build --cursor -o c.cur p.png && '" + Cli + "' build --into c.cur --remove 0 p.png")
            .Status,
        0);
    TIconDirectory cursor;
    ASSERT_TRUE(cursor.LoadFromFile(dir.Path("c.cur").string()));
    EXPECT_TRUE(cursor.IsCursor());
    EXPECT_EQ(cursor.Count(), 1);
    std::string listed;
    if (RunCommand("icotool -l '" + dir.Path("a.ico").string() + "' 2>/dev/null", &listed) != 0)
        GTEST_SKIP() << "icotool is not installed";
    EXPECT_EQ(listed,
        "--icon --index=1 --width=48 --height=48 --bit-depth=32 --palette-size=0\n"
        "--icon --index=2 --width=16 --height=16 --bit-depth=32 --palette-size=0\n");
}

TEST(CliRun, RunsAScriptAndPrintsItsResultLast)
{
    TTempDir dir;
    std::filesystem::create_directories(dir.Path("pics/sub"));
    SaveBitmapToFile(MakeSolidBitmap(16, 16, RGB(1, 2, 3)), dir.Path("pics/a.bmp"));
    SaveBitmapToFile(MakeSolidBitmap(32, 32, RGB(1, 2, 3)), dir.Path("pics/sub/b.bmp"));
    SaveBitmapToFile(MakeSolidBitmap(16, 16, RGB(9, 9, 9)), dir.Path("pics/sub/c.bmp"));
    const std::string large = ScriptFile(dir, "large.txt", ScriptHeader);
    std::filesystem::resize_file(dir.Path(large), TScriptRunner::MaxScriptFileSize + 1);

    const struct {
        std::string Args;
        int Status;
        std::string Out;
        std::string ErrStart; // standard error begins so
    } rows[] = {
        { ScriptFile(dir, "build.txt",
              ScriptHeader
                  + "ShowComment start\nOpenIcon no such.ico\nSaveIcon empty.ico\n"
                    "ImportBitmaps pics/*.bmp\nSaveIcon out.ico\nCloseIcon\nShowComment done"),
            0, "start\ndone\n9\n",
            "Error - icon file not opened: no such.ico\nError: File not saved:\nempty.ico\n"
            "velmora-icon run: pics/sub/c.bmp: not imported: the icon already holds an image of "
            "its format (16*16, 24 bpp); the import stopped here\n" },
        // An error raised inside a command ends the run: no result.
        { ScriptFile(dir, "broken.txt",
              ScriptHeader
                  + "ImportBitmaps pics/a.bmp\nSaveIcon no folder/x.ico\nShowComment never"),
            1, "",
            "WriteIconFileHeader failed.\n"
            "Cannot create file \"no folder/x.ico\": No such file or directory\n" },
        { large, 1, "", "The script file large.txt holds 16777217 bytes" },
        { "missing.txt", 1, "-1\n", "Script error - Script file not found.\n" },
        { ScriptFile(dir, "late-header.txt", "ShowComment x\n" + ScriptHeader), 1, "-2\n",
            "Script error - QEB Header not found in script file.\n" },
        { "", 2, "", "velmora-icon run: the script file is missing\nTry" },
    };
    for (const auto& row : rows) {
        const TRun run = RunCli(dir, "run " + row.Args);
        EXPECT_EQ(run.Status, row.Status) << row.Args;
        EXPECT_EQ(run.Out, row.Out) << row.Args;
        EXPECT_EQ(run.Err.substr(0, row.ErrStart.size()), row.ErrStart) << row.Args;
    }
    TIconDirectory saved;
    ASSERT_TRUE(saved.LoadFromFile(dir.Path("out.ico").string()));
    EXPECT_EQ(saved.Count(), 2);
}

} // namespace velmora
