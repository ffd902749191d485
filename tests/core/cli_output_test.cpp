// What velmora-icon writes on standard output: lost output fails the command, and its JSON is
// valid UTF-8 whatever bytes the file names hold.

#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

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
