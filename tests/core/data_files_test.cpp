// The manual pages agree with the programs: every command, usage line, option and script
// command that `velmora-icon --help` and `velmora-icon COMMAND --help` show is in
// velmora-icon(1), and both pages are well-formed.

#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <cstring>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace velmora::test
{
namespace
{

const std::filesystem::path ManDir = std::filesystem::path(VELMORA_DATA_DIR) / "man";

/// A page's text as it reads: requests such as ".B" and ".TP" dropped, font changes removed,
/// "\-" turned into "-" and all blanks between words made one space.
std::string ReadablePage(const std::filesystem::path& page)
{
    const Bytes bytes = ReadFile(page);
    std::string text = std::regex_replace(
        std::string(bytes.begin(), bytes.end()), std::regex(R"((^|\n)\.\S*)"), "$1");
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP]|\\\(bu)"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

std::string Help(const std::string& arguments)
{
    std::string out;
    EXPECT_EQ(RunCommand(std::string(VELMORA_CLI_PATH) + " " + arguments, &out), 0) << arguments;
    return out;
}

/// The first group of each line that the pattern finds.
std::vector<std::string> Matches(const std::string& text, const char* pattern)
{
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_search(line, match, std::regex(pattern)))
            for (size_t i = 1; i < match.size(); ++i)
                if (match[i].matched && match[i].length() > 0)
                    found.push_back(match[i]);
    }
    return found;
}

TEST(ManPage, NamesEveryCommandUsageOptionAndScriptCommandOfTheHelp)
{
    const std::string page = ReadablePage(ManDir / "velmora-icon.1");
    const std::string mainHelp = Help("--help");
    // Commands are the indented lower-case words after "Commands:"; options begin with "-"
    // ("  -o, --output OUT.ico" gives -o and --output); script commands are capitalised.
    const std::vector<std::string> commands
        = Matches(mainHelp.substr(mainHelp.find("Commands:")), R"(^  ([a-z]+)\b)");
    EXPECT_EQ(commands, (std::vector<std::string> { "info", "extract", "build", "run", "check" }));
    std::vector<std::string> names = Matches(mainHelp, R"(^ +(-[-\w]+)(?:, (--[-\w]+))?)");
    for (const std::string& command : commands) {
        const std::string help = Help(command + " --help");
        const std::string usage = help.substr(0, help.find('\n')); // as the synopsis gives it
        ASSERT_TRUE(usage.starts_with("Usage: velmora-icon ")) << usage;
        names.push_back(usage.substr(7));
        for (const char* pattern :
            { R"(^ +(-[-\w]+)(?:, (--[-\w]+))?)", R"(^  ([A-Z][a-zA-Z]+) )" })
            for (const std::string& name : Matches(help, pattern))
                names.push_back(name);
    }
    EXPECT_GT(names.size(), 12u);
    for (const std::string& name : names)
        EXPECT_NE(page.find(name), std::string::npos) << name;
}

TEST(ManPage, PagesNameTheirProgramsAndFormatWithoutWarnings)
{
    for (const char* page : { "velmora-icon.1", "velmora-icon-manager.1" }) {
        SCOPED_TRACE(page);
        EXPECT_NE(
            ReadablePage(ManDir / page).find(std::string(page, std::strlen(page) - 2) + " - "),
            std::string::npos);
        if (HaveProgram("groff")) {
            // Warnings of the formatter go to standard error, which is what the test reads.
            std::string warnings;
            EXPECT_EQ(
                RunCommand("groff -man -ww -z " + (ManDir / page).string() + " 2>&1", &warnings),
                0);
            EXPECT_EQ(warnings, "");
        }
    }
    EXPECT_NE(
        ReadablePage(ManDir / "velmora-icon-manager.1").find("qebscript.txt"), std::string::npos);
}

// The program's own icon: the .ico that the build makes from the kept pictures with
// velmora-icon holds each of them.
namespace fs = std::filesystem;

const fs::path KeptIcons = fs::path(VELMORA_DATA_DIR) / "icons";

/// The theme's picture of one size, decoded.
TBitmap ThemePicture(int side)
{
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    return DecodePng(
        ReadFile(KeptIcons / "hicolor" / size / "apps" / "com.example.VelmoraIconManager.png"));
}

TEST(ProgramIcon, TheBuiltIconHoldsEveryPictureAtItsDepth)
{
    TIconDirectory icon;
    ASSERT_TRUE(icon.LoadFromFile(VELMORA_PROGRAM_ICON_FILE));
    std::set<std::pair<int, int>> formats; // side, bits
    for (int i = 0; i < icon.Count(); ++i) {
        const TIconDirectoryEntry& entry = icon.GetEntry(i);
        const int side = entry.ImageWidth();
        SCOPED_TRACE(std::to_string(side) + " pixels, " + std::to_string(entry.BitCount) + " bits");
        formats.emplace(side, entry.BitCount);
        EXPECT_EQ(entry.ImageHeight(), side);

        const TIconImage image = DecodeIcon(*icon.GetImage(i).Icon);
        const TBitmap expected = ThemePicture(side);
        ASSERT_EQ(image.Width(), side);
        // 32 bits: the same pixels, soft edges and shadow included. Otherwise the mask leaves
        // out what is less than half covered, and the rest keeps its colour.
        int differences = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                TBgra want = PixelAt(expected, x, y), got = PixelAt(image.Pixels, x, y);
                if (entry.BitCount != 32) { // colours only, where shown
                    const bool shown = want[3] >= 128;
                    differences += image.MaskAt(x, y) == shown;
                    got[3] = want[3] = 0;
                    got = shown ? got : want;
                }
                differences += got != want;
            }
        EXPECT_EQ(differences, 0);
    }
    const std::set<std::pair<int, int>> expected { { 16, 32 }, { 24, 32 }, { 32, 32 }, { 48, 32 },
        { 64, 32 }, { 16, 24 }, { 32, 24 }, { 48, 24 } };
    EXPECT_EQ(formats, expected);
}

} // namespace
} // namespace velmora::test
