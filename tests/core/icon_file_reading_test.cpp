// A load reads the header, the directory and the images, not whatever else the file holds.

#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool AddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool AddressSanitizer = false;
#endif

// The address space the process holds now.
uint64_t AddressSpace()
{
    uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

TEST(IconFileReading, BytesAfterTheImagesCostNoMemory)
{
    if (AddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
    TTempDir dir;
    struct TCase {
        const char* Name;
        std::vector<TTestImage> Images;
    };
    const TCase cases[] = {
        { "two images", { BmpImage(16, 16, 8), BmpImage(32, 32, 32) } },
        // A directory longer than the first read, images far past it.
        { "5000 images", std::vector<TTestImage>(5000, BmpImage(16, 16, 4)) },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const Bytes bytes = MakeIconFile(c.Images);
        WriteFile(dir.Path("small.ico"), bytes);
        WriteFile(dir.Path("tail.ico"), bytes);
        // 1 GiB of zero bytes after the images, which the file system need not store.
        std::filesystem::resize_file(dir.Path("tail.ico"), bytes.size() + (uint64_t { 1 } << 30));
        TIconDirectory expected;
        ASSERT_TRUE(expected.LoadFromFile(dir.Path("small.ico")));

        const uint64_t limit = AddressSpace() + (uint64_t { 256 } << 20);
        const pid_t child = fork();
        if (child == 0) {
            const rlimit space { limit, limit };
            bool same = setrlimit(RLIMIT_AS, &space) == 0;
            try {
                TIconDirectory document;
                same = same && document.LoadFromFile(dir.Path("tail.ico"))
                    && document.Count() == expected.Count();
                for (int i = 0; same && i < document.Count(); ++i)
                    same = document.GetImage(i).Icon->Data() == expected.GetImage(i).Icon->Data();
            } catch (...) {
                same = false;
            }
            _exit(same ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

TEST(IconFileReading, HeadersDescribeTheImagesAsTheLoadDoes)
{
    TTempDir dir;
    std::vector<TTestImage> images
        = { BmpImage(16, 16, 8), PngImage(64, 64), BmpImage(32, 32, 32) };
    images[2].ImageOffset = 100000; // past the first read
    images[2].BytesInRes = 0x7FFFFFFF; // truncated: filled up to what its header needs
    WriteFile(dir.Path("a.ico"), MakeIconFile(images));
    TIconDirectory full, headers;
    ASSERT_TRUE(full.LoadFromFile(dir.Path("a.ico")));
    ASSERT_TRUE(headers.LoadHeadersFromFile(dir.Path("a.ico")));
    ASSERT_EQ(headers.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        uint8_t a[16], b[16];
        full.GetEntry(i).WriteToRecord(a);
        headers.GetEntry(i).WriteToRecord(b);
        EXPECT_TRUE(std::equal(a, a + 16, b));
        const TIconDirectoryImage &x = full.GetImage(i), &y = headers.GetImage(i);
        EXPECT_EQ(std::tuple(x.IsPng(), x.Truncated, x.StoredBytesInRes, x.Header.biWidth,
                      x.Header.biHeight, x.Header.biBitCount),
            std::tuple(y.IsPng(), y.Truncated, y.StoredBytesInRes, y.Header.biWidth,
                y.Header.biHeight, y.Header.biBitCount));
    }
    // Without its images' data such a document is never written.
    EXPECT_THROW(headers.SaveToFile(dir.Path("out.ico")), Exception);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.ico")));
}

} // namespace
} // namespace velmora
