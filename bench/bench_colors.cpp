// Colour reduction and colour analysis of pictures with many colours.

#include "colors/bitmap_analysis.h"
#include "colors/color_reduction.h"
#include "graphics/bitmap.h"

#include <benchmark/benchmark.h>
#include <random>

namespace
{

using namespace velmora;

/// A 24-bit picture of smooth gradients with noise: many distinct colours, as rendered icons
/// have, rather than pure noise.
TBitmap ManyColours(int size)
{
    TBitmap bitmap(size, size, TPixelFormat::pf24bit);
    std::mt19937 random(42);
    for (int y = 0; y < size; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const auto noise = static_cast<int>(random() % 16);
            row[x * 3 + 0] = static_cast<uint8_t>((x * 255 / size + noise) & 0xFF);
            row[x * 3 + 1] = static_cast<uint8_t>((y * 255 / size + noise) & 0xFF);
            row[x * 3 + 2] = static_cast<uint8_t>(((x + y) * 127 / size + 3 * noise) & 0xFF);
        }
    }
    return bitmap;
}

void BM_ReduceBitmapColorsOptimized(benchmark::State& state)
{
    const TBitmap source = ManyColours(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TBitmap bitmap = source;
        ReduceBitmapColors(bitmap, crmOptimized);
        benchmark::DoNotOptimize(bitmap.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_ReduceBitmapColorsOptimized)->Arg(72)->Arg(256)->Unit(benchmark::kMicrosecond);

void BM_AnalyzeBitmap(benchmark::State& state)
{
    const TBitmap source = ManyColours(static_cast<int>(state.range(0)));
    TBitmapColorInfo info;
    for (auto _ : state) {
        AnalyzeBitmap(&source, true, true, info);
        benchmark::DoNotOptimize(info.ColorCount);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_AnalyzeBitmap)->Arg(256)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
