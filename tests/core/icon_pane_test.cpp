#include "core/icon_test_files.h"
#include "core/pane_test_panes.h"
#include "fakes/fake_pane_platform.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"

#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

using A = TPaneAction;

std::vector<A> Enabled(const TIconPane& pane)
{
    std::vector<A> result;
    for (const TPaneActionInfo& info : PaneActions())
        if (pane.IsEnabled(info.Action))
            result.push_back(info.Action);
    return result;
}

const std::vector<A> EmptyPaneActions { A::IconNew, A::IconOpen, A::IconTransparentColor,
    A::IconZoom_, A::IconZoom100, A::IconZoom200, A::IconZoom300, A::IconZoom400,
    A::ImageImportBitmap, A::ImageImportSizes, A::IconNewCursor };

// An icon of 16 x 16 at 4 bits, 32 x 32 at 8 bits and 16 x 16 at 32 bits.
std::string WriteThreeImageIcon(const TTempDir& dir, const std::string& name = "three.ico")
{
    const std::string path = dir.Path(name).string();
    WriteFile(
        path, MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 8), BmpImage(16, 16, 32) }));
    return path;
}

int Measure6(std::string_view text)
{
    return static_cast<int>(text.size()) * 6;
}

} // namespace

TEST(IconPaneTest, ShortenPathFoldsOneFolderAtATime)
{
    // The texts a path becomes as the room shrinks, one fold at a time.
    for (const std::string step :
        { "/.../ann/icons/app.ico", "/.../app.ico", ".../app.ico", "app.ico" })
        EXPECT_EQ(ShortenPathToWidth("/home/ann/icons/app.ico", Measure6, Measure6(step)), step);
    // Only the name left: it stays, however narrow the limit.
    EXPECT_EQ(ShortenPathToWidth("/a/b.ico", Measure6, 0), "b.ico");
}

TEST(IconPaneTest, HeadlineAndStatusFollowTheDocument)
{
    TTempDir dir;
    {
        TFakePanePlatform platform;
        TIconPane fresh(platform);
        EXPECT_EQ(fresh.Headline(), "Icon: (new)");
        // Before the main window updates them, only Paste, Undo and Redo are off.
        EXPECT_EQ(Enabled(fresh).size(), static_cast<size_t>(PaneActionCount - 3));
        EXPECT_FALSE(fresh.IsEnabled(A::EditPaste));
    }
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    EXPECT_EQ(pane.Headline(), "Icon #1 (empty)");
    const std::string path = WriteThreeImageIcon(dir);
    pane.SetHeadlineWidth(100000);
    pane.OpenIconFile(path);
    EXPECT_EQ(pane.Headline(), "Icon #1, 3 images: " + path);
    EXPECT_TRUE(pane.Grid().Visible());
    EXPECT_GE(panes.Platform1.Repaints, 1);

    // The budget is the panel less its borders and the template's own width.
    pane.SetHeadlineWidth(Measure6(".../three.ico") + Measure6("Icon #%d, %d images: %s") + 4);
    EXPECT_EQ(pane.Headline(), "Icon #1, 3 images: .../three.ico");

    // Status from the selection: one image, an empty cell, several cells.
    pane.StringGridMainClick({ 1, 1, 1, 1 });
    EXPECT_EQ(pane.StatusText(), "Image #0, 4 bpp, 16 x 16, BMP, 296 bytes");
    EXPECT_EQ(pane.SelectedImages().Lines(), std::vector<std::string> { "0" });
    pane.StringGridMainClick({ 1, 1, 2, 3 });
    EXPECT_EQ(pane.SelectedImages().Lines(),
        (std::vector<std::string> { "0", "-1", "-1", "1", "2", "-1" }));
    EXPECT_EQ(pane.StatusText(), "(no image)"); // the bottom-right cell is empty
    pane.StringGridMainClick({ 2, 2, 1, 2 });
    EXPECT_EQ(pane.SelectedImages().Lines(), (std::vector<std::string> { "-1", "1" }));
    EXPECT_EQ(pane.StatusText(), "(multiple images selected)");

    // Closing: the name is not shown, the status is empty, the grid hides.
    pane.CloseIcon();
    EXPECT_EQ(pane.Headline(), "Icon #1 (empty)");
    EXPECT_EQ(pane.StatusText(), "");
    EXPECT_FALSE(pane.Grid().Visible());
    EXPECT_EQ(Enabled(pane), EmptyPaneActions);
}

