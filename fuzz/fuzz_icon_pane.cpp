// Fuzz target: opens the input as an icon in a headless pane and does what a user does with
// it: fills the grid, paints the image cells at zoom 1 and 4, sorts, selects every cell and
// renders each image as an export does. Painting and rendering share a budget of pixels, so
// that one input stays within the run's time limit.

#include "graphics/bitmap.h"
#include "pane/icon_pane.h"
#include "pane/quiet_pane_platform.h"
#include "platform/clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

using namespace velmora;

// Pixels an input may cost in all: the cells painted and the pictures decoded for them and
// for the exports. A 4096 x 4096 picture fits once; larger ones are left to the decoder's own
// target, since decoding one of 8192 x 8192 pixels takes seconds with the sanitizers and the
// work of one input must stay within the time limit.
constexpr int64_t PixelBudget = (int64_t { 1 } << 24) + (int64_t { 1 } << 22);

// The pixels an image's own header claims (a PNG image's header field are no size).
int64_t OwnPixels(const TIconDirectory& document, int index)
{
    if (index < 0 || index >= document.Count() || document.GetImage(index).IsPng())
        return 0;
    const TBitmapInfoHeader& header = document.GetImage(index).Header;
    return std::abs(int64_t { header.biWidth }) * (std::abs(int64_t { header.biHeight }) / 2);
}

// Paints the cells that hold images, as the view does, while the budget lasts.
void PaintCells(const TIconPane& pane, int64_t& spent)
{
    const TImageGrid& grid = pane.Grid();
    const TGridRect all { grid.FixedCols(), grid.FixedRows(), grid.ColCount() - 1,
        grid.RowCount() - 1 };
    grid.ForEachCell(all, [&](int col, int row, const std::string& text) {
        const int width = std::max(grid.ColWidth(col), 1);
        const int height = std::max(grid.RowHeight(row), 1);
        const int index = std::atoi(text.substr(text.rfind('|') + 1).c_str());
        const int64_t cost = int64_t { width } * height + OwnPixels(pane.IconDirectory(), index);
        if (spent + cost > PixelBudget)
            return;
        spent += cost;
        TBitmap canvas(width, height, TPixelFormat::pf32bit);
        pane.PaintImageCell(col, row, canvas, TRect { 0, 0, width, height });
    });
}

std::string ScratchName()
{
    return (std::filesystem::temp_directory_path()
        / ("velmora-fuzz-pane-" + std::to_string(::getpid()) + ".ico"))
        .string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = ScratchName();
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TQuietPanePlatform platform;
    TIconPane pane(platform);
    pane.SetQuietMode(true);
    try {
        pane.OpenIconFile(input);
    } catch (const std::exception&) {
        // A refused load is reported, not fatal.
    }
    std::remove(input.c_str());
    const TIconDirectory& document = pane.IconDirectory();
    if (document.Count() == 0)
        return 0;
    pane.UpdateActions();
    int64_t spent = 0;
    PaintCells(pane, spent);
    pane.SetZoom(4);
    PaintCells(pane, spent);
    pane.Execute(TPaneAction::ImageSort);
    const TImageGrid& grid = pane.Grid();
    pane.StringGridMainClick(
        TGridRect { grid.FixedCols(), grid.FixedRows(), grid.ColCount() - 1, grid.RowCount() - 1 });
    if (pane.SelectedImages().Count() == 0)
        std::abort(); // a grid with images always selects something
    for (int i = 0; i < document.Count(); ++i) {
        const int64_t cost = std::max<int64_t>(OwnPixels(document, i), 1);
        if (spent + cost > PixelBudget)
            continue;
        spent += cost;
        try {
            const TBitmap picture = document.RenderImageToBitmap(i, pane.BackgroundColor());
            if (picture.Width() < 0)
                std::abort();
        } catch (const std::exception&) {
            // An image that cannot be rendered is refused with a message by the export.
        }
    }
    return 0;
}
