// What velmora-icon writes on standard output: lost output is a failure, and its JSON is
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
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TTempDir dir;
    WriteFile(dir.Path("a.ico"), MakeIconFile({ BmpImage(16, 16, 8) }));
    const std::string script = "velmora icon manager script file\nShowComment hello\n";
    WriteFile(dir.Path("s.txt"), Bytes(script.begin(), script.end()));
    for (const std::string& command : { std::string("--version"),
             "info --json " + dir.Path("a.ico").string(), "run " + dir.Path("s.txt").string(),
             "extract " + dir.Path("a.ico").string() + " " + dir.Path("out").string() }) {
        SCOPED_TRACE(command);
        std::string err;
        EXPECT_EQ(RunCommand(Cli + " " + command + " 2>&1 >/dev/full", &err), 1);
        EXPECT_EQ(err.substr(err.find("velmora-icon: write error")),
            "velmora-icon: write error: No space left on device\n");
        EXPECT_EQ(RunCommand(Cli + " " + command + " >/dev/null"), 0);
    }
}

TEST(CliOutput, JsonEscapesBytesThatAreNoUtf8)
{
    TTempDir dir;
    // Valid UTF-8 (e acute, a euro sign, a four-byte emoji) is kept; a stray continuation
    // byte, a cut sequence, an overlong form, an encoded surrogate and 0xFF are escaped.
    const std::string name
        = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80-\x80\xE2\x82-\xC0\xAF\xED\xA0\x80\xFF.ico";
    WriteFile(dir.Path(name), MakeIconFile({ BmpImage(16, 16, 8) }));
    const std::string path = dir.Path(name).string();
    std::string out;
    ASSERT_EQ(RunCommand(Cli + " info --json '" + path + "'", &out), 0);
    const std::string escaped = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80-\\udc80\\udce2\\udc82-"
                                "\\udcc0\\udcaf\\udced\\udca0\\udc80\\udcff.ico";
    EXPECT_NE(out.find("{\"file\":\"" + dir.Root().string() + "/" + escaped + "\",\"images\""),
        std::string::npos)
        << out;
    if (!HaveProgram("python3"))
        return;
    // Python reads it as JSON and gets the very bytes back through os.fsencode.
    WriteFile(dir.Path("out.json"), Bytes(out.begin(), out.end()));
    std::string back;
    ASSERT_EQ(RunCommand("python3 -c 'import json, os, sys; sys.stdout.buffer.write(os.fsencode("
                         "json.load(open(sys.argv[1], encoding=\"utf-8\"))[0][\"file\"]))' "
                      + dir.Path("out.json").string(),
                  &back),
        0);
    EXPECT_EQ(back, path);
}

} // namespace
} // namespace velmora
