#include "pane/image_depth.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora::test
{

TEST(ImageDepth, EntriesStoringZeroBitsShowTheirImagesDepth)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    TTestImage old8 = BmpImage(16, 16, 8);
    old8.BitCount = 0;
    TTestImage png = PngImage(32, 32);
    png.BitCount = 0;
    const std::string path = dir.Path("old.ico").string();
    WriteFile(path, MakeIconFile({ old8, BmpImage(32, 32, 24) }));
    pane.OpenIconFile(path);
    // The row of stored 0 names the header's depth, marked; the status describes the image.
    EXPECT_EQ(pane.Grid().Cell(0, 1), " 8 bpp (image) ");
    EXPECT_EQ(pane.Grid().Cell(0, 2), " 24 bpp ");
    SelectImages(pane, 0, 0);
    EXPECT_EQ(pane.StatusText(), "Image #0, 8 bpp (image), 16 x 16, BMP, 1,384 bytes");
    SelectImages(pane, 1, 1);
    EXPECT_EQ(pane.StatusText(), "Image #1, 24 bpp, 32 x 32, BMP, 3,240 bytes");
    // The document and the saved file keep the stored 0.
    EXPECT_EQ(pane.IconDirectory().FindFormat(0, 16, 16), 0);
    const std::string saved = dir.Path("saved.ico").string();
    pane.SaveIconFile(saved);
    EXPECT_EQ(ReadFile(saved)[6 + 6], 0); // wBitCount of the first entry, low byte

    // A PNG image gives the bits of its pixels; a row whose images disagree stays at 0.
    WriteFile(path, MakeIconFile({ old8, png }));
    pane.OpenIconFile(path);
    EXPECT_EQ(ImageDataBitCount(pane.IconDirectory().GetImage(1)), 32);
    EXPECT_EQ(pane.Grid().Cell(0, 1), " 0 bpp ");
}

} // namespace velmora::test
