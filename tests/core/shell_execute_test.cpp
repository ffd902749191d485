#include "fakes/fake_shell_opener.h"
#include "platform/shell_execute.h"

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
    const std::map<int, std::string> messages = {
        { 0, "Out of memory or resources." },
        { 2, "RS_FILE_NOT_FOUND_TPL" },
        { 3, "Path not found: [C:\\x %s]" },
        { 5, "Access denied." },
        { 8, "Out of memory or resources." },
        { 11, "Invalid executable file." },
        { 26, "Sharing violation occurred." },
        { 27, "Incomplete or invalid file name: C:\\x %s" },
        { 28, "DDE time out." },
        { 29, "DDE transaction failed." },
        { 30, "DDE is busy. Transaction not completed." },
        { 31, "No application associated." },
        { 32, "DLL not found." },
    };
    // A "%s" in the file name is not filled again.
    const std::string fileName = "C:\\x %s";
    for (int value : { INT_MIN, -31, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 20, 25,
             26, 27, 28, 29, 30, 31, 32, 33, 34, 42, INT_MAX }) {
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
        { "mailto:a@b.c", "mailto:a@b.c" },
        { "a b", "a%20b" },
        { "two  spaces", "two%20%20spaces" },
        { " edges ", "%20edges%20" },
        { "tab\tand%20", "tab\tand%20" },
        { "mailto:x@y.z?subject=velmora icon manager 0.1.0.0.0.0",
            "mailto:x@y.z?subject=velmora%20icon%20manager%200.1.0.0.0.0" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(EscapeSpaces(row.text), row.escaped) << row.text;
}

} // namespace
} // namespace velmora
