#include "graphics/bmp_codec.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

using A = TPaneAction;
using O = TImportOutcome;
using TLines = std::vector<std::string>;
using TOutcomes = std::vector<std::pair<std::string, O>>;

// A mask picture: opaque (white) on the left half, half transparent (grey 128) on the right.
TBitmap Mask(int w, int h)
{
    return MakeTrueColorBitmap(w, h, TPixelFormat::pf24bit,
        [w](int x, int) { return x < w / 2 ? RGB(255, 255, 255) : RGB(128, 128, 128); });
}

// The image that importing a picture makes, as an image of an icon file to build.
TTestImage ImportedImage(const TBitmap& picture)
{
    TIconDirectory document;
    EXPECT_EQ(document.ImportBitmap(picture), 0);
    const Bytes& data = document.GetImage(0).Icon->Data();
    const TIconDirectoryEntry& entry = document.GetEntry(0);
    return { Bytes(data.begin() + 22, data.end()), entry.Width, entry.Height, entry.BitCount };
}

// A file to import: a picture to save as a bitmap, raw bytes, or nothing (a missing file).
struct TFile {
    std::string Name;
    std::optional<TBitmap> Picture {};
    Bytes Raw {};
};

TStringList WriteFiles(const TTempDir& dir, const std::vector<TFile>& files)
{
    TStringList names;
    for (const TFile& file : files) {
        if (file.Picture)
            SaveBitmapToFile(*file.Picture, dir.Path(file.Name));
        else if (!file.Raw.empty())
            WriteFile(dir.Path(file.Name), file.Raw);
        names.Add(dir.Path(file.Name).string());
    }
    return names;
}

TOutcomes Outcomes(const TImportReport& report)
{
    TOutcomes outcomes;
    for (const TImportFileReport& file : report.Files)
        outcomes.emplace_back(std::filesystem::path(file.FileName).filename(), file.Outcome);
    return outcomes;
}

// The texts with each "%s" replaced by the folder.
TLines InFolder(TLines texts, const TTempDir& dir)
{
    for (std::string& text : texts)
        for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at))
            text.replace(at, 2, dir.Root().string());
    return texts;
}

// A pane over a platform that notes for each message and question whether the grid was
// visible while it was up.
struct TWatchedPane : TFakePanePlatform {
    TIconPane Pane { *this };
    std::vector<bool> GridShown;
    void ShowMessage(const std::string& text) override
    {
        GridShown.push_back(Pane.Grid().Visible());
        TFakePanePlatform::ShowMessage(text);
    }
    bool AskQuestion(const std::string& text, const std::string& caption) override
    {
        GridShown.push_back(Pane.Grid().Visible());
        return TFakePanePlatform::AskQuestion(text, caption);
    }
};

} // namespace

// Which files become images, in which order and with which messages, quiet or not ("%s" in a
// message stands for the folder).
TEST(IconPaneImport, PairsMasksSortsNamesAndRefuses)
{
    struct TRow {
        const char* Name;
        std::vector<TFile> Files;
        TFormats Formats;
        TOutcomes Outcomes;
        TLines Messages {};
        std::vector<bool> GridShown {}; // at each message
    };
    const std::vector<TRow> rows {
        { "a bitmap with its mask",
            { { "logo.bmp", Picture(16, 16) }, { "logomask.bmp", Mask(16, 16) } },
            { { 16, 16, 32 } },
            { { "logo.bmp", O::Imported }, { "logomask.bmp", O::UsedAsMask } } },
        // Names, masks and extensions in any letter case.
        { "case",
            { { "logo.bmp", Picture(20, 20) }, { "LogoMask.bmp", Mask(20, 20) },
                { "A.BMP", Picture(8, 8) }, { "b.gif", Picture(8, 8) } },
            { { 8, 8, 24 }, { 20, 20, 32 } },
            { { "A.BMP", O::Imported }, { "b.gif", O::WrongExtension }, { "logo.bmp", O::Imported },
                { "LogoMask.bmp", O::UsedAsMask } } },
        // Lower-case bytes decide; AB.bmp and ab.bmp tie and go by their own bytes.
        { "order",
            { { "c.bmp", Picture(24, 24) }, { "ab.bmp", Picture(12, 12) },
                { "A.bmp", Picture(16, 16) }, { "AB.bmp", Picture(8, 8) } },
            { { 16, 16, 24 }, { 8, 8, 24 }, { 12, 12, 24 }, { 24, 24, 24 } },
            { { "A.bmp", O::Imported }, { "AB.bmp", O::Imported }, { "ab.bmp", O::Imported },
                { "c.bmp", O::Imported } } },
        { "refusals",
            { { "a.bmp", Picture(2, 100) },
                { "b.bmp", PatternBitmap(16, 16, TPixelFormat::pf8bit, 3) },
                { "c.bmp", Picture(10, 10) }, { "d.bmp" },
                { "e.bmp", std::nullopt, Bytes { 'B', 'M', 1 } }, { "f.bmp", Picture(8, 8) },
                { "fmask.bmp", Mask(16, 16) } },
            { { 10, 10, 24 } },
            { { "a.bmp", O::Refused }, { "b.bmp", O::Refused }, { "c.bmp", O::Imported },
                { "d.bmp", O::Refused }, { "e.bmp", O::Refused }, { "f.bmp", O::Refused },
                { "fmask.bmp", O::UsedAsMask } },
            { "Bitmap too large (width or height > 72):\r\n\r\n%s/a.bmp",
                "Sorry. Palette bitmap are not supported.\r\nTrueColor bitmap (>=24bit) "
                "needed:\r\n\r\n%s/b.bmp",
                "File not found:\r\n\r\n%s/d.bmp",
                "Bitmap not imported:\r\n\r\n%s/e.bmp\r\n\r\nIconDirEntry.ImportBitmap "
                "failed.\r\nCannot read "
                "bitmap file \"%s/e.bmp\": The .bmp file is truncated: its headers need 18 bytes, "
                "the file has 3.",
                "Mask bitmap of another size:\r\n\r\n%s/fmask.bmp is 16*16 pixels, its bitmap "
                "%s/f.bmp 8*8." },
            { false, false, true, true, true } },
    };
    for (const bool quiet : { false, true }) {
        for (const TRow& row : rows) {
            SCOPED_TRACE(std::string(row.Name) + (quiet ? ", quiet" : ""));
            TTempDir dir;
            TWatchedPane watched;
            watched.Pane.SetQuietMode(quiet);
            watched.Pane.ImportBitmapFiles(WriteFiles(dir, row.Files));
            EXPECT_EQ(Formats(watched.Pane.IconDirectory()), row.Formats);
            EXPECT_EQ(Outcomes(watched.Pane.LastImportReport()), row.Outcomes);
            EXPECT_EQ(watched.Messages, InFolder(row.Messages, dir));
            EXPECT_EQ(watched.GridShown, row.GridShown);
            EXPECT_EQ(watched.Pane.Grid().Visible(), !row.Formats.empty());
        }
    }
}

