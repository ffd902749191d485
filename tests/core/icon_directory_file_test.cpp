#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <cstdlib>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#ifndef __has_feature
#define __has_feature(feature) 0
#endif

namespace velmora
{
namespace
{

using namespace velmora::test;

TEST(IconDirectoryLoad, RefusedFilesKeepThePreviousDocument)
{
    struct Row {
        const char* name;
        Bytes bytes;
        int status;
        std::string error {}; // the raised text; none for files that are no icons
    };
    const Bytes good = MakeIconFile({ BmpImage(16, 16, 4) });
    const std::string loadFailed = "IconDirEntry.LoadFromFile failed.\r\n";
    const std::string imagesFailed = loadFailed + "ReadIconImages failed.\r\nImage 0 at offset ";
    const Row rows[] = {
        { "empty", {}, ResultFileTooShort },
        { "reserved word not 0", With(good, 0, 1, 2), ResultNoIconHeader },
        { "no images", With(good, 4, 0, 2), ResultNoIconHeader },
        { "directory past the end", With(good, 4, 40, 2), ResultReadEntriesFailed,
            loadFailed + "ReadIconEntries failed.\r\nThe directory of 40 images" },
        { "image starts past the end", With(good, 6 + 12, 318), ResultReadImagesFailed,
            imagesFailed + "318" },
        { "header not whole", Bytes(good.begin(), good.begin() + 22 + 30), ResultReadImagesFailed,
            imagesFailed + "22 (296 bytes): its header" },
        // 40000 pixels wide, the data running past the end.
        { "truncated image of a hostile size", With(With(good, 22 + 4, 40000), 6 + 8, 0xFFFFFFFF),
            ResultReadImagesFailed,
            imagesFailed
                + "22 (4294967295 bytes) is truncated and its header asks for 40000 x 16 pixels, "
                  "more than this program accepts (318 bytes in the file)." },
    };
    TTempDir dir;
    WriteFile(dir.Path("two.ico"), MakeIconFile({ BmpImage(16, 16, 8), BmpImage(32, 32, 32) }));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        ASSERT_TRUE(document.LoadFromFile(dir.Path("two.ico")));
        const Bytes before = document.GetImage(1).Icon->Data();
        WriteFile(dir.Path("bad.ico"), row.bytes);
        bool loaded = false; // stays false when the load raises
        // One whole text of the family; the others by their start.
        const std::string error
            = ErrorOf([&] { loaded = document.LoadFromFile(dir.Path("bad.ico")); });
        EXPECT_EQ(error.substr(0, row.error.size()), row.error);
        EXPECT_EQ(error.empty(), row.error.empty());
        EXPECT_FALSE(loaded);
        EXPECT_EQ(document.Status(), row.status);
        EXPECT_EQ(document.FileName(), dir.Path("two.ico").string());
        EXPECT_EQ(document.Count(), 2);
        EXPECT_EQ(document.GetImage(1).Icon->Data(), before);
    }
    TIconDirectory document;
    for (const auto& missing : { dir.Path("missing.ico"), dir.Root() }) { // a folder is no file
        EXPECT_FALSE(document.LoadFromFile(missing));
        EXPECT_EQ(document.Status(), ResultFileMissing);
    }
}

TEST(IconDirectoryLoad, RoundTripsEveryKindOfImageByteForByte)
{
    TTempDir dir;
    // Images of every depth, a PNG image stored with size 0 (256), an image far larger than
    // 32 KiB, and a gap before the last image that the save must keep.
    std::vector<TTestImage> images = { BmpImage(16, 16, 1), BmpImage(16, 16, 4),
        BmpImage(32, 32, 8), BmpImage(24, 24, 16), BmpImage(32, 32, 24), BmpImage(48, 48, 32),
        PngImage(256, 256), BmpImage(256, 256, 32) };
    images.back().ImageOffset = 600000;
    const Bytes file = MakeIconFile(images);
    WriteFile(dir.Path("all.ico"), file);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("all.ico")));
    ASSERT_EQ(document.Count(), images.size());
    EXPECT_TRUE(document.GetImage(6).IsPng());
    EXPECT_EQ(document.GetEntry(6).ImageWidth(), 256);
    EXPECT_EQ(document.GetEntry(7).BytesInRes, 40u + 256 * 256 * 4 + 32 * 256);
    // Saved elsewhere and over the file the document came from.
    for (const char* name : { "copy.ico", "all.ico" }) {
        ASSERT_TRUE(document.SaveToFile(dir.Path(name)));
        EXPECT_EQ(ReadFile(dir.Path(name)), file);
    }
    EXPECT_EQ(document.FileName(), dir.Path("all.ico").string());
}

