// Loads read no more than the images; saves replace a file only where the user may write it
// and keep its owner, and give every hard-linked name of it the new content.

#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#ifndef __has_feature
#define __has_feature(feature) 0
#endif

namespace velmora
{
namespace
{

using namespace velmora::test;

constexpr uid_t Nobody = 65534;

// The exit status of body run in a child process (0 when it answers true).
template <class F> int InChild(F body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(FileIo, BytesAfterTheImagesCostNoMemory)
{
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
    GTEST_SKIP() << "sanitizers reserve more address space than the limit";
#endif
    TTempDir dir;
    // Two images; and a directory longer than the first read, with images far past it.
    for (const auto& images : { std::vector { BmpImage(16, 16, 8), BmpImage(32, 32, 32) },
             std::vector<TTestImage>(5000, BmpImage(16, 16, 4)) }) {
        const Bytes bytes = MakeIconFile(images);
        WriteFile(dir.Path("a.ico"), bytes);
        TIconDirectory expected;
        ASSERT_TRUE(expected.LoadFromFile(dir.Path("a.ico")));
        // 1 GiB of zero bytes after the images, which the file system need not store.
        std::filesystem::resize_file(dir.Path("a.ico"), bytes.size() + (uint64_t { 1 } << 30));
        EXPECT_EQ(InChild([&] {
            const rlimit space { uint64_t { 768 } << 20, uint64_t { 768 } << 20 };
            TIconDirectory document, headers;
            bool same = setrlimit(RLIMIT_AS, &space) == 0
                && document.LoadFromFile(dir.Path("a.ico"))
                && headers.LoadHeadersFromFile(dir.Path("a.ico"))
                && headers.Count() == expected.Count();
            for (int i = 0; same && i < document.Count(); ++i)
                same = document.GetImage(i).Icon->Data() == expected.GetImage(i).Icon->Data();
            return same;
        }),
            0)
            << images.size();
    }
}

TEST(FileIo, SavesRefuseTargetsTheUserMayNotReplace)
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
        EXPECT_EQ(InChild([&] { // as nobody where the test runs as root
            if (root && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
                return false;
            return ErrorOf([&] { document.SaveToFile(target); }).find(error) != std::string::npos;
        }),
            0)
            << name;
        EXPECT_EQ(ReadFile(target), Bytes({ 1, 2, 3 })) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), root ? 3 : 2)
        << "a temporary file was left behind";

    // A file of two names is rewritten in place: both see the new, shorter content.
    WriteFile(dir.Path("b.ico"), Bytes(100000, 9));
    std::filesystem::create_hard_link(dir.Path("b.ico"), dir.Path("c.ico"));
    ASSERT_TRUE(document.SaveToFile(dir.Path("b.ico")));
    EXPECT_EQ(ReadFile(dir.Path("c.ico")), ReadFile(dir.Path("src.ico")));
}

} // namespace
} // namespace velmora
