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

TEST(ShellExecuteWithMessages, PassesEveryArgumentAndShowsTheMessageOfEachRefusal)
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
        std::string shown; // every message shown, one after the other
        EXPECT_EQ(ShellExecuteWithMessages(
                      shell, [&shown](const std::string& text) { shown += text; }, fileName, 77,
                      "edit", "-n", "/tmp", 3),
            value);
        const std::vector<TFakeShellOpener::TCall> expected { { 77, "edit", fileName, "-n", "/tmp",
            3 } };
        EXPECT_EQ(shell.Calls(), expected);
        EXPECT_EQ(shown, messages.contains(value) ? messages.at(value) : "");
    }
    TFakeShellOpener refusing(IShellOpener::NoAssociation); // no message shown: none given
    EXPECT_EQ(ShellExecuteWithMessages(refusing, nullptr, "doc.txt", 0, "open", "", "", 1), 31);
}

} // namespace
} // namespace velmora
