// Icons that are heavy by their counts, not their bytes: entries that share one image but
// claim many bit counts and sizes (a grid of depths x sizes cells with one image per column),
// and images of 8192 x 8192 pixels drawn in small cells. Measures what a pane does with them:
// opening (load and grid), a zoom change, sorting, selecting every cell, and a repaint of the
// large images with the bytes the cache of decoded pictures then holds.
#include "graphics/bitmap.h"
#include "graphics/decoded_icon_cache.h"
#include "pane/icon_pane.h"
#include "pane/quiet_pane_platform.h"
#include "platform/clipboard.h"
#include "support/byte_io.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

using namespace velmora;

// The header of a BMP-style image: width, height of colour and mask rows, bit count, and the
// colour table of a 1-bit image.
Bytes ImageHeader(int32_t width, int32_t height, uint16_t bitCount)
{
    Bytes header;
    AppendU32(header, 40); // biSize(4)
    AppendU32(header, static_cast<uint32_t>(width)); // biWidth(4)
    AppendU32(header, static_cast<uint32_t>(2 * height)); // biHeight(4)
    AppendU16(header, 1); // biPlanes(2)
    AppendU16(header, bitCount); // biBitCount(2)
    for (int i = 0; i < 6; ++i)
        AppendU32(header, 0); // compression, size, resolutions, colours used and important
    return header;
}

// Entries that all point at one 16 x 16 32-bit image: entry i claims bit count
// 1 + i % depths and the i-th distinct size.
Bytes SharedImageIcon(int depths, int sizes)
{
    Bytes image = ImageHeader(16, 16, 32);
    image.resize(image.size() + 16 * 16 * 4 + 16 * 4, 0x80);
    Bytes file;
    AppendU16(file, 0);
    AppendU16(file, 1);
    AppendU16(file, static_cast<uint16_t>(sizes));
    const uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes);
    for (int i = 0; i < sizes; ++i) {
        file.push_back(static_cast<uint8_t>(i % 256)); // bWidth(1)
        file.push_back(static_cast<uint8_t>(i / 256)); // bHeight(1)
        file.push_back(0); // bColorCount(1)
        file.push_back(0); // bReserved(1)
        AppendU16(file, 1); // wPlanes(2)
        AppendU16(file, static_cast<uint16_t>(1 + i % depths)); // wBitCount(2)
        AppendU32(file, static_cast<uint32_t>(image.size())); // dwBytesInRes(4)
        AppendU32(file, offset); // dwImageOffset(4)
    }
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// count images of 8192 x 8192 pixels at 1 bit sharing one header and palette, their pixels
// past the end of the file; entry i claims (i + 1) x (i + 1) pixels.
Bytes LargeImagesIcon(int count)
{
    constexpr int side = 8192;
    Bytes image = ImageHeader(side, side, 1);
    for (uint8_t value : { 0, 0, 0, 0, 255, 255, 255, 0 })
        image.push_back(value);
    const uint32_t bytes = 48 + 2 * (side / 8) * side;
    Bytes file;
    AppendU16(file, 0);
    AppendU16(file, 1);
    AppendU16(file, static_cast<uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        file.push_back(static_cast<uint8_t>(i + 1)); // bWidth(1)
        file.push_back(static_cast<uint8_t>(i + 1)); // bHeight(1)
        file.push_back(2); // bColorCount(1)
        file.push_back(0); // bReserved(1)
        AppendU16(file, 1); // wPlanes(2)
        AppendU16(file, 1); // wBitCount(2)
        AppendU32(file, bytes); // dwBytesInRes(4)
        AppendU32(file, 6 + 16 * static_cast<uint32_t>(count)); // dwImageOffset(4)
    }
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::string WriteScratch(const Bytes& bytes, const char* name)
{
    const std::string path = (std::filesystem::temp_directory_path()
        / ("velmora-bench-" + std::to_string(::getpid()) + name))
                                 .string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Opening: load, counts, grid and selection, as OpenIcon of a script does.
void OpenSharedImageIcon(benchmark::State& state)
{
    const std::string path
        = WriteScratch(SharedImageIcon(64, static_cast<int>(state.range(0))), ".ico");
    for (auto _ : state) {
        TQuietPanePlatform platform;
        TIconPane pane(platform);
        pane.OpenIconFile(path);
        benchmark::DoNotOptimize(pane.Grid().ColCount());
    }
    std::remove(path.c_str());
}
BENCHMARK(OpenSharedImageIcon)->Arg(2048)->Arg(4096)->Arg(65064)->Unit(benchmark::kMillisecond);

// A zoom change, a sort and a selection of every cell on an open icon.
void ZoomSortSelectAll(benchmark::State& state)
{
    const std::string path
        = WriteScratch(SharedImageIcon(64, static_cast<int>(state.range(0))), ".ico");
    TQuietPanePlatform platform;
    TIconPane pane(platform);
    pane.OpenIconFile(path);
    pane.UpdateActions();
    int zoom = 1;
    for (auto _ : state) {
        zoom = zoom % TIconPane::MaxZoom + 1;
        pane.SetZoom(zoom);
        pane.Execute(TPaneAction::ImageSort);
        const TImageGrid& grid = pane.Grid();
        pane.StringGridMainClick({ 1, 1, grid.ColCount() - 1, grid.RowCount() - 1 });
        benchmark::DoNotOptimize(pane.SelectedImages().Count());
    }
    std::remove(path.c_str());
}
BENCHMARK(ZoomSortSelectAll)->Arg(4096)->Arg(65064)->Unit(benchmark::kMillisecond);

// Every cell of fifteen 8192 x 8192 images painted at zoom 4 from a cold cache; the counter
// gives the bytes the cache holds afterwards.
void PaintLargeImages(benchmark::State& state)
{
    const std::string path = WriteScratch(LargeImagesIcon(15), "-large.ico");
    TQuietPanePlatform platform;
    TIconPane pane(platform);
    pane.OpenIconFile(path);
    pane.SetZoom(4);
    const TImageGrid& grid = pane.Grid();
    for (auto _ : state) {
        TDecodedIconCache::Instance().Clear();
        for (int col = 1; col < grid.ColCount(); ++col) {
            TBitmap canvas(grid.ColWidth(col), grid.RowHeight(1), TPixelFormat::pf32bit);
            pane.PaintImageCell(col, 1, canvas, TRect { 0, 0, canvas.Width(), canvas.Height() });
            benchmark::DoNotOptimize(canvas.Pixels().data());
        }
    }
    state.counters["cache_MiB"]
        = static_cast<double>(TDecodedIconCache::Instance().HeldBytes()) / (1 << 20);
    std::remove(path.c_str());
}
BENCHMARK(PaintLargeImages)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
