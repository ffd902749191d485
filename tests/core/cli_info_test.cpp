#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

int RunCli(const std::string& args, std::string* out)
{
    return RunCommand(Cli + " " + args, out);
}

TEST(CliInfo, UsageVersionAndHelp)
{
    std::string out;
    EXPECT_EQ(RunCli("--version", &out), 0);
    EXPECT_EQ(out, "velmora-icon " VELMORA_VERSION_TEXT_FOR_TESTS "\n");
    EXPECT_EQ(RunCli("info 2>/dev/null", nullptr), 2);
    EXPECT_EQ(RunCli("info --bogus x.ico 2>/dev/null", nullptr), 2);
    EXPECT_EQ(RunCli("frobnicate 2>/dev/null", nullptr), 2);
    out.clear();
    EXPECT_EQ(RunCli("info --help", &out), 0);
    EXPECT_NE(out.find("info [--json] FILE..."), std::string::npos);
}

TEST(CliInfo, JsonDescribesEveryImageAndEveryRefusal)
{
    TTempDir dir;
    Bytes file = MakeIconFile({ BmpImage(16, 16, 8), PngImage(256, 256) });
    WriteU32(file.data() + 6 + 16 + 8, 0xFFFFFFFF); // the PNG claims 4 GiB
    WriteFile(dir.Path("a.ico"), file);
    WriteFile(dir.Path("bad.ico"), Bytes(20, 7));
    std::string out;
    int status = RunCli("info --json " + dir.Path("a.ico").string() + " "
            + dir.Path("bad.ico").string() + " 2>" + dir.Path("err.txt").string(),
        &out);
    EXPECT_EQ(status, 1);
    const std::string a = dir.Path("a.ico").string();
    const std::string pngSize
        = std::to_string(file.size() - (6 + 32 + MakeBmpImage(16, 16, 8).size()));
    EXPECT_EQ(out,
        "[\n{\"file\":\"" + a
            + "\",\"images\":[\n  "
              "{\"index\":0,\"width\":16,\"height\":16,\"colorCount\":0,\"reserved\":0,"
              "\"planes\":1,\"bitCount\":8,\"bytesInRes\":1384,\"imageOffset\":38,\"encoding\":"
              "\"bmp\","
              "\"header\":{\"width\":16,\"height\":32,\"bitCount\":8}},\n  "
              "{\"index\":1,\"width\":0,"
              "\"height\":0,\"colorCount\":0,\"reserved\":0,\"planes\":1,\"bitCount\":32,"
              "\"bytesInRes\":"
            + pngSize
            + ",\"imageOffset\":1422,\"encoding\":\"png\",\"truncated\":true,\"storedBytesInRes\":"
              "4294967295}]},"
              "\n{\"file\":\""
            + dir.Path("bad.ico").string()
            + "\",\"status\":-3,\"error\":\"the file does not start with an icon header\"}\n]\n");
    const Bytes errBytes = ReadFile(dir.Path("err.txt"));
    const std::string err(errBytes.begin(), errBytes.end());
    EXPECT_EQ(err,
        "Error - icon file not opened: " + dir.Path("bad.ico").string()
            + "\nthe file does not start with an icon header\n");
}

TEST(CliInfo, RaisedErrorsPrintTheirNestedTextWithPlainLineEnds)
{
    TTempDir dir;
    Bytes file = MakeIconFile({ BmpImage(16, 16, 4) });
    WriteU16(file.data() + 4, 50);
    WriteFile(dir.Path("short.ico"), file);
    std::string out;
    EXPECT_EQ(RunCli(dir.Path("short.ico").string() + " 2>&1 >/dev/null", &out), 2); // no command
    out.clear();
    EXPECT_EQ(RunCli("info " + dir.Path("short.ico").string() + " 2>&1 >/dev/null", &out), 1);
    EXPECT_EQ(out,
        "Error - icon file not opened: " + dir.Path("short.ico").string()
            + "\nIconDirEntry.LoadFromFile failed.\nReadIconEntries failed.\nThe directory of 50 "
              "images "
              "needs 806 bytes, but the file has only 318 bytes.\n");
}

// What the document writes, outside readers read as the same icon.
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
    bool checked = false;
    if (HaveProgram("icotool")) {
        std::string out;
        ASSERT_EQ(RunCommand("icotool -l " + dir.Path("out.ico").string(), &out), 0);
        EXPECT_NE(out.find("--index=1 --width=48 --height=48 --bit-depth=32"), std::string::npos)
            << out;
        EXPECT_NE(out.find("--index=3 --width=16 --height=16 --bit-depth=4"), std::string::npos)
            << out;
        checked = true;
    }
    if (RunCommand("/usr/bin/python3 -c 'import PIL' 2>/dev/null") == 0) {
        std::string out;
        ASSERT_EQ(RunCommand("/usr/bin/python3 -c \"from PIL import Image; im = Image.open('"
                          + dir.Path("out.ico").string() + "'); print(sorted(im.info['sizes']))\"",
                      &out),
            0);
        EXPECT_EQ(out, "[(16, 16), (32, 32), (48, 48)]\n");
        checked = true;
    }
    if (!checked)
        GTEST_SKIP() << "neither icotool nor Pillow is installed";
}

} // namespace
} // namespace velmora
