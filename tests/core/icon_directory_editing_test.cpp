#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// Loads a document of the given images from a fresh file.
void Load(TIconDirectory& document, const TTempDir& dir, const std::vector<TTestImage>& images,
    const std::string& name = "doc.ico")
{
    WriteFile(dir.Path(name), MakeIconFile(images));
    ASSERT_TRUE(document.LoadFromFile(dir.Path(name)));
}

std::vector<std::tuple<int, int, int>> Formats(const TIconDirectory& document)
{
    std::vector<std::tuple<int, int, int>> formats;
    for (int i = 0; i < document.Count(); ++i) {
        const auto& entry = document.GetEntry(i);
        formats.emplace_back(entry.BitCount, entry.ImageWidth(), entry.ImageHeight());
    }
    return formats;
}

void ExpectBackToBack(const TIconDirectory& document)
{
    uint32_t offset = 6 + 22 * document.Count();
    for (int i = 0; i < document.Count(); ++i) {
        EXPECT_EQ(document.GetEntry(i).ImageOffset, offset) << "image " << i;
        offset += document.GetEntry(i).BytesInRes;
    }
}

TEST(IconDirectoryEditing, AddAndInsertCopyImagesAndRefuseKnownFormats)
{
    TTempDir dir;
    TIconDirectory source;
    Load(source, dir,
        { BmpImage(16, 16, 4), BmpImage(32, 32, 8), BmpImage(48, 48, 32), PngImage(64, 64) },
        "src.ico");
    TIconDirectory target;
    Load(target, dir, { BmpImage(16, 16, 8), BmpImage(24, 24, 24), BmpImage(32, 32, 32) });

    EXPECT_EQ(target.InsertImage(&source.GetImage(0), &source.GetEntry(0), 0), 0);
    EXPECT_EQ(target.Count(), 4);
    EXPECT_EQ(target.GetEntry(0).ImageOffset, 94u);
    ExpectBackToBack(target);
    EXPECT_EQ(target.GetImage(0).Icon->Data(), source.GetImage(0).Icon->Data());
    EXPECT_EQ(target.GetImage(0).Header, source.GetImage(0).Header);
    EXPECT_EQ(std::get<0>(Formats(target)[1]), 8);

    // The copy shares nothing with its source.
    source.DeleteImage(0);
    EXPECT_FALSE(target.GetImage(0).Icon->Empty());

    const int before = target.Count();
    EXPECT_EQ(target.AddImage(&target.GetImage(1), &target.GetEntry(1)), ResultFormatExists);
    EXPECT_EQ(target.InsertImage(&target.GetImage(1), &target.GetEntry(1), 0), ResultFormatExists);
    EXPECT_EQ(target.Count(), before);

    // An index past the end appends through AddImage.
    EXPECT_EQ(target.InsertImage(&source.GetImage(2), &source.GetEntry(2), 99), 0);
    EXPECT_TRUE(target.GetImage(target.Count() - 1).IsPng());
    EXPECT_EQ(target.Status(), 0);

    TIconDirectoryImage empty;
    struct Row {
        const char* name;
        int code;
        int status;
    };
    const int status = target.Status();
    EXPECT_EQ(target.AddImage(&empty, &source.GetEntry(0)), ResultAddNoSourceIcon);
    EXPECT_EQ(target.AddImage(nullptr, &source.GetEntry(0)), ResultAddNoSourceIcon);
    EXPECT_EQ(target.Status(), status);
    EXPECT_EQ(target.InsertImage(&empty, &source.GetEntry(0), 0), ResultInsertNoSourceIcon);
    EXPECT_EQ(target.AddImage(&source.GetImage(0), nullptr), ResultAddNoSourceEntry);
    EXPECT_EQ(target.Status(), ResultAddNoSourceIcon);
    EXPECT_EQ(target.InsertImage(&source.GetImage(0), nullptr, 0), ResultInsertNoSourceEntry);
    EXPECT_EQ(target.Status(), ResultInsertNoSourceStatus);
    EXPECT_EQ(target.Count(), before + 1);
    EXPECT_THROW(target.InsertImage(&source.GetImage(0), &source.GetEntry(0), -1), EListError);
}