TEST(IconPaneTest, GridLayout)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    // Sizes order by width, then height; two images of one format show the index that sorts
    // first as text (10 before 2).
    // Image 0 is stored as 0: 256 pixels.
    WriteFile(dir.Path("grid.ico"),
        MakeIconFile({ BmpImage(256, 256, 32), BmpImage(5, 4, 24), BmpImage(16, 32, 8),
            BmpImage(32, 16, 8), BmpImage(16, 16, 8), BmpImage(9, 4, 24), BmpImage(10, 4, 24),
            BmpImage(11, 4, 24), BmpImage(12, 4, 24), BmpImage(13, 4, 24), BmpImage(16, 32, 8) }));
    pane.OpenIconFile(dir.Path("grid.ico").string());
    ASSERT_EQ(pane.IconDirectory().Count(), 11);

    const TImageGrid& grid = pane.Grid();
    // Depths 8, 24, 32; sizes 5x4, 9x4 .. 13x4, 16x16, 16x32, 32x16, 256x256.
    ASSERT_EQ(grid.RowCount(), 4);
    ASSERT_EQ(grid.ColCount(), 1 + 6 + 4);
    EXPECT_EQ(grid.Cell(7, 0), " 16 x 16 ");
    EXPECT_EQ(grid.Cell(8, 1), "00000008|00000010|00000020|10");
    EXPECT_EQ(grid.Cell(10, 3), "00000020|00000100|00000100|0");
    EXPECT_EQ(grid.Cell(7, 2), "");
    // Widths: header text or size times zoom; rows: tallest image times zoom; row 0 stays 24.
    EXPECT_EQ(grid.ColWidth(0), Measure6(" 32 bpp "));
    EXPECT_EQ(grid.RowHeight(3), 256);

    const int rebuilds = panes.Platform1.GridChanges;
    pane.Execute(A::IconZoom300);
    EXPECT_GT(panes.Platform1.GridChanges, rebuilds);
    EXPECT_EQ(grid.ColWidth(10), 768);
    // Zoom beyond the actions' range stays at the largest.
    pane.SetZoom(9);
    EXPECT_EQ(pane.Zoom(), 4);
    // Colours only repaint.
    const std::pair counts(panes.Platform1.GridChanges, panes.Platform1.Repaints + 1);
    pane.SetBackgroundColor(RGB(1, 2, 3));
    EXPECT_EQ(std::pair(panes.Platform1.GridChanges, panes.Platform1.Repaints), counts);
}

TEST(IconPaneTest, CellPainting)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    // A 32-bit image with alpha, a 4-bit image, and an image whose data cannot be decoded.
    TTestImage broken = BmpImage(16, 16, 8);
    broken.Data.resize(44);
    WriteFile(
        dir.Path("cells.ico"), MakeIconFile({ BmpImage(16, 16, 32), BmpImage(16, 16, 4), broken }));
    ASSERT_TRUE(pane.IconDirectory().LoadFromFile(dir.Path("cells.ico").string()));
    pane.RefreshView();
    pane.SetZoom(2);
    pane.SetBackgroundColor(RGB(0, 0, 255));

    const TImageGrid& grid = pane.Grid();
    for (int row = 1; row < grid.RowCount(); ++row) {
        TBitmap canvas(grid.ColWidth(1), grid.RowHeight(row), TPixelFormat::pf32bit);
        pane.PaintImageCell(1, row, canvas, { 0, 0, canvas.Width(), canvas.Height() });
        const std::string cell = grid.Cell(1, row);
        // The right margin beyond 32 pixels keeps the background.
        EXPECT_EQ(PixelAt(canvas, 33, 0)[2], 0) << cell;
        if (cell.starts_with("00000008")) {
            // The broken image: background only, no error.
            EXPECT_EQ(PixelAt(canvas, 5, 5), (TBgra { 255, 0, 0, PixelAt(canvas, 5, 5)[3] }));
        } else {
            // Drawn twice as large: pixels come in 2 x 2 blocks, and the image shows.
            EXPECT_EQ(PixelAt(canvas, 6, 10), PixelAt(canvas, 7, 11)) << cell;
            EXPECT_NE(PixelAt(canvas, 6, 10), PixelAt(canvas, 33, 10)) << cell;
        }
    }
}

