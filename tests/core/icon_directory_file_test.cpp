#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "support/error.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

std::string LoadError(TIconDirectory& document, const std::string& name)
{
    try {
        document.LoadFromFile(name);
    } catch (const Exception& e) {
        return e.what();
    }
    return "";
}

// A document holding two images, loaded from a file, to see what refused loads keep.
void LoadTwoImages(TIconDirectory& document, const TTempDir& dir)
{
    WriteFile(dir.Path("two.ico"), MakeIconFile({ BmpImage(16, 16, 8), BmpImage(32, 32, 32) }));
    ASSERT_TRUE(document.LoadFromFile(dir.Path("two.ico")));
}

TEST(IconDirectoryLoad, RefusesFilesThatAreNoIcons)
{
    struct Row {
        const char* name;
        Bytes bytes;
        int status;
    };
    Bytes valid = MakeIconFile({ BmpImage(16, 16, 4) });
    Bytes badReserved = valid;
    badReserved[0] = 1;
    Bytes cursor = valid;
    cursor[2] = 2;
    Bytes noImages = valid;
    noImages[4] = 0;
    const Row rows[] = {
        { "empty", {}, ResultFileTooShort },
        { "twelve bytes with a valid header", Bytes(valid.begin(), valid.begin() + 12),
            ResultFileTooShort },
        { "reserved word not 0", badReserved, ResultNoIconHeader },
        { "type 2 (cursor)", cursor, ResultNoIconHeader },
        { "no images", noImages, ResultNoIconHeader },
    };
    TTempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        LoadTwoImages(document, dir);
        WriteFile(dir.Path("bad.ico"), row.bytes);
        EXPECT_FALSE(document.LoadFromFile(dir.Path("bad.ico")));
        EXPECT_EQ(document.Status(), row.status);
        EXPECT_EQ(document.FileName(), "");
        EXPECT_EQ(document.Count(), 2); // the previous images stay
    }
    TIconDirectory document;
    EXPECT_FALSE(document.LoadFromFile(dir.Path("missing.ico")));
    EXPECT_EQ(document.Status(), ResultFileMissing);
    EXPECT_FALSE(document.LoadFromFile(dir.Root())); // a folder is no file
    EXPECT_EQ(document.Status(), ResultFileMissing);
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
    Bytes file = MakeIconFile(images);
    WriteFile(dir.Path("all.ico"), file);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("all.ico")));
    ASSERT_EQ(document.Count(), images.size());
    EXPECT_TRUE(document.GetImage(6).IsPng());
    EXPECT_THROW(document.GetEntry(8), EListError);
    EXPECT_THROW(document.GetImage(-1), EListError);
    EXPECT_EQ(document.GetEntry(6).Width, 0);
    EXPECT_EQ(document.GetEntry(6).ImageWidth(), 256);
    EXPECT_EQ(document.GetEntry(7).BytesInRes, 40u + 256 * 256 * 4 + 32 * 256);

    ASSERT_TRUE(document.SaveToFile(dir.Path("copy.ico")));
    EXPECT_EQ(ReadFile(dir.Path("copy.ico")), file);
    // Saving over the file the document came from works as well.
    ASSERT_TRUE(document.SaveToFile(dir.Path("all.ico")));
    EXPECT_EQ(ReadFile(dir.Path("all.ico")), file);
    EXPECT_EQ(document.FileName(), dir.Path("all.ico").string());
}

TEST(IconDirectoryLoad, RefusedDirectoryOrImagesKeepThePreviousDocument)
{
    struct Row {
        const char* name;
        Bytes bytes;
        int status;
        const char* inner;
    };
    Bytes good = MakeIconFile({ BmpImage(16, 16, 4) });
    Bytes shortDirectory = good;
    WriteU16(shortDirectory.data() + 4, 40); // 40 entries do not fit
    Bytes pastEnd = good;
    WriteU32(pastEnd.data() + 6 + 12, static_cast<uint32_t>(good.size()));
    Bytes headerCut(good.begin(), good.begin() + 22 + 30);
    Bytes hugeHeader = good;
    WriteU32(hugeHeader.data() + 22 + 4, 40000); // 40000 pixels wide, data runs past the end
    WriteU32(hugeHeader.data() + 6 + 8, 0xFFFFFFFF);
    const Row rows[] = {
        { "directory past the end", shortDirectory, ResultReadEntriesFailed,
            "IconDirEntry.LoadFromFile failed.\r\nReadIconEntries failed.\r\nThe directory of 40 "
            "images "
            "needs 646 bytes, but the file has only 318 bytes." },
        { "image starts past the end", pastEnd, ResultReadImagesFailed,
            "IconDirEntry.LoadFromFile failed.\r\nReadIconImages failed.\r\nImage 0 at offset 318 "
            "(296 "
            "bytes) starts past the end of the file (318 bytes)." },
        { "header not whole", headerCut, ResultReadImagesFailed,
            "IconDirEntry.LoadFromFile failed.\r\nReadIconImages failed.\r\nImage 0 at offset 22 "
            "(296 "
            "bytes): its header is not whole inside the file (52 bytes)." },
        { "truncated image of a hostile size", hugeHeader, ResultReadImagesFailed,
            "IconDirEntry.LoadFromFile failed.\r\nReadIconImages failed.\r\nImage 0 at offset 22 "
            "(4294967295 bytes) is truncated and its header asks for 40000 x 16 pixels, more than "
            "this "
            "program accepts (318 bytes in the file)." },
    };
    TTempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        LoadTwoImages(document, dir);
        Bytes before = document.GetImage(1).Icon->Data();
        WriteFile(dir.Path("bad.ico"), row.bytes);
        EXPECT_EQ(LoadError(document, dir.Path("bad.ico")), row.inner);
        EXPECT_EQ(document.Status(), row.status);
        EXPECT_EQ(document.Count(), 2);
        EXPECT_EQ(document.FileName(), dir.Path("two.ico").string());
        EXPECT_EQ(document.GetImage(1).Icon->Data(), before);
    }
}