TEST(IconDirectoryLoad, TruncatedImagesAreKeptAsFarAsTheFileGoes)
{
    TTempDir dir;
    // A PNG entry claiming 4 GiB keeps the bytes the file holds.
    WriteFile(dir.Path("png.ico"),
        With(MakeIconFile({ BmpImage(16, 16, 8), PngImage(64, 64) }), 6 + 16 + 8, 0xFFFFFFFF));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("png.ico")));
    EXPECT_TRUE(document.GetImage(1).Truncated);
    EXPECT_EQ(document.GetImage(1).StoredBytesInRes, 0xFFFFFFFFu);
    EXPECT_EQ(document.GetEntry(1).BytesInRes, PngImage(64, 64).Data.size());
    EXPECT_FALSE(document.GetImage(0).Truncated);

    // A bitmap-style image cut short reads as zero bytes up to what its header needs, and
    // the kept size makes a sound entry when saved.
    const Bytes bmp = BmpImage(32, 32, 32).Data; // 40 + 4096 + 128 bytes
    Bytes cut
        = With(MakeIconFile({ BmpImage(16, 16, 8), BmpImage(32, 32, 32) }), 6 + 24, 0x7FFFFFFF);
    cut.resize(ReadU32(cut.data() + 6 + 28) + 1000);
    WriteFile(dir.Path("cut.ico"), cut);
    ASSERT_TRUE(document.LoadFromFile(dir.Path("cut.ico")));
    const TIconDirectoryImage& image = document.GetImage(1);
    EXPECT_TRUE(image.Truncated);
    EXPECT_EQ(document.GetEntry(1).BytesInRes, bmp.size());
    Bytes expected(bmp.begin(), bmp.begin() + 1000);
    expected.resize(bmp.size(), 0);
    EXPECT_EQ(Bytes(image.Icon->Data().begin() + 22, image.Icon->Data().end()), expected);
    ASSERT_TRUE(document.SaveToFile(dir.Path("mended.ico")));
    TIconDirectory reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(dir.Path("mended.ico")));
    EXPECT_FALSE(reloaded.GetImage(1).Truncated);
    EXPECT_EQ(reloaded.GetImage(1).Icon->Data(), image.Icon->Data());
}

TEST(IconDirectoryLoad, HostileEntriesCannotMultiplyMemory)
{
    // Twenty truncated entries share one header that asks for 256 MiB of pixels: each alone
    // would be filled up, together they are refused.
    TTempDir dir;
    TTestImage header { With(With(BmpImage(4, 4, 32).Data, 4, 16384), 8, 2 * 3900), 0, 0, 32, 0, 1,
        0xFFFFFFFF, 6 + 16 * 20 };
    WriteFile(dir.Path("hostile.ico"), MakeIconFile(std::vector<TTestImage>(20, header)));
    TIconDirectory document;
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "ReadIconImages failed.\r\nImage 1 at offset 326",
        ErrorOf([&] { document.LoadFromFile(dir.Path("hostile.ico")); }));
    EXPECT_EQ(document.Status(), ResultReadImagesFailed);
    EXPECT_EQ(document.Count(), 0);
}

TEST(IconDirectorySave, GivesEveryImageItsOwnPlaceAfterTheDirectory)
{
    // Two entries share their data: the saved file gives each image its own place after the
    // directory's 22-byte entries (16 written, 6 zero bytes).
    TTempDir dir;
    Bytes file = MakeIconFile({ BmpImage(16, 16, 4), BmpImage(16, 16, 4), BmpImage(32, 32, 8) });
    WriteFile(dir.Path("shared.ico"), With(file, 6 + 16 + 12, ReadU32(file.data() + 6 + 12)));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("shared.ico")));
    ASSERT_TRUE(document.SaveToFile(dir.Path("out.ico")));
    const Bytes saved = ReadFile(dir.Path("out.ico"));
    uint32_t offset = 6 + 22 * 3;
    Bytes data;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadU32(saved.data() + 6 + 16 * i + 12), offset) << i;
        offset += document.GetEntry(i).BytesInRes;
        data.insert(data.end(), document.GetImage(i).Icon->Data().begin() + 22,
            document.GetImage(i).Icon->Data().end());
    }
    EXPECT_EQ(Bytes(saved.begin() + 6 + 16 * 3, saved.begin() + 6 + 22 * 3), Bytes(18, 0));
    EXPECT_EQ(Bytes(saved.begin() + 6 + 22 * 3, saved.end()), data);

    // A name as long as the folder allows still gets its temporary file beside it.
    const std::string longName = std::string(251, 'n') + ".ico";
    EXPECT_TRUE(document.SaveToFile(dir.Path(longName)));
    EXPECT_EQ(ReadFile(dir.Path(longName)), saved);

    TIconDirectory empty;
    EXPECT_FALSE(empty.SaveToFile(dir.Path("out.ico")));
    EXPECT_EQ(empty.Status(), ResultNothingToSave);
    EXPECT_EQ(ReadFile(dir.Path("out.ico")), saved);
}