TEST(IconDirectoryEditing, DeleteKeepsOffsetsAndTheFileName)
{
    TTempDir dir;
    TIconDirectory document;
    Load(document, dir, { BmpImage(16, 16, 4), BmpImage(32, 32, 8), BmpImage(48, 48, 32) });
    EXPECT_EQ(document.DeleteImage(3), ResultDeleteBadIndex);
    EXPECT_THROW(document.DeleteImage(-1), EListError);
    EXPECT_EQ(document.DeleteImage(0), 0);
    ExpectBackToBack(document);
    EXPECT_EQ(document.DeleteImage(0), 0);
    EXPECT_EQ(document.DeleteImage(0), 0);
    EXPECT_EQ(document.Count(), 0);
    EXPECT_EQ(document.Status(), 0);
    EXPECT_EQ(document.FileName(), dir.Path("doc.ico").string());
}

TEST(IconDirectoryEditing, RefusesMoreThan65535Images)
{
    // 65535 entries that all point at the same image data.
    TTempDir dir;
    std::vector<TTestImage> images(65535, BmpImage(16, 16, 4));
    const uint32_t dataOffset = 6 + 16 * 65535;
    for (auto& image : images)
        image.ImageOffset = dataOffset;
    TIconDirectory full;
    Load(full, dir, images, "full.ico");
    ASSERT_EQ(full.Count(), 65535);
    TIconDirectory other;
    Load(other, dir, { BmpImage(32, 32, 32) }, "other.ico");
    EXPECT_EQ(full.AddImage(&other.GetImage(0), &other.GetEntry(0)), ResultAddTooManyImages);
    EXPECT_EQ(
        full.InsertImage(&other.GetImage(0), &other.GetEntry(0), 0), ResultInsertTooManyImages);
    EXPECT_EQ(full.Count(), 65535);
}

TEST(IconDirectoryEditing, SortsByDepthThenSize)
{
    TTempDir dir;
    TIconDirectory document;
    // A 256-pixel image: stored as 0 in the entry, 256 in its header; it sorts after 48.
    Load(document, dir,
        { BmpImage(48, 48, 32), TTestImage { MakeBmpImage(256, 256, 32), 0, 0, 32 },
            BmpImage(16, 16, 4), BmpImage(32, 32, 8), BmpImage(16, 16, 8) });
    document.SortImages();
    using F = std::tuple<int, int, int>;
    EXPECT_EQ(Formats(document),
        (std::vector<F> {
            { 4, 16, 16 }, { 8, 16, 16 }, { 8, 32, 32 }, { 32, 48, 48 }, { 32, 256, 256 } }));
    ExpectBackToBack(document);
    EXPECT_EQ(document.FindFormat(32, 0, 0), 4);
    EXPECT_EQ(document.FindFormat(32, 256, 256), -1);
    EXPECT_EQ(document.FindFormat(24, 16, 16), -1);

    // An image whose header disagrees with its entry is not moved.
    TTestImage liar = BmpImage(16, 16, 4);
    liar.Width = 20;
    Load(document, dir, { BmpImage(32, 32, 8), liar });
    document.SortImages();
    EXPECT_EQ(std::get<0>(Formats(document)[0]), 8);
}

TEST(IconDirectoryEditing, FormatListsAreSortedFixedWidthKeys)
{
    TTempDir dir;
    TIconDirectory document;
    TStringList list;
    list.Add("untouched");
    document.GetSizeList(list); // an empty document leaves the list alone
    EXPECT_EQ(list.Count(), 1);

    Load(document, dir,
        { BmpImage(32, 32, 8), BmpImage(16, 16, 4), BmpImage(16, 16, 32), PngImage(256, 256) });
    document.GetSizeList(list);
    EXPECT_EQ(list.Lines(),
        (std::vector<std::string> {
            "00000010|00000010", "00000020|00000020", "00000100|00000100" }));
    document.GetColorDepthList(list);
    EXPECT_EQ(list.Lines(), (std::vector<std::string> { "00000004", "00000008", "00000020" }));
    document.GetFormatList(list);
    EXPECT_EQ(list.Lines(),
        (std::vector<std::string> { "00000004|00000010|00000010|1", "00000008|00000020|00000020|0",
            "00000020|00000010|00000010|2", "00000020|00000100|00000100|3" }));
    EXPECT_EQ(document.CountSizes(), 3);
    EXPECT_EQ(document.CountColorDepths(), 3);
}

TEST(IconDirectoryEditing, HexToInt)
{
    EXPECT_EQ(TIconDirectory::HexToInt("1f"), 31);
    EXPECT_EQ(TIconDirectory::HexToInt("1F"), 31);
    EXPECT_EQ(TIconDirectory::HexToInt(""), 0);
    EXPECT_EQ(TIconDirectory::HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(TIconDirectory::HexToInt("100000001"), 1); // wraps without notice
    try {
        TIconDirectory::HexToInt("1G");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Illegal character in hex string");
    }
}

} // namespace
} // namespace velmora