TEST(IconDirectoryLoad, TruncatedImagesAreKeptAsFarAsTheFileGoes)
{
    TTempDir dir;
    Bytes bmp = MakeBmpImage(32, 32, 32); // 40 + 4096 + 128 bytes
    Bytes png = MakePngImage(64, 64);
    Bytes file = MakeIconFile({ BmpImage(16, 16, 8), PngImage(64, 64) });
    const uint32_t pngOffset = ReadU32(file.data() + 6 + 16 + 12);

    // A PNG entry claiming 4 GiB keeps the bytes the file holds.
    Bytes hostile = file;
    WriteU32(hostile.data() + 6 + 16 + 8, 0xFFFFFFFF);
    WriteFile(dir.Path("png.ico"), hostile);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("png.ico")));
    EXPECT_TRUE(document.GetImage(1).Truncated);
    EXPECT_EQ(document.GetImage(1).StoredBytesInRes, 0xFFFFFFFFu);
    EXPECT_EQ(document.GetEntry(1).BytesInRes, png.size());
    EXPECT_FALSE(document.GetImage(0).Truncated);

    // A bitmap-style image cut short reads as zero bytes up to what its header needs, and
    // the kept size makes a sound entry when saved.
    Bytes cut = MakeIconFile({ BmpImage(16, 16, 8), TTestImage { bmp, 32, 32, 32 } });
    const uint32_t bmpOffset = ReadU32(cut.data() + 6 + 16 + 12);
    WriteU32(cut.data() + 6 + 16 + 8, 0x7FFFFFFF);
    cut.resize(bmpOffset + 1000);
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
    (void)pngOffset;
}

TEST(IconDirectoryLoad, HostileEntriesCannotMultiplyMemory)
{
    // Twenty truncated entries share one header that asks for 256 MiB of pixels: each alone
    // would be filled up, together they are refused.
    TTempDir dir;
    Bytes header = MakeBmpImage(4, 4, 32);
    WriteU32(header.data() + 4, 16384);
    WriteU32(header.data() + 8, 2 * 3900);
    std::vector<TTestImage> images(20, TTestImage { header, 0, 0, 32 });
    Bytes file = MakeIconFile(images);
    const uint32_t shared = 6 + 16 * 20;
    for (int i = 0; i < 20; ++i) {
        WriteU32(file.data() + 6 + 16 * i + 8, 0xFFFFFFFF);
        WriteU32(file.data() + 6 + 16 * i + 12, shared);
    }
    file.resize(shared + header.size());
    WriteFile(dir.Path("hostile.ico"), file);
    TIconDirectory document;
    const std::string error = LoadError(document, dir.Path("hostile.ico"));
    EXPECT_NE(error.find("ReadIconImages failed.\r\nImage 1 at offset 326"), std::string::npos)
        << error;
    EXPECT_EQ(document.Status(), ResultReadImagesFailed);
    EXPECT_EQ(document.Count(), 0);
}

TEST(IconDirectorySave, LaysOutBuiltDocumentsAndRefusesEmptyOnes)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"),
        MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 8), PngImage(48, 48) }));
    TIconDirectory source;
    ASSERT_TRUE(source.LoadFromFile(dir.Path("src.ico")));
    TIconDirectory built;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(built.AddImage(&source.GetImage(i), &source.GetEntry(i)), 0);
    ASSERT_TRUE(built.SaveToFile(dir.Path("built.ico")));
    Bytes file = ReadFile(dir.Path("built.ico"));
    ASSERT_GE(file.size(), 6u + 22 * 3);
    EXPECT_EQ(ReadU32(file.data() + 6 + 12), 6u + 22 * 3);
    for (size_t i = 6 + 16 * 3; i < 6 + 22 * 3; ++i)
        EXPECT_EQ(file[i], 0) << i;
    EXPECT_EQ(ReadU32(file.data() + 6 + 16 + 12), 6u + 22 * 3 + source.GetEntry(0).BytesInRes);

    TIconDirectory empty;
    WriteFile(dir.Path("keep.ico"), { 1, 2, 3 });
    EXPECT_FALSE(empty.SaveToFile(dir.Path("keep.ico")));
    EXPECT_EQ(empty.Status(), ResultNothingToSave);
    EXPECT_EQ(ReadFile(dir.Path("keep.ico")), Bytes({ 1, 2, 3 }));
}

