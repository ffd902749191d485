#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "scripts/script_runner.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;
const std::string Header = "Velmora Icon Manager Script File\n";

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
std::string Script(const TTempDir& dir, const std::string& name, const std::string& text)
{
    WriteFile(dir.Path(name), Bytes(text.begin(), text.end()));
    return name;
}

TEST(CliRun, RunsAScriptAndPrintsItsResultLast)
{
    TTempDir dir;
    std::filesystem::create_directories(dir.Path("pics/sub"));
    SaveBitmapToFile(MakeSolidBitmap(16, 16, RGB(1, 2, 3)), dir.Path("pics/a.bmp"));
    SaveBitmapToFile(MakeSolidBitmap(32, 32, RGB(1, 2, 3)), dir.Path("pics/sub/b.bmp"));
    SaveBitmapToFile(MakeSolidBitmap(16, 16, RGB(9, 9, 9)), dir.Path("pics/sub/c.bmp"));
    const std::string large = Script(dir, "large.txt", Header);
    std::filesystem::resize_file(dir.Path(large), TScriptRunner::MaxScriptFileSize + 1);

    const struct {
        std::string Args;
        int Status;
        std::string Out;
        std::string ErrStart; // standard error begins so
    } rows[] = {
        { Script(dir, "build.txt",
              Header
                  + "ShowComment start\nOpenIcon no such.ico\nSaveIcon empty.ico\n"
                    "ImportBitmaps pics/*.bmp\nSaveIcon out.ico\nCloseIcon\nShowComment done"),
            0, "start\ndone\n9\n",
            "Error - icon file not opened: no such.ico\nError: File not saved:\nempty.ico\n"
            "velmora-icon run: pics/sub/c.bmp: not imported: the icon already holds an image of "
            "its format (16*16, 24 bpp); the import stopped here\n" },
        // An error raised inside a command ends the run: no result.
        { Script(dir, "broken.txt",
              Header + "ImportBitmaps pics/a.bmp\nSaveIcon no folder/x.ico\nShowComment never"),
            1, "",
            "WriteIconFileHeader failed.\n"
            "Cannot create file \"no folder/x.ico\": No such file or directory\n" },
        { large, 1, "", "The script file large.txt holds 16777217 bytes" },
        { "missing.txt", 1, "-1\n", "Script error - Script file not found.\n" },
        { Script(dir, "late-header.txt", "ShowComment x\n" + Header), 1, "-2\n",
            "Script error - QEB Header not found in script file.\n" },
        { Script(dir, "comment.txt", Header + "; CloseIcon\n"), 1, "0\n",
            "Script error - Script file is empty.\n" },
        { "-- -x", 1, "-1\n", "Script error - Script file not found.\n" },
        { "", 2, "", "velmora-icon run: the script file is missing\nUsage:" },
        { "a b", 2, "", "velmora-icon run: only one script file can be given\nUsage:" },
        { "--fast a", 2, "", "velmora-icon run: unknown option --fast\nUsage:" },
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

} // namespace
} // namespace velmora
