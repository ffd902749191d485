// Importing a bitmap, exporting an 8-bit image, painting a grid cell at zoom 4, and loading
// plus saving against decoding each image once.

#include "colors/pixel_format_codes.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/icon_decoder.h"
#include "icons/icon_directory.h"
#include "icons/icon_paint.h"
#include "support/file_io.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace
{

using namespace velmora;
namespace fs = std::filesystem;

TBitmap Picture(int size, TPixelFormat format)
{
    TBitmap bitmap(size, size, format);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            SetPixelColor(bitmap, x, y,
                RGB(static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 3),
                    static_cast<uint8_t>((x * y) & 0xFF)));
    return bitmap;
}

fs::path Scratch(const std::string& name)
{
    static const fs::path dir = [] {
        fs::path path
            = fs::temp_directory_path() / ("velmora-bench-ie-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return dir / name;
}

void BM_ImportBitmap72(benchmark::State& state)
{
    const TBitmap picture = Picture(72, TPixelFormat::pf32bit);
    for (auto _ : state) {
        TIconDirectory document;
        benchmark::DoNotOptimize(document.ImportBitmap(picture));
    }
}
BENCHMARK(BM_ImportBitmap72)->Unit(benchmark::kMicrosecond);

// An 8-bit image of many colours: render, analyse, reduce with the octree and write.
void BM_ExportEightBitImage(benchmark::State& state)
{
    TIconDirectory source;
    source.ImportBitmap(Picture(state.range(0), TPixelFormat::pf24bit));
    // Present the imported image as an 8-bit one: the export renders at the entry's depth.
    source.GetEntry(0).BitCount = 8;
    const std::string target = Scratch("export.bmp").string();
    for (auto _ : state)
        source.ExportImageToBitmapFile(target, 0, RGB(255, 0, 255));
}
BENCHMARK(BM_ExportEightBitImage)->Arg(48)->Arg(72)->Unit(benchmark::kMicrosecond);

void BM_PaintCellZoom4(benchmark::State& state)
{
    SetScreenColorDepth(state.range(0));
    TIconDirectory document;
    document.ImportBitmap(Picture(48, TPixelFormat::pf32bit));
    TBitmap canvas(48 * 4, 48 * 4, TPixelFormat::pf32bit);
    const TIcon& icon = *document.GetImage(0).Icon;
    for (auto _ : state)
        PaintIconInRect(&canvas, TRect { 0, 0, 48 * 4, 48 * 4 }, icon, RGB(255, 255, 225), 32);
    SetScreenColorDepth(32);
}
BENCHMARK(BM_PaintCellZoom4)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