TEST(IconPaneTest, OpenSaveNewCloseCommands)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    TFakePanePlatform& platform = panes.Platform1;
    pane.SetHeadlineWidth(100000);
    const std::string path = WriteThreeImageIcon(dir);

    // Open: the dialog's setup, the first of several files, a failure message.
    platform.OpenAnswers.push_back({ path, dir.Path("other.ico").string() });
    EXPECT_TRUE(pane.Execute(A::IconOpen));
    ASSERT_EQ(platform.Dialogs.size(), 1u);
    EXPECT_EQ(platform.Dialogs[0].Title, "Open icon...");
    EXPECT_TRUE(platform.Dialogs[0].MultiSelect);
    EXPECT_EQ(pane.IconDirectory().FileName(), path);
    EXPECT_TRUE(pane.IsEnabled(A::IconSave));
    EXPECT_FALSE(pane.IsEnabled(A::EditPaste));

    const std::string missing = dir.Path("missing.ico").string();
    platform.OpenAnswers.push_back({ missing });
    pane.Execute(A::IconOpen);
    EXPECT_EQ(platform.Messages.back(),
        "Error - icon file not opened: " + missing + "\r\nthe file does not exist");
    // A picture named .ico says what it is.
    WriteFile(missing, Bytes { 0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0, 0 });
    platform.OpenAnswers.push_back({ missing });
    pane.Execute(A::IconOpen);
    EXPECT_EQ(platform.Messages.back(),
        "Error - icon file not opened: " + missing + "\r\na PNG picture, not an icon");
    WriteFile(missing, Bytes {});
    pane.OpenIconFile(missing, true);
    EXPECT_EQ(platform.Messages.back(),
        "Error - icon file not opened: " + missing + "\r\nthe file is empty");
    pane.OpenIconFile(dir.Path("").string(), true);
    EXPECT_EQ(platform.Messages.back(),
        "Error - icon file not opened: " + dir.Path("").string()
            + "\r\na folder, not an icon file");
    // A damaged file opens with what it holds, changed, and a notice of what was lost.
    WriteFile(missing, With(MakeIconFile({ BmpImage(16, 16, 4), BmpImage(8, 8, 4) }), 34, 9999));
    pane.OpenIconFile(missing);
    EXPECT_EQ(platform.Messages.back(),
        "1 of 2 images could be read:\r\n\r\nImage 1 at offset 9999 (168 bytes) starts past the "
        "end of the file (502 bytes).");
    EXPECT_EQ(pane.Headline(), "Icon #1, 1 image: *" + missing);
    // A file without one readable image raises the error for the application's handler: the
    // file, then the reason.
    WriteFile(missing, With(MakeIconFile({ BmpImage(16, 16, 4) }), 18, 999));
    platform.SaveChangesAnswers.push_back(TSaveChangesAnswer::Discard);
    platform.OpenAnswers.push_back({ missing });
    const std::string error = ErrorOf([&] { pane.Execute(A::IconOpen); });
    EXPECT_EQ(error.rfind("Error - icon file not opened: " + missing + "\r\nIconDirEntry.", 0), 0u);
    pane.OpenIconFile(path);

    // Save As: a failure names the file after a line break.
    const std::string saved = dir.Path("saved.ico").string();
    platform.SaveAnswers.push_back(saved);
    pane.Execute(A::IconSaveAs);
    EXPECT_EQ(pane.Headline(), "Icon #1, 3 images: " + saved);
    EXPECT_EQ(ReadFile(saved), ReadFile(path));
    // A file that cannot be created raises the document's error for the application's handler
    // and keeps the name; an empty document is refused with the pane's message.
    const std::string unwritable = dir.Path("no-such-folder/x.ico").string();
    platform.SaveAnswers.push_back(unwritable);
    EXPECT_EQ(ErrorOf([&] { pane.Execute(A::IconSaveAs); }).substr(0, 29),
        "WriteIconFileHeader failed.\r\n");
    EXPECT_EQ(pane.Headline(), "Icon #1, 3 images: " + saved);
    panes.Pane2.SaveIconFile(unwritable);
    EXPECT_EQ(panes.Platform2.Messages.back(), "Error: File not saved:\r\n" + unwritable);

    // New loads the template without writing anything into the current folder.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    WriteFile(dir.Path("new.ico"), Bytes { 1, 2, 3 });
    pane.Execute(A::IconNew);
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadFile(dir.Path("new.ico")), (Bytes { 1, 2, 3 }));
    ASSERT_EQ(pane.IconDirectory().Count(), 1);
    EXPECT_EQ(pane.IconDirectory().GetEntry(0).BitCount, 24);
    EXPECT_EQ(pane.Headline(), "Icon #1, 1 image: *./new.ico");
    // The template has a transparent corner and an opaque middle.
    TBitmap canvas(32, 32, TPixelFormat::pf32bit);
    pane.PaintImageCell(1, 1, canvas, { 0, 0, 32, 32 });
    EXPECT_NE(PixelAt(canvas, 0, 31), PixelAt(canvas, 16, 16));

    // Close: everything but the always-enabled actions (and Undo) goes off.
    platform.SaveChangesAnswers.push_back(TSaveChangesAnswer::Discard);
    pane.Execute(A::IconClose);
    EXPECT_EQ(pane.IconDirectory().Count(), 0);
    std::vector<A> closed = EmptyPaneActions;
    closed.insert(closed.end() - 1, A::EditUndo);
    EXPECT_EQ(Enabled(pane), closed);
    EXPECT_FALSE(pane.Execute(A::IconSave));
    // Grid keys run enabled actions only: F12 (export) not, F11 (import) even with no images.
    const size_t dialogs = platform.Dialogs.size();
    pane.StringGridMainKeyUp(TGridKey::F12);
    platform.OpenAnswers.push_back({});
    pane.StringGridMainKeyUp(TGridKey::F11);
    EXPECT_EQ(platform.Dialogs.size(), dialogs + 1);
}

} // namespace velmora::test
