// A full repaint of a pane's image grid: every image cell of an icon with 12 images (six sizes
// at 24 and 32 bits) painted at zoom 4, as the view does on each repaint.
#include "bench_pictures.h"
#include "graphics/bitmap_ops.h"
#include "graphics/decoded_icon_cache.h"
#include "icons/icon_directory.h"
#include "pane/icon_pane.h"
#include "pane/quiet_pane_platform.h"
#include "platform/clipboard.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

void FullGridRepaint(benchmark::State& state, bool keepDecoded)
{
    TQuietPanePlatform platform;
    TIconPane pane(platform);
    // Twelve images: 16 to 72 pixels, each at 24 and 32 bits.
    TIconDirectory& icon = pane.IconDirectory();
    for (int size : { 16, 24, 32, 48, 64, 72 }) {
        icon.ImportBitmap(bench::GradientPicture(size, TPixelFormat::pf24bit));
        icon.ImportBitmap(bench::GradientPicture(size, TPixelFormat::pf32bit));
    }
    pane.RefreshView();
    pane.SetZoom(4);
    const TImageGrid& grid = pane.Grid();
    for (auto _ : state) {
        if (!keepDecoded)
            TDecodedIconCache::Instance().Clear();
        for (int row = 1; row < grid.RowCount(); ++row) {
            for (int col = 1; col < grid.ColCount(); ++col) {
                TBitmap canvas(grid.ColWidth(col), grid.RowHeight(row), TPixelFormat::pf32bit);
                pane.PaintImageCell(
                    col, row, canvas, TRect { 0, 0, canvas.Width(), canvas.Height() });
                benchmark::DoNotOptimize(canvas.Pixels().data());
            }
        }
    }
    state.counters["images"] = icon.Count();
}
// As the program does: the icon objects keep their decoded pixels between repaints.
void BM_FullGridRepaintZoom4(benchmark::State& state)
{
    FullGridRepaint(state, true);
}
BENCHMARK(BM_FullGridRepaintZoom4)->Unit(benchmark::kMillisecond);

// For comparison: every repaint decodes every image again.
void BM_FullGridRepaintZoom4Decoding(benchmark::State& state)
{
    FullGridRepaint(state, false);
}
BENCHMARK(BM_FullGridRepaintZoom4Decoding)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
