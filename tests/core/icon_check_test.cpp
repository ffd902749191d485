#include "check/icon_check.h"
#include "check/icon_repair.h"
#include "graphics/png_codec.h"
#include "graphics/resample.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "icons/icon_directory_picture.h"

#include <gtest/gtest.h>
#include <png.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

bool Has(const std::vector<TFinding>& findings, std::string_view rule, int entry = -2)
{
    return std::any_of(findings.begin(), findings.end(),
        [&](const TFinding& f) { return f.Rule == rule && (entry == -2 || f.Entry == entry); });
}

// A 32-bit image of 16 x 16 pixels whose alpha and mask come from the functions.
TTestImage Image32(std::function<uint32_t(int, int)> pixel, std::function<bool(int, int)> mask)
{
    TImageRecipe recipe { 16, 16, 32 };
    recipe.Pixel = std::move(pixel);
    recipe.MaskBit = std::move(mask);
    return { BuildImage(recipe), 16, 16, 32 };
}

Bytes WithByte(Bytes bytes, size_t offset, uint8_t value)
{
    bytes[offset] = value;
    return bytes;
}

TEST(IconCheck, EachRuleFiresOnItsFaultyFileAndTheRepairsAnswerIt)
{
    const Bytes one = MakeIconFile({ BmpImage(16, 16, 24) });
    const uint32_t size = static_cast<uint32_t>(one.size() - 22);
    TImageRecipe palette { 16, 16, 4 };
    palette.Palette = { TRGBQuad {}, TRGBQuad {} };
    palette.ClrUsed = 2;
    palette.Pixel = [](int x, int) { return x % 4u; };
    // A grey PNG, as other writers make them: libpng's simplified writer, 8-bit grey.
    Bytes greyPng(256 + 16 * 16);
    {
        png_image png {};
        png.version = PNG_IMAGE_VERSION;
        png.width = png.height = 16;
        png.format = PNG_FORMAT_GRAY;
        std::vector<uint8_t> pixels(16 * 16, 9);
        png_alloc_size_t written = greyPng.size();
        ASSERT_TRUE(png_image_write_to_memory(
            &png, greyPng.data(), &written, 0, pixels.data(), 16, nullptr));
        greyPng.resize(written);
    }
    TTestImage grey { greyPng, 16, 16, 32 };
    Bytes withSlack = one;
    withSlack.resize(one.size() + 8);
    struct TRow {
        Bytes File;
        std::string_view Rule;
        int Entry;
        TFindingLevel Level;
    };
    using L = TFindingLevel;
    const TRow rows[] = {
        { Bytes(10), "file-size", -1, L::Error },
        { With(one, 0, 1, 2), "reserved", -1, L::Error },
        // A cursor is checked as one: its hotspot, not planes and bit count, in the entry.
        { With(With(one, 2, 2, 2), 12, 0, 2), "type", -1, L::Note },
        { With(With(one, 2, 2, 2), 10, 16, 2), "hotspot", 0, L::Warning },
        { With(one, 4, 0, 2), "count", -1, L::Error },
        { With(one, 4, 100, 2), "directory", -1, L::Error },
        { With(one, 14, 0), "empty", 0, L::Error },
        { With(one, 14, size + 100), "outside", 0, L::Error },
        { With(one, 18, 2), "on-directory", 0, L::Error },
        { With(MakeIconFile({ BmpImage(16, 16, 24), BmpImage(32, 32, 24) }), 6 + 16 + 12, 38 + 40),
            "overlap", 1, L::Error },
        { With(With(MakeIconFile({ BmpImage(16, 16, 24), BmpImage(16, 16, 8) }), 6 + 16 + 12, 38),
              6 + 16 + 8, size),
            "shared", 1, L::Warning },
        { MakeIconFile({ BmpImage(16, 16, 24), BmpImage(16, 16, 24) }), "duplicate", 1,
            L::Warning },
        { MakeIconFile({ { BmpImage(16, 16, 24).Data, 16, 16, 24, 0, 1, 0, 40 } }), "gap", 0,
            L::Note },
        { withSlack, "trailing", -1, L::Note },
        { With(one, 22 + 14, 7, 2), "refused", 0, L::Error },
        { WithByte(one, 6, 32), "size", 0, L::Warning },
        { WithByte(MakeIconFile({ PngImage(256, 256) }), 6, 255), "size-256", 0, L::Warning },
        { With(one, 12, 8, 2), "bit-count", 0, L::Warning },
        { With(one, 10, 2, 2), "planes", 0, L::Warning },
        { WithByte(MakeIconFile({ BmpImage(16, 16, 4) }), 8, 3), "color-count", 0, L::Warning },
        { With(withSlack, 14, size + 8), "byte-count", 0, L::Warning },
        { With(one, 14, size - 8), "mask-short", 0, L::Warning },
        { MakeIconFile({ grey }), "png-kind", 0, L::Warning },
        { MakeIconFile({ PngImage(16, 16) }), "png-small", 0, L::Note },
        { MakeIconFile({ BmpImage(256, 256, 24) }), "large-bitmap", 0, L::Note },
        { MakeIconFile(
              { Image32([](int, int) { return 0x112233u; }, [](int, int) { return false; }) }),
            "alpha-zero", 0, L::Warning },
        { MakeIconFile(
              { Image32([](int, int) { return 0xFF112233u; }, [](int x, int) { return x == 0; }) }),
            "mask-alpha", 0, L::Warning },
        { MakeIconFile({ { BuildImage(palette), 16, 16, 4, 2 } }), "palette-index", 0, L::Warning },
        { one, "missing-sizes", -1, L::Note },
        { one, "windows-size", 0, L::Note },
        { one, "browser", 0, L::Note },
    };
    TTempDir dir;
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::string(row.Rule));
        const std::vector<TFinding> findings = CheckIconBytes(row.File);
        auto found = std::find_if(findings.begin(), findings.end(),
            [&](const TFinding& f) { return f.Rule == row.Rule; });
        ASSERT_NE(found, findings.end());
        EXPECT_EQ(found->Entry, row.Entry);
        EXPECT_EQ(found->Level, row.Level);
        EXPECT_EQ(AnyAboveNote(findings), row.Level != L::Note);
        // What the file says is what the window shows of it, and a repair takes the fault away.
        WriteFile(dir.Path("in.ico"), row.File);
        TIconDirectory document;
        if (found->Repair == TRepair::None || !document.LoadFromFile(dir.Path("in.ico").string()))
            continue;
        const std::vector<TFinding> shown = CheckIconDocument(document);
        EXPECT_TRUE(Has(shown, row.Rule));
        if (Has(shown, "refused"))
            continue; // no repair makes the image readable; the save refuses it
        RepairDocument(document, true);
        ASSERT_TRUE(document.SaveToFile(dir.Path("out.ico").string()));
        EXPECT_FALSE(Has(CheckIconFile(dir.Path("out.ico").string()), row.Rule, row.Entry));
    }
    for (const TFinding& finding : CheckIconBytes(With(one, 18, 2)))
        if (finding.Rule == "on-directory") {
            EXPECT_EQ(finding.Text,
                "The data at offset 2 lies on the header and directory, which end at 22: readers "
                "take directory bytes for the image.");
        }
}