// Quietly, a format that exists ends the import: that file and those after it are not
// imported, but a mask taken with its bitmap before the stop has served.
TEST(IconPaneImport, QuietModeStopsAtAFormatThatExists)
{
    TTempDir dir;
    TWatchedPane watched;
    ASSERT_EQ(watched.Pane.IconDirectory().ImportBitmap(Picture(20, 20)), 0);
    watched.Pane.SetQuietMode(true);
    watched.Pane.ImportBitmapFiles(WriteFiles(dir,
        { { "c.bmp", Picture(24, 24) }, { "a.bmp", Picture(16, 16) },
            { "a2.bmp", Picture(20, 20, 9) }, { "amask.bmp", Mask(16, 16) } }));
    EXPECT_EQ(Formats(watched.Pane.IconDirectory()), (TFormats { { 20, 20, 24 }, { 16, 16, 32 } }));
    const TImportReport& report = watched.Pane.LastImportReport();
    EXPECT_EQ(Outcomes(report),
        (TOutcomes { { "a.bmp", O::Imported }, { "a2.bmp", O::FormatExists },
            { "amask.bmp", O::UsedAsMask }, { "c.bmp", O::NotReached } }));
    EXPECT_TRUE(report.Stopped);
    EXPECT_EQ(report.Files[1].Reason, "20*20, 24 bpp");
    EXPECT_FALSE(report.AllBitmapsUsed());
    EXPECT_TRUE(watched.Messages.empty() && watched.Questions.empty());
    EXPECT_TRUE(watched.Pane.Grid().Visible());
}

// A format that exists asks whether to replace it; Yes replaces it (the new image goes to the
// end) only when the new image can be added, so the old image is never lost.
TEST(IconPaneImport, FormatExistsAsksAndNeverLosesTheImage)
{
    struct TRow {
        const char* Name;
        std::vector<TTestImage> Icon;
        std::vector<TFile> Files;
        bool Answer;
        std::string Format;
        O Outcome;
        size_t Messages = 0;
    };
    const std::vector<TTestImage> two { BmpImage(16, 16, 24), BmpImage(32, 32, 24) };
    const std::vector<TRow> rows {
        { "yes", two, { { "n.bmp", Picture(16, 16) } }, true, "16*16, 24 bpp", O::Replaced },
        { "yes with a mask", { BmpImage(16, 16, 32), BmpImage(32, 32, 24) },
            { { "n.bmp", Picture(16, 16) }, { "nmask.bmp", Mask(16, 16) } }, true, "16*16, 32 bpp",
            O::Replaced },
        // The format test comes before the depth test, so a palette bitmap is asked about.
        { "yes to a palette bitmap", { BmpImage(16, 16, 8), BmpImage(32, 32, 24) },
            { { "n.bmp", PatternBitmap(16, 16, TPixelFormat::pf8bit, 4) } }, true, "16*16, 8 bpp",
            O::Refused, 1 },
        { "yes, held twice",
            { BmpImage(16, 16, 24, 1), BmpImage(32, 32, 24), BmpImage(16, 16, 24, 2) },
            { { "n.bmp", Picture(16, 16) } }, true, "16*16, 24 bpp", O::FormatExists, 1 },
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TTempDir dir;
        TWatchedPane watched;
        OpenImages(watched.Pane, dir, row.Icon);
        const std::vector<Bytes> before = ImageData(watched.Pane.IconDirectory());
        watched.Answers = { row.Answer };
        watched.Pane.ImportBitmapFiles(WriteFiles(dir, row.Files));

        ASSERT_EQ(watched.Questions.size(), 1u);
        EXPECT_EQ(
            watched.Questions[0].Text, "Format exists:\r\n\r\n" + row.Format + "\r\n\r\nReplace?");
        EXPECT_EQ(watched.Pane.LastImportReport().Files[0].Outcome, row.Outcome);
        EXPECT_EQ(watched.Messages.size(), row.Messages);
        EXPECT_EQ(watched.GridShown, std::vector<bool>(1 + row.Messages, true));
        const std::vector<Bytes> after = ImageData(watched.Pane.IconDirectory());
        if (row.Outcome == O::Replaced)
            EXPECT_TRUE(after.size() == 2 && after[0] == before[1] && after[1] != before[0]);
        else
            EXPECT_EQ(after, before);
    }
}