TEST(IconDirectorySave, FailuresLeaveTheTargetAsItWas)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 8) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    const Bytes old = { 9, 9, 9 };
    WriteFile(dir.Path("target.ico"), old);
    auto saveError = [&](const std::string& name) {
        return ErrorOf([&] { document.SaveToFile(dir.Path(name)); });
    };
    const std::string imagesFailed
        = "IconDirEntry.SaveToFile failed.\r\nWriteIconImages failed.\r\n";

    // No temporary file can be made in a folder that does not exist: the header step fails,
    // unwrapped, and the document keeps its Status and name.
    EXPECT_EQ(saveError("no/such/folder.ico")
                  .rfind("WriteIconFileHeader failed.\r\nCannot create file", 0),
        0u);
    EXPECT_EQ(document.Status(), 0);
    EXPECT_EQ(document.FileName(), dir.Path("src.ico").string());

    // An image whose icon holds too few bytes fails the image step.
    document.GetImage(1).Icon->LoadFromStream(Bytes(30, 0));
    EXPECT_EQ(saveError("target.ico"),
        imagesFailed + "Image 1 holds 8 bytes of data, "
            + std::to_string(document.GetEntry(1).BytesInRes) + " expected.");
    EXPECT_EQ(document.Status(), ResultWriteImagesFailed);
    EXPECT_EQ(ReadFile(dir.Path("target.ico")), old);

    // An image that cannot be drawn is not written either.
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    document.GetImage(0).Header.biBitCount = 7;
    document.GetImage(0).Icon->LoadFromStream(
        With(document.GetImage(0).Icon->Data(), 22 + 14, 7, 2));
    EXPECT_EQ(saveError("target.ico").rfind(imagesFailed + "Image 0 cannot be drawn: ", 0), 0u);
    EXPECT_EQ(ReadFile(dir.Path("target.ico")), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 2)
        << "a temporary file was left behind";

    // A save through a link replaces the file it points at, keeping its permissions.
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    ASSERT_EQ(chmod(dir.Path("target.ico").c_str(), 0640), 0);
    std::filesystem::create_symlink("target.ico", dir.Path("link.ico"));
    ASSERT_TRUE(document.SaveToFile(dir.Path("link.ico")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.ico")));
    EXPECT_EQ(ReadFile(dir.Path("target.ico")), ReadFile(dir.Path("src.ico")));
    struct stat st {
    };
    ASSERT_EQ(stat(dir.Path("target.ico").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Loads read no more than the images; saves replace a file only where the user may write it
// and keep its owner, and give every hard-linked name of it the new content.
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

// Writes the seed inputs of the fuzz targets when VELMORA_FUZZ_SEED_DIR names a folder:
//   VELMORA_FUZZ_SEED_DIR=fuzz/corpus build/tests/core/velmora_core_tests
//   --gtest_filter='FuzzSeeds*'
TEST(FuzzSeeds, IconFiles)
{
    const char* root = std::getenv("VELMORA_FUZZ_SEED_DIR");
    if (!root)
        GTEST_SKIP() << "VELMORA_FUZZ_SEED_DIR not set";
    std::filesystem::path dir = std::filesystem::path(root) / "fuzz_icon_file";
    std::filesystem::create_directories(dir);
    WriteFile(dir / "bmp-1-4-8.ico",
        MakeIconFile({ BmpImage(8, 8, 1), BmpImage(8, 8, 4), BmpImage(8, 8, 8) }));
    WriteFile(dir / "bmp-16-24-32.ico",
        MakeIconFile({ BmpImage(4, 4, 16), BmpImage(5, 5, 24), BmpImage(6, 6, 32) }));
    WriteFile(dir / "png.ico", MakeIconFile({ PngImage(4, 4) }));
    Bytes truncated = MakeIconFile({ BmpImage(16, 16, 32) });
    truncated.resize(truncated.size() - 100);
    WriteFile(dir / "truncated.ico", truncated);
}

} // namespace
} // namespace velmora
