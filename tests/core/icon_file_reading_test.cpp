// A load reads the header, the directory and the images, not whatever else the file holds.

#include "icon_test_files.h"
#include "icons/icon_directory.h"

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

TEST(IconFileReading, BytesAfterTheImagesCostNoMemory)
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
        const pid_t child = fork();
        if (child == 0) {
            const rlimit space { uint64_t { 768 } << 20, uint64_t { 768 } << 20 };
            TIconDirectory document, headers;
            bool same = setrlimit(RLIMIT_AS, &space) == 0
                && document.LoadFromFile(dir.Path("a.ico"))
                && headers.LoadHeadersFromFile(dir.Path("a.ico"))
                && headers.Count() == expected.Count();
            for (int i = 0; same && i < document.Count(); ++i)
                same = document.GetImage(i).Icon->Data() == expected.GetImage(i).Icon->Data();
            _exit(same ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(status, 0) << images.size();
    }
}

} // namespace
} // namespace velmora