TEST(IconDirectorySave, FailuresLeaveTheTargetAsItWas)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 8) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    const Bytes old = { 9, 9, 9 };
    WriteFile(dir.Path("target.ico"), old);

    // No temporary file can be made in a folder that does not exist: the header step fails,
    // unwrapped, and the document keeps its Status and name.
    try {
        document.SaveToFile(dir.Path("no/such/folder.ico"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("WriteIconFileHeader failed.\r\nCannot create file", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(document.Status(), 0);
    EXPECT_EQ(document.FileName(), dir.Path("src.ico").string());

    // An image whose icon holds too few bytes fails the image step.
    TIcon shortIcon;
    shortIcon.LoadFromStream(Bytes(30, 0));
    *document.GetImage(1).Icon = shortIcon;
    try {
        document.SaveToFile(dir.Path("target.ico"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()),
            "IconDirEntry.SaveToFile failed.\r\nWriteIconImages failed.\r\nImage 1 holds 8 bytes "
            "of data, "
                + std::to_string(document.GetEntry(1).BytesInRes) + " expected.");
    }
    EXPECT_EQ(document.Status(), ResultWriteImagesFailed);
    EXPECT_EQ(ReadFile(dir.Path("target.ico")), old);

    // An image that cannot be drawn is not written either.
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    document.GetImage(0).Header.biBitCount = 7;
    Bytes held = document.GetImage(0).Icon->Data();
    WriteU16(held.data() + 22 + 14, 7);
    document.GetImage(0).Icon->LoadFromStream(held);
    try {
        document.SaveToFile(dir.Path("target.ico"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("IconDirEntry.SaveToFile failed.\r\nWriteIconImages "
                                              "failed.\r\nImage 0 cannot be drawn: ",
                      0),
            0u)
            << e.what();
    }
    EXPECT_EQ(ReadFile(dir.Path("target.ico")), old);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2u) << "a temporary file was left behind";
}

TEST(IconDirectorySave, SharedOrMisplacedDataIsLaidOutAnew)
{
    // Two entries share their data and a third lies inside the directory: the saved file
    // gives every image its own place after the directory.
    TTempDir dir;
    Bytes file = MakeIconFile({ BmpImage(16, 16, 4), BmpImage(16, 16, 4), BmpImage(16, 16, 4) });
    const uint32_t first = ReadU32(file.data() + 6 + 12);
    WriteU32(file.data() + 6 + 16 + 12, first);
    WriteFile(dir.Path("shared.ico"), file);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("shared.ico")));
    ASSERT_TRUE(document.SaveToFile(dir.Path("out.ico")));
    TIconDirectory saved;
    ASSERT_TRUE(saved.LoadFromFile(dir.Path("out.ico")));
    EXPECT_EQ(saved.GetEntry(0).ImageOffset, 6u + 22 * 3);
    EXPECT_EQ(saved.GetEntry(1).ImageOffset, 6u + 22 * 3 + saved.GetEntry(0).BytesInRes);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(saved.GetImage(i).Icon->Data(), document.GetImage(i).Icon->Data()) << i;

    // A name as long as the folder allows still gets its temporary file beside it.
    const std::string longName = std::string(251, 'n') + ".ico";
    EXPECT_TRUE(document.SaveToFile(dir.Path(longName)));
    EXPECT_EQ(ReadFile(dir.Path(longName)), ReadFile(dir.Path("out.ico")));
}

TEST(IconDirectorySave, KeepsPermissionsAndLinks)
{
    TTempDir dir;
    WriteFile(dir.Path("src.ico"), MakeIconFile({ BmpImage(16, 16, 4) }));
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("src.ico")));
    WriteFile(dir.Path("real.ico"), { 1 });
    ASSERT_EQ(chmod(dir.Path("real.ico").c_str(), 0640), 0);
    std::filesystem::create_symlink("real.ico", dir.Path("link.ico"));
    ASSERT_TRUE(document.SaveToFile(dir.Path("link.ico")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.ico")));
    EXPECT_EQ(ReadFile(dir.Path("real.ico")), ReadFile(dir.Path("src.ico")));
    struct stat st {
    };
    ASSERT_EQ(stat(dir.Path("real.ico").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(IconDirectoryClear, EmptiesOnlyADocumentWithImages)
{
    TTempDir dir;
    TIconDirectory document;
    document.SetFileName("kept.ico");
    document.Clear();
    EXPECT_EQ(document.FileName(), "kept.ico");
    LoadTwoImages(document, dir);
    EXPECT_EQ(document.CountColorDepths(), 2);
    EXPECT_EQ(document.CountSizes(), 2);
    document.Clear();
    EXPECT_EQ(document.Count(), 0);
    EXPECT_EQ(document.FileName(), "");
    EXPECT_EQ(document.CountSizes(), 0);
}

} // namespace
} // namespace velmora
