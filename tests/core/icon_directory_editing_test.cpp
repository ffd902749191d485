#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;
using TFormats = std::vector<std::tuple<int, int, int>>;

// Loads a document of the given images from a fresh file.
void Load(TIconDirectory& document, const TTempDir& dir, const std::vector<TTestImage>& images,
    const std::string& name = "doc.ico")
{
    WriteFile(dir.Path(name), MakeIconFile(images));
    ASSERT_TRUE(document.LoadFromFile(dir.Path(name)));
}

// Bit count, width and height of each image; checks that the images lie back to back after
// the directory's 22-byte entries.
TFormats Formats(const TIconDirectory& document)
{
    TFormats formats;
    uint32_t offset = 6 + 22 * document.Count();
    for (int i = 0; i < document.Count(); ++i) {
        const auto& entry = document.GetEntry(i);
        formats.emplace_back(entry.BitCount, entry.ImageWidth(), entry.ImageHeight());
        EXPECT_EQ(entry.ImageOffset, offset) << "image " << i;
        offset += entry.BytesInRes;
    }
    return formats;
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
    EXPECT_EQ(Formats(target),
        (TFormats { { 4, 16, 16 }, { 8, 16, 16 }, { 24, 24, 24 }, { 32, 32, 32 } }));
    EXPECT_EQ(target.GetImage(0).Icon->Data(), source.GetImage(0).Icon->Data());
    EXPECT_EQ(target.GetImage(0).Header, source.GetImage(0).Header);
    source.DeleteImage(0); // the copy shares nothing with its source
    EXPECT_FALSE(target.GetImage(0).Icon->Empty());

    // An index past the end appends through AddImage.
    EXPECT_EQ(target.InsertImage(&source.GetImage(2), &source.GetEntry(2), 99), 0);
    EXPECT_TRUE(target.GetImage(4).IsPng());

    // Each refusal with its result and the Status it leaves.
    TIconDirectoryImage empty;
    const TIconDirectoryImage* image = &source.GetImage(0);
    const TIconDirectoryEntry* entry = &source.GetEntry(0);
    const std::tuple<std::function<int()>, int, int> refusals[] = {
        { [&] { return target.AddImage(&target.GetImage(1), &target.GetEntry(1)); },
            ResultFormatExists, 0 },
        { [&] { return target.AddImage(&empty, entry); }, ResultAddNoSourceIcon, 0 },
        { [&] { return target.InsertImage(&empty, entry, 0); }, ResultInsertNoSourceIcon, 0 },
        { [&] { return target.AddImage(image, nullptr); }, ResultAddNoSourceEntry,
            ResultAddNoSourceIcon },
        { [&] { return target.InsertImage(image, nullptr, 0); }, ResultInsertNoSourceEntry,
            ResultInsertNoSourceStatus },
    };
    for (const auto& [call, result, status] : refusals) {
        SCOPED_TRACE(result);
        EXPECT_EQ(call(), result);
        EXPECT_EQ(target.Status(), status);
        EXPECT_EQ(target.Count(), 5);
    }
    EXPECT_THROW(target.InsertImage(image, entry, -1), EListError);
}

TEST(IconDirectoryEditing, DeleteAndClearKeepOffsetsAndTheFileName)
{
    TTempDir dir;
    TIconDirectory document;
    document.SetFileName("kept.ico");
    document.Clear(); // an empty document is left alone
    EXPECT_EQ(document.FileName(), "kept.ico");
    Load(document, dir, { BmpImage(16, 16, 4), BmpImage(32, 32, 8), BmpImage(48, 48, 32) });
    EXPECT_EQ(document.DeleteImage(3), ResultDeleteBadIndex);
    EXPECT_THROW(document.DeleteImage(-1), EListError);
    EXPECT_EQ(document.DeleteImage(0), 0);
    EXPECT_EQ(Formats(document), (TFormats { { 8, 32, 32 }, { 32, 48, 48 } }));
    EXPECT_EQ(document.DeleteImage(0), 0);
    EXPECT_EQ(document.DeleteImage(0), 0);
    EXPECT_EQ(document.Count(), 0);
    EXPECT_EQ(document.Status(), 0);
    EXPECT_EQ(document.FileName(), dir.Path("doc.ico").string());

    Load(document, dir, { BmpImage(16, 16, 4), BmpImage(32, 32, 8) });
    document.Clear();
    EXPECT_EQ(document.Count(), 0);
    EXPECT_EQ(document.FileName(), "");
    EXPECT_EQ(document.CountSizes(), 0);
}

TEST(IconDirectoryEditing, RefusesMoreThan65535Images)
{
    // 65535 entries that all point at the same image data.
    TTempDir dir;
    TTestImage shared = BmpImage(16, 16, 4);
    shared.ImageOffset = 6 + 16 * 65535;
    TIconDirectory full;
    Load(full, dir, std::vector<TTestImage>(65535, shared), "full.ico");
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
        { BmpImage(48, 48, 32), BmpImage(256, 256, 32), BmpImage(16, 16, 4), BmpImage(32, 32, 8),
            BmpImage(16, 16, 8) });
    document.SortImages();
    EXPECT_EQ(Formats(document),
        (TFormats {
            { 4, 16, 16 }, { 8, 16, 16 }, { 8, 32, 32 }, { 32, 48, 48 }, { 32, 256, 256 } }));
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

TEST(IconDirectoryEditing, HexToInt)
{
    const std::pair<const char*, int> rows[]
        = { { "1f", 31 }, { "FFFFFFFF", -1 }, { "100000001", 1 } }; // wraps without notice
    for (auto [text, value] : rows)
        EXPECT_EQ(TIconDirectory::HexToInt(text), value) << text;
    EXPECT_EQ(ErrorOf<EConvertError>([] { TIconDirectory::HexToInt("1G"); }),
        "Illegal character in hex string");
}

} // namespace
} // namespace velmora
