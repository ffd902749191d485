#include "fakes/fake_shell_opener.h"
#include "support/shell_execute.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>

namespace velmora
{
namespace
{

using test::TFakeShellOpener;

TEST(ShellExecuteWithMessages, ShowsTheMessageOfEachRefusal)
{
    // One text of each kind: a plain one, one that names the file and the code for memory.
    const std::map<int, std::string> messages = {
        { 0, "Out of memory or resources." },
        { 3, "Path not found: [C:\\x %s]" },
        { 8, "Out of memory or resources." },
        { 31, "No application associated." },
    };
    // A "%s" in the file name is not filled again.
    const std::string fileName = "C:\\x %s";
    for (int value : { INT_MIN, -31, 0, 3, 8, 31, 33, INT_MAX }) {
        SCOPED_TRACE(value);
        TFakeShellOpener shell(value);
        std::vector<std::string> shown;
        int result = ShellExecuteWithMessages(
            shell, [&shown](const std::string& text) { shown.push_back(text); }, fileName, 0,
            "open", "", "", IShellOpener::ShowNormal);
        EXPECT_EQ(result, value);
        const TFakeShellOpener::TCall expected { 0, "open", fileName, "", "", 1 };
        ASSERT_EQ(shell.Calls().size(), 1u);
        EXPECT_EQ(shell.Calls()[0], expected);
        auto message = messages.find(value);
        if (message == messages.end())
            EXPECT_TRUE(shown.empty()) << shown.front();
        else
            EXPECT_EQ(shown, std::vector<std::string> { message->second });
    }
}

TEST(ShellExecuteWithMessages, PassesEveryArgumentToTheShell)
{
    TFakeShellOpener shell;
    int result = ShellExecuteWithMessages(
        shell, nullptr, "doc.txt", 77, "edit", "-n", "/tmp", 3); // no message shown: none given
    EXPECT_EQ(result, IShellOpener::Started);
    const TFakeShellOpener::TCall expected { 77, "edit", "doc.txt", "-n", "/tmp", 3 };
    ASSERT_EQ(shell.Calls().size(), 1u);
    EXPECT_EQ(shell.Calls()[0], expected);
    shell.SetAnswer(IShellOpener::NoAssociation);
    EXPECT_EQ(ShellExecuteWithMessages(shell, nullptr, "doc.txt", 0, "open", "", "", 1), 31);
}

TEST(EscapeSpaces, WritesSpacesAsPercent20)
{
    const struct {
        const char* text;
        const char* escaped;
    } rows[] = {
        { "", "" },
        { " two  spaces ", "%20two%20%20spaces%20" },
        { "tab\tand%20", "tab\tand%20" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(EscapeSpaces(row.text), row.escaped) << row.text;
}

} // namespace
} // namespace velmora
