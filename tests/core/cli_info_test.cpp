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
    out.clear();
    EXPECT_EQ(RunCli("info --help", &out), 0);
    EXPECT_NE(out.find("info [--json] FILE..."), std::string::npos);
    for (const char* usage :
        { "info", "frobnicate", "extract a.ico", "extract --background 12345 a.ico out" })
        EXPECT_EQ(RunCli(std::string(usage) + " 2>/dev/null"), 2) << usage;
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
              "\"imageOffset\":38,\"encoding\":\"bmp\",\"header\":{\"width\":16,\"height\":32,"
              "\"bitCount\":8}},\n  {\"index\":1,\"width\":0,\"height\":0,\"colorCount\":0,"
              "\"reserved\":0,\"planes\":1,\"bitCount\":32,\"bytesInRes\":"
            + std::to_string(PngImage(256, 256).Data.size())
            + ",\"imageOffset\":1422,\"encoding\":\"png\",\"truncated\":true,"
              "\"storedBytesInRes\":4294967295}]},\n{\"file\":\""
            + bad + "\",\"status\":-3,\"error\":\"" + refusal + "\"}\n]\n");
    const Bytes err = ReadFile(dir.Path("err.txt"));
    EXPECT_EQ(std::string(err.begin(), err.end()),
        "Error - icon file not opened: " + bad + "\n" + refusal + "\n");
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

} // namespace
} // namespace velmora
