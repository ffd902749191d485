// The program's own icon: the .ico that the build makes from the kept pictures with
// velmora-icon holds each of them.

#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

namespace fs = std::filesystem;

const fs::path KeptIcons = fs::path(VELMORA_DATA_DIR) / "icons";

/// The theme's picture of one size, decoded.
TBitmap ThemePicture(int side)
{
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    return DecodePng(
        ReadFile(KeptIcons / "hicolor" / size / "apps" / "com.example.VelmoraIconManager.png"));
}

TEST(ProgramIcon, TheBuiltIconHoldsEveryPictureAtItsDepth)
{
    TIconDirectory icon;
    ASSERT_TRUE(icon.LoadFromFile(VELMORA_PROGRAM_ICON_FILE));
    std::set<std::pair<int, int>> formats; // side, bits
    for (int i = 0; i < icon.Count(); ++i) {
        const TIconDirectoryEntry& entry = icon.GetEntry(i);
        const int side = entry.ImageWidth();
        SCOPED_TRACE(std::to_string(side) + " pixels, " + std::to_string(entry.BitCount) + " bits");
        formats.emplace(side, entry.BitCount);
        EXPECT_EQ(entry.ImageHeight(), side);

        const TIconImage image = DecodeIcon(*icon.GetImage(i).Icon);
        const TBitmap expected = ThemePicture(side);
        ASSERT_EQ(image.Width(), side);
        // 32 bits: the same pixels, soft edges and shadow included. Otherwise the mask leaves
        // out what is less than half covered, and the rest keeps its colour.
        int differences = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                TBgra want = PixelAt(expected, x, y), got = PixelAt(image.Pixels, x, y);
                if (entry.BitCount != 32) { // colours only, where shown
                    const bool shown = want[3] >= 128;
                    differences += image.MaskAt(x, y) == shown;
                    got[3] = want[3] = 0;
                    got = shown ? got : want;
                }
                differences += got != want;
            }
        EXPECT_EQ(differences, 0);
    }
    const std::set<std::pair<int, int>> expected { { 16, 32 }, { 24, 32 }, { 32, 32 }, { 48, 32 },
        { 64, 32 }, { 16, 24 }, { 32, 24 }, { 48, 24 } };
    EXPECT_EQ(formats, expected);
}

} // namespace
} // namespace velmora::test