// Over three formats that exist, "Yes to All" and "No to All" answer for the rest.
TEST(IconPaneImport, ToAllAnswersTheRestOfTheImport)
{
    for (const TReplaceAnswer answer : { TReplaceAnswer::YesToAll, TReplaceAnswer::NoToAll }) {
        TTempDir dir;
        TWatchedPane watched;
        OpenImages(watched.Pane, dir,
            { BmpImage(16, 16, 24), BmpImage(24, 24, 24), BmpImage(32, 32, 24) });
        const std::vector<Bytes> before = ImageData(watched.Pane.IconDirectory());
        watched.ReplaceAnswers = { answer };
        const bool yes = answer == TReplaceAnswer::YesToAll;
        watched.Pane.ImportBitmapFiles(WriteFiles(dir,
            { { "a.bmp", Picture(16, 16) }, { "b.bmp", Picture(24, 24) },
                { "c.bmp", Picture(32, 32) } }));
        EXPECT_EQ(watched.Questions.size(), 1u);
        for (const TImportFileReport& file : watched.Pane.LastImportReport().Files)
            EXPECT_EQ(file.Outcome, yes ? O::Replaced : O::FormatExists) << file.FileName;
        EXPECT_EQ(ImageData(watched.Pane.IconDirectory()) == before, !yes);
    }
}

// Import offers bitmaps for multiple selection. Export asks for a file for each selected
// image, highest index first; a cancelled dialog skips its image, a failure is reported.
TEST(IconPaneImport, ImportAndExportActions)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    panes.Platform1.OpenAnswers = {
        WriteFiles(dir, { { "b.bmp", Picture(20, 20) }, { "a.bmp", Picture(16, 16) } }).Lines()
    };
    ASSERT_TRUE(pane.Execute(A::ImageImportBitmap));
    EXPECT_EQ(Formats(pane.IconDirectory()), (TFormats { { 16, 16, 24 }, { 20, 20, 24 } }));

    OpenImages(pane, dir, { BmpImage(16, 16, 8), ImportedImage(Picture(20, 20)) });
    pane.StringGridMainClick({ 1, 1, 2, 2 });
    ASSERT_EQ(pane.SelectedImages().Lines(), (TLines { "0", "-1", "-1", "1" }));
    pane.SetTransparentColor(RGB(0, 255, 0));
    const std::string nowhere = dir.Path("no/zero.bmp").string();
    panes.Platform1.SaveAnswers
        = { dir.Path("one.bmp").string(), nowhere, std::nullopt, dir.Path("zero.bmp").string() };
    ASSERT_TRUE(pane.Execute(A::ImageExportBitmap));
    ASSERT_TRUE(pane.Execute(A::ImageExportBitmap));
    ASSERT_EQ(panes.Platform1.Dialogs.size(), 5u);
    EXPECT_EQ(panes.Platform1.Dialogs[1].Title, "Export image #1 (20*20, 24 bpp) to bitmap...");
    // Image 1 at its own depth, its transparent pixels in the transparent colour.
    const TBitmap one = LoadBitmapFromFile(dir.Path("one.bmp"));
    EXPECT_EQ(one.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(GetPixelColor(one, 0, 3), RGB(0, 255, 0));
    EXPECT_EQ(GetPixelColor(one, 2, 3), RGB(50, 16, 24));
    EXPECT_EQ(LoadBitmapFromFile(dir.Path("zero.bmp")).PixelFormat(), TPixelFormat::pf8bit);
    ASSERT_EQ(panes.Platform1.Messages.size(), 1u);
    EXPECT_TRUE(panes.Platform1.Messages[0].starts_with(
        "Error: File not saved:\r\n" + nowhere + "\r\n\r\n"));
}

} // namespace velmora::test
