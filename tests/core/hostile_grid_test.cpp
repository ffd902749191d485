#include "icon_test_files.h"
#include "messages/messages.h"
#include "pane_test_panes.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// count entries that all point at one 8 x 8 image, entry i with bit count 1 + i and size
// (1 + i % 255) x (1 + i / 255): every image has a depth and a size of its own, so the grid
// has count x count cells of which count hold images.
Bytes DiagonalIcon(int count)
{
    const TTestImage image = BmpImage(8, 8, 32);
    std::vector<TTestImage> images;
    const uint32_t offset = 6 + 16 * static_cast<uint32_t>(count);
    for (int i = 0; i < count; ++i)
        images.push_back({ i == 0 ? image.Data : Bytes {}, static_cast<uint8_t>(1 + i % 255),
            static_cast<uint8_t>(1 + i / 255), static_cast<uint16_t>(1 + i), 0, 1,
            static_cast<uint32_t>(image.Data.size()), offset });
    return MakeIconFile(images);
}

// A grid of 4096 x 4096 cells fills, selects, sorts and deletes in time and memory that follow
// its 4096 images: the old grid stored a text per cell and searched every format line for each.
TEST(HostileGridTest, ManyDepthsAndSizesStayLinear)
{
    constexpr int count = 4096;
    TTempDir dir;
    WriteFile(dir.Path("diagonal.ico"), DiagonalIcon(count));
    TFakePanePlatform platform;
    TIconPane pane(platform);
    pane.OpenIconFile(dir.Path("diagonal.ico").string());
    ASSERT_EQ(pane.IconDirectory().Count(), count);
    const TImageGrid& grid = pane.Grid();
    ASSERT_EQ(grid.ColCount(), count + 1);
    ASSERT_EQ(grid.RowCount(), count + 1);

    // Depths ascend, so image i is the one image of row 1 + i.
    for (int image : { 0, 254, 255, count - 1 }) {
        std::vector<std::string> row;
        grid.ForEachCell({ 1, 1 + image, count, 1 + image },
            [&](int, int, const std::string& text) { row.push_back(text); });
        ASSERT_EQ(row.size(), 1u) << image;
        EXPECT_EQ(row[0].substr(row[0].rfind('|') + 1), std::to_string(image));
    }

    // Every cell selected: each image once, the empty cells up to the listed bound.
    pane.StringGridMainClick({ 1, 1, count, count });
    const std::vector<std::string>& selected = pane.SelectedImages().Lines();
    EXPECT_EQ(selected.size(), size_t { count } + TIconPane::MaxEmptySelected);
    EXPECT_EQ(std::count(selected.begin(), selected.end(), "-1"), TIconPane::MaxEmptySelected);
    // The bottom-right cell, which decides the status, is empty.
    EXPECT_EQ(pane.StatusText(), Messages::StatusNoImage);

    pane.UpdateActions();
    ASSERT_TRUE(pane.Execute(TPaneAction::ImageSort));
    for (int i = 0; i < count; i += 511)
        EXPECT_EQ(pane.IconDirectory().GetEntry(i).BitCount, 1 + i);
    ASSERT_TRUE(pane.Execute(TPaneAction::EditDelete));
    EXPECT_EQ(pane.IconDirectory().Count(), 1);
    EXPECT_EQ(pane.IconDirectory().GetEntry(0).BitCount, 1);
    EXPECT_EQ(grid.ColCount(), 2);
}

} // namespace
} // namespace velmora