TEST(IconCheck, OwnFilesAreClean)
{
    // What build makes of bitmaps, what build --sizes makes of one picture, and the repairs.
    const TBitmap picture = Rgba(300, 300, [](int x, int y) {
        return TBgra { static_cast<uint8_t>(x), static_cast<uint8_t>(y), 90,
            static_cast<uint8_t>(
                (x - 150) * (x - 150) + (y - 150) * (y - 150) < 140 * 140 ? 255 : 0) };
    });
    const std::vector<int> sides { 16, 24, 32, 48, 256 };
    TIconDirectory sized, imported, repaired, cursor;
    for (const TBitmap& made : MakeSquareSizes(picture, sides))
        ASSERT_EQ(ImportPicture(sized, made), 0);
    ASSERT_EQ(imported.ImportBitmap(MakeSolidBitmap(16, 16, 0x123456)), 0);
    ASSERT_EQ(repaired.ImportBitmap(MakeSolidBitmap(32, 32, 0x654321)), 0);
    RepairDocument(repaired, true);
    // A cursor's repair keeps its hotspot and adds no icon sizes.
    ASSERT_EQ(cursor.ImportBitmap(MakeSolidBitmap(32, 32, 0x654321)), 0);
    cursor.SetKind(TIconDirectory::EKind::Cursor);
    ASSERT_TRUE(cursor.SetHotspot(0, 5, 7));
    RepairDocument(cursor, true);
    ASSERT_EQ(cursor.Count(), 1);
    EXPECT_EQ(cursor.GetEntry(0).HotspotX, 5);
    EXPECT_EQ(cursor.GetEntry(0).HotspotY, 7);
    TTempDir dir;
    for (TIconDirectory* document : { &sized, &imported, &repaired, &cursor }) {
        ASSERT_TRUE(document->SaveToFile(dir.Path("own.ico").string()));
        const std::vector<TFinding> findings = CheckIconFile(dir.Path("own.ico").string());
        for (const TFinding& finding : findings)
            EXPECT_EQ(finding.Level, TFindingLevel::Note) << finding.Rule << ": " << finding.Text;
        EXPECT_EQ(findings, CheckIconDocument(*document));
    }
}

TEST(IconCheck, CommandExitStatusJsonAndFix)
{
    TTempDir dir;
    const std::string cli = VELMORA_CLI_PATH, bad = dir.Path("bad.ico").string(),
                      good = dir.Path("good.ico").string(), out = dir.Path("out.ico").string();
    WriteFile(bad,
        MakeIconFile(
            { Image32([](int, int) { return 0x112233u; }, [](int, int) { return false; }) }));
    WriteFile(good, MakeIconFile({ BmpImage(16, 16, 24) }));
    std::string text;
    EXPECT_EQ(RunCommand(cli + " check " + good, &text), 0);
    EXPECT_NE(text.find(good
                  + ": entry 0: note: Windows shows this image for its 16-pixel icons, "
                    "as it is.\n"),
        std::string::npos);
    EXPECT_EQ(RunCommand(cli + " check --json " + good + " " + bad, &text), 1);
    EXPECT_NE(
        text.find("{\"entry\":0,\"level\":\"warning\",\"rule\":\"alpha-zero\""), std::string::npos);
    EXPECT_EQ(RunCommand(cli + " check --fix " + bad + " 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(cli + " check --fix -o " + out + " " + bad, &text), 0);
    EXPECT_NE(text.find(out + ": entry 0: alpha taken from the AND mask\n"), std::string::npos);
    EXPECT_EQ(
        RunCommand(cli + " check " + out + " " + dir.Path("none.ico").string() + " 2>/dev/null"),
        1);
}

} // namespace
} // namespace velmora
