// Saves and exports replace a file only where the user may write it and keep its owner, and
// give every hard-linked name of it the new content.

#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "support/file_io.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

constexpr uid_t Nobody = 65534;

TEST(AtomicSave, RefusedTargetsStayAsTheyWere)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    const bool root = geteuid() == 0;
    ASSERT_EQ(chmod(dir.Root().c_str(), 0777), 0);
    // A read-only file of the user; a file that everyone may write, whose replacement by
    // another user could not keep root as its owner.
    for (const auto& [name, mode, error] : { std::tuple("a.ico", 0444, "Permission denied"),
             std::tuple("root.ico", 0666, "Cannot keep the owner and group") }) {
        if (!root && mode == 0666)
            continue;
        const std::filesystem::path target = dir.Path(name);
        WriteFile(target, { 1, 2, 3 });
        ASSERT_EQ(chmod(target.c_str(), static_cast<mode_t>(mode)), 0);
        ASSERT_TRUE(!root || mode != 0444 || chown(target.c_str(), Nobody, Nobody) == 0);
        const pid_t child = fork(); // as nobody where the test runs as root
        if (child == 0) {
            if (root && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
                _exit(2);
            const std::string text = ErrorOf([&] { document.SaveToFile(target); });
            _exit(text.find(error) != std::string::npos ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(status, 0) << name;
        EXPECT_EQ(ReadFile(target), Bytes({ 1, 2, 3 })) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), root ? 3 : 2)
        << "a temporary file was left behind";
    if (root) { // where the system allows it, a replacement keeps the owner and group
        ASSERT_TRUE(document.SaveToFile(dir.Path("a.ico")));
        struct stat st {
        };
        ASSERT_EQ(stat(dir.Path("a.ico").c_str(), &st), 0);
        EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(Nobody, gid_t { Nobody }));
    }
}

TEST(AtomicSave, EveryHardLinkSeesTheNewContent)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    for (const Bytes& old : { Bytes(100000, 9), Bytes(3, 9) }) { // longer and shorter
        std::filesystem::remove(dir.Path("b.ico"));
        WriteFile(dir.Path("a.ico"), old);
        std::filesystem::create_hard_link(dir.Path("a.ico"), dir.Path("b.ico"));
        ASSERT_TRUE(document.SaveToFile(dir.Path("a.ico")));
        EXPECT_EQ(ReadFile(dir.Path("b.ico")), ReadFile(dir.Path("src.ico")));
        WriteFileAtomically(dir.Path("b.ico"), Bytes(5, 1));
        EXPECT_EQ(ReadFile(dir.Path("a.ico")), Bytes(5, 1));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 3);
}

} // namespace
} // namespace velmora
