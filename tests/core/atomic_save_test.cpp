// Saves and exports replace a file only where the user may write it, keep its owner and
// group, and give every hard-linked name of it the new content.

#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "support/file_io.h"

#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

constexpr uid_t Nobody = 65534;
constexpr int Unreachable = 77;

// Runs body in a child process, as the user nobody when the test runs as root; the child's
// exit status: 0 when body answered true, Unreachable when nobody cannot reach the folder.
int RunUnprivileged(const std::filesystem::path& folder, const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0
            && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(Unreachable);
        if (access(folder.c_str(), W_OK | X_OK) != 0)
            _exit(Unreachable);
        bool passed = false;
        try {
            passed = body();
        } catch (...) {
        }
        _exit(passed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AtomicSave, RefusedTargetsStayAsTheyWere)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    const bool root = geteuid() == 0;
    ASSERT_EQ(chmod(dir.Root().c_str(), 0777), 0);
    const Bytes old = { 1, 2, 3 };
    struct TCase {
        const char* Name;
        mode_t Mode;
        bool OwnedByRoot; // else by the unprivileged user
        std::string Error;
    };
    const TCase cases[] = {
        { "read-only.ico", 0444, false, "Permission denied" },
        { "read-only.bmp", 0444, false, "Permission denied" },
        // Everyone may write it, but a replacement by nobody could not belong to root.
        { "root's.ico", 0666, true, "Cannot keep the owner and group of file" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.OwnedByRoot && !root)
            continue;
        const std::filesystem::path target = dir.Path(c.Name);
        WriteFile(target, old);
        ASSERT_EQ(chmod(target.c_str(), c.Mode), 0);
        if (root && !c.OwnedByRoot) {
            ASSERT_EQ(chown(target.c_str(), Nobody, Nobody), 0);
        }
        const int status = RunUnprivileged(dir.Root(), [&] {
            const std::string error = ErrorOf([&] {
                if (target.extension() == ".bmp")
                    WriteFileAtomically(target, Bytes(10, 7));
                else
                    document.SaveToFile(target);
            });
            return error.find(c.Error) != std::string::npos;
        });
        if (status == Unreachable)
            GTEST_SKIP() << "the folder cannot be reached without privileges";
        EXPECT_EQ(status, 0);
        EXPECT_EQ(ReadFile(target), old);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), root ? 4 : 3)
        << "a temporary file was left behind";

    // Where the system allows it, the replacement keeps the owner and group of the file.
    if (root) {
        const std::filesystem::path theirs = dir.Path("theirs.ico");
        WriteFile(theirs, old);
        ASSERT_EQ(chown(theirs.c_str(), Nobody, Nobody), 0);
        ASSERT_TRUE(document.SaveToFile(theirs));
        struct stat st {
        };
        ASSERT_EQ(stat(theirs.c_str(), &st), 0);
        EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(Nobody, gid_t { Nobody }));
        EXPECT_EQ(ReadFile(theirs), ReadFile(dir.Path("src.ico")));
    }
}

TEST(AtomicSave, EveryHardLinkSeesTheNewContent)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    const Bytes saved = ReadFile(dir.Path("src.ico"));
    for (const Bytes& old : { Bytes(100000, 9), Bytes(3, 9) }) { // longer and shorter
        SCOPED_TRACE(old.size());
        std::filesystem::remove(dir.Path("a.ico"));
        std::filesystem::remove(dir.Path("b.ico"));
        WriteFile(dir.Path("a.ico"), old);
        std::filesystem::create_hard_link(dir.Path("a.ico"), dir.Path("b.ico"));
        ASSERT_TRUE(document.SaveToFile(dir.Path("a.ico")));
        EXPECT_EQ(ReadFile(dir.Path("b.ico")), saved);
        EXPECT_EQ(std::filesystem::hard_link_count(dir.Path("a.ico")), 2u);
        WriteFileAtomically(dir.Path("b.ico"), Bytes(5, 1));
        EXPECT_EQ(ReadFile(dir.Path("a.ico")), Bytes(5, 1));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 3)
        << "a temporary file was left behind";
}

} // namespace
} // namespace velmora
