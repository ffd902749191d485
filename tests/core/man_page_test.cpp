// The manual pages agree with the programs: every command, usage line, option and script
// command that `velmora-icon --help` and `velmora-icon COMMAND --help` show is in
// velmora-icon(1), and both pages are well-formed.

#include "icon_test_files.h"

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
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string text;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(".")) {
            const size_t space = line.find(' ');
            line = space == std::string::npos ? "" : line.substr(space + 1);
        }
        text += line + " ";
    }
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    text = std::regex_replace(text, std::regex(R"(\\\(bu)"), "");
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

std::string Help(const std::string& arguments)
{
    std::string out;
    EXPECT_EQ(RunCommand(std::string(VELMORA_CLI_PATH) + " " + arguments, &out), 0) << arguments;
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// The options of a help text: the names at the start of its indented option lines
/// ("  -o, --output OUT.ico   ..." gives -o and --output).
std::vector<std::string> OptionsOf(const std::string& help)
{
    std::vector<std::string> options;
    const std::regex optionLine(R"(^ +(-[-\w]+)(, (--[-\w]+))?)");
    for (const std::string& line : Lines(help)) {
        std::smatch match;
        if (!std::regex_search(line, match, optionLine))
            continue;
        options.push_back(match[1]);
        if (match[3].matched)
            options.push_back(match[3]);
    }
    return options;
}

TEST(ManPage, NamesEveryCommandUsageAndOptionOfTheHelp)
{
    const std::string page = ReadablePage(ManDir / "velmora-icon.1");
    const std::string mainHelp = Help("--help");

    // The commands: the indented lines under "Commands:" that begin with a lower-case word.
    std::vector<std::string> commands;
    bool inCommands = false;
    for (const std::string& line : Lines(mainHelp)) {
        if (line == "Commands:" || line.empty())
            inCommands = line == "Commands:";
        std::smatch match;
        if (inCommands && std::regex_search(line, match, std::regex(R"(^  ([a-z]+)\b)")))
            commands.push_back(match[1]);
    }
    EXPECT_EQ(commands, (std::vector<std::string> { "info", "extract", "build", "run" }));

    for (const std::string& option : OptionsOf(mainHelp))
        EXPECT_NE(page.find(option), std::string::npos) << option;
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const std::string help = Help(command + " --help");
        // The usage line, as the synopsis and the command's heading give it.
        const std::string usage = Lines(help).at(0);
        ASSERT_TRUE(usage.starts_with("Usage: velmora-icon ")) << usage;
        EXPECT_NE(page.find(usage.substr(7)), std::string::npos) << usage;
        for (const std::string& option : OptionsOf(help))
            EXPECT_NE(page.find(option), std::string::npos) << option;
        // Script commands: the indented capitalised words of the run command's help.
        for (const std::string& line : Lines(help)) {
            std::smatch match;
            if (std::regex_search(line, match, std::regex(R"(^  ([A-Z][a-zA-Z]+) )"))) {
                EXPECT_NE(page.find(std::string(match[1]) + " "), std::string::npos) << match[1];
            }
        }
    }
}

TEST(ManPage, PagesNameTheirProgramsAndFormatWithoutWarnings)
{
    const struct {
        const char* Page;
        std::vector<std::string> Texts;
    } pages[] = {
        { "velmora-icon.1", { "velmora-icon - inspect, extract and build Windows icon files" } },
        // What the window does with its arguments and the script commands it runs.
        { "velmora-icon-manager.1",
            { "velmora-icon-manager - desktop editor for Windows icon files", "qebscript.txt" } },
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.Page);
        const std::string text = ReadablePage(ManDir / page.Page);
        for (const std::string& expected : page.Texts)
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
        if (HaveProgram("groff")) {
            // Warnings of the formatter go to standard error, which is what the test reads.
            std::string warnings;
            EXPECT_EQ(RunCommand("groff -man -ww -z " + (ManDir / page.Page).string() + " 2>&1",
                          &warnings),
                0);
            EXPECT_EQ(warnings, "");
        }
    }
}

} // namespace
} // namespace velmora::test
