#include "fakes/fake_clipboard.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
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

using enum TPixelFormat;

constexpr TColor Magenta = RGB(255, 0, 255);

// A w x h bitmap: a colour ramp with a magenta border column on the left but for the top-left
// pixel (so the bottom-left pixel, the transparent colour, is magenta).
TBitmap Ramp(int w, int h, TPixelFormat format)
{
    return MakeTrueColorBitmap(w, h, format, [](int x, int y) {
        return x == 0 && y > 0 ? Magenta
                               : RGB(static_cast<uint8_t>(8 * x), static_cast<uint8_t>(8 * y), 40);
    });
}

// The data of an imported image: header, colour rows and mask rows.
Bytes DataOf(const TIconDirectory& document, int index)
{
    const Bytes& held = document.GetImage(index).Icon->Data();
    return Bytes(held.begin() + 22, held.end());
}

TEST(IconDirectoryImport, BuildsColourAndMaskRowsFromTheTransparentColour)
{
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(Ramp(32, 32, pf24bit)), 0);
    ASSERT_EQ(document.Count(), 1);
    const TIconDirectoryEntry& e = document.GetEntry(0);

    const Bytes data = DataOf(document, 0);
    ASSERT_EQ(data.size(), e.BytesInRes);
    const TBitmapInfoHeader header = TBitmapInfoHeader::FromBytes(data.data());
    EXPECT_EQ(header, document.GetImage(0).Header);
    // Bottom-up rows: the magenta pixels are black in the colours and 1 in the mask.
    for (int y = 0; y < 32; ++y) {
        const uint8_t* colour = data.data() + 40 + (31 - y) * 96; // the first two pixels
        EXPECT_EQ(
            Bytes(colour, colour + 6), (Bytes { uint8_t(y ? 0 : 40), 0, 0, 40, uint8_t(8 * y), 8 }))
            << y;
        EXPECT_EQ(ReadU32(data.data() + 40 + 3072 + (31 - y) * 4), y ? 0x80u : 0u) << y;
    }
    // The result decodes as the same picture.
    TIconImage decoded = DecodeIcon(*document.GetImage(0).Icon);
    EXPECT_TRUE(decoded.MaskAt(0, 5));
    EXPECT_EQ(GetPixelColor(decoded.Pixels, 5, 7), RGB(40, 56, 40));
}

TEST(IconDirectoryImport, ChecksInOrderWithTheirCodes)
{
    struct Row {
        const char* name;
        int width, height;
        TPixelFormat format;
        int code;
        uint32_t bytesInRes = 0;
    };
    const Row rows[] = {
        { "72 x 72 at 32 bits", 72, 72, pf32bit, 0, 21640 },
        { "16 bits with colour masks", 10, 10, pf16bit, 0, 52 + 200 + 40 },
        { "15 bits become 16", 12, 12, pf15bit, 0, 52 + 288 + 48 },
        { "100 x 2: the upper limit first", 100, 2, pf24bit, ResultBitmapTooLarge },
        { "10 x 3", 10, 3, pf24bit, ResultBitmapTooSmall },
        { "8 bits", 16, 16, pf8bit, ResultBitmapPalette },
        { "width 0", 0, 16, pf24bit, ResultBitmapHeaderEmpty },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        TBitmap bitmap(row.width, row.height, row.format);
        EXPECT_EQ(document.ImportBitmap(bitmap), row.code);
        EXPECT_EQ(document.Count(), row.code == 0 ? 1 : 0);
        if (row.code == 0) {
            EXPECT_EQ(document.GetEntry(0).BytesInRes, row.bytesInRes);
            EXPECT_EQ(DataOf(document, 0).size(), row.bytesInRes);
            EXPECT_NO_THROW(DecodeIcon(*document.GetImage(0).Icon));
        }
    }
    // A 16-bit image carries the three masks of its 5-6-5 layout after the header.
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(Ramp(8, 8, pf16bit)), 0);
    const Bytes data = DataOf(document, 0);
    EXPECT_EQ(ReadU32(data.data() + 16), BI_BITFIELDS);
    EXPECT_EQ(Bytes(data.begin() + 40, data.begin() + 52),
        (Bytes { 0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0 }));

    // The same format again names the image that has it.
    EXPECT_EQ(document.ImportBitmap(Ramp(16, 16, pf24bit)), 0);
    EXPECT_EQ(document.ImportBitmap(Ramp(16, 16, pf24bit)), 2);
    EXPECT_EQ(document.Count(), 2);
}

TEST(IconDirectoryImport, ClipboardImagesAreAlways24Bit)
{
    TFakeClipboard clipboard;
    TIconDirectory document;
    document.SetClipboard(&clipboard);
    EXPECT_EQ(ErrorOf([&] { document.ImportBitmapFromClipboard(); }),
        "IconDirEntry.ImportBitmap failed.\r\nThe clipboard holds no bitmap.");
    clipboard.SetBitmap(Ramp(16, 16, pf32bit));
    ASSERT_EQ(document.ImportBitmapFromClipboard(), 0);
    EXPECT_EQ(document.GetEntry(0).BitCount, 24);
    // A second paste of a 32-bit picture finds the 24-bit image it would make.
    EXPECT_EQ(document.ImportBitmapFromClipboard(), 1);
    EXPECT_EQ(document.Count(), 1);
}

TEST(IconDirectoryImport, MaskFilesGiveAlpha)
{
    TTempDir dir;
    TBitmap colour = Ramp(16, 16, pf24bit);
    // A shadow pixel in the bottom-left colour keeps its colour and the mask's alpha.
    SetPixelColor(colour, 5, 5, GetPixelColor(colour, 0, 15));
    TBitmap mask(16, 16, pf8bit);
    for (int i = 0; i < 256; ++i) {
        mask.Palette()[static_cast<size_t>(i)] = TRGBQuad { 0, 0, static_cast<uint8_t>(i), 0 };
        SetPixelIndex(mask, i % 16, i / 16, static_cast<uint32_t>(i));
    }
    SaveBitmapToFile(colour, dir.Path("logo.bmp"));
    SaveBitmapToFile(mask, dir.Path("logomask.bmp"));

    TBitmap joined;
    ASSERT_EQ(LoadBitmapWithMask(dir.Path("logo.bmp"), dir.Path("logomask.bmp"), joined), 0);
    ASSERT_EQ(joined.PixelFormat(), pf32bit);
    EXPECT_EQ(GetPixelAlpha(joined, 3, 2), 35);
    EXPECT_EQ(GetPixelColor(joined, 3, 2), GetPixelColor(colour, 3, 2));
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(joined), 0);
    TIconImage decoded = DecodeIcon(*document.GetImage(0).Icon);
    EXPECT_TRUE(decoded.HasAlpha);
    EXPECT_EQ(GetPixelAlpha(decoded.Pixels, 3, 2), 35);
    EXPECT_EQ(GetPixelAlpha(decoded.Pixels, 5, 5), 85);
    EXPECT_EQ(GetPixelColor(decoded.Pixels, 5, 5), GetPixelColor(colour, 0, 15));

    // A mask of another size is refused, and the bitmap is left alone.
    SaveBitmapToFile(Ramp(16, 8, pf24bit), dir.Path("small.bmp"));
    TBitmap untouched(4, 4, pf24bit);
    EXPECT_EQ(LoadBitmapWithMask(dir.Path("small.bmp"), dir.Path("logomask.bmp"), untouched),
        ResultMaskSizeDiffers);
    EXPECT_EQ(untouched.Width(), 4);
}

} // namespace
} // namespace velmora
