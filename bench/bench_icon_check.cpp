// The check of hostile icon files whose 65535 entries share, overlap or repeat their data, and
// of an ordinary 10-image icon: the work follows the file's size, never entries times entries.

#include "check/icon_check.h"
#include "graphics/bitmap_info_header.h"
#include "icons/icon_directory_entry.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

// A 32-bit image of size x size pixels.
Bytes Image(int size)
{
    Bytes data(40 + static_cast<size_t>(size * size * 4 + (size + 31) / 32 * 4 * size), 0x80);
    TBitmapInfoHeader header;
    header.biWidth = size;
    header.biHeight = 2 * size;
    header.biBitCount = 32;
    header.ToBytes(data.data());
    return data;
}

// count entries; entry i points at image (i % images) with grow * i extra bytes.
Bytes HostileIcon(int count, int images, uint32_t grow)
{
    const Bytes image = Image(32);
    Bytes file(6 + 16 * static_cast<size_t>(count), 0);
    WriteU16(file.data() + 2, 1);
    WriteU16(file.data() + 4, static_cast<uint16_t>(count));
    const size_t first = file.size();
    for (int i = 0; i < images; ++i)
        file.insert(file.end(), image.begin(), image.end());
    file.resize(file.size() + grow * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TIconDirectoryEntry entry;
        entry.Width = entry.Height = 32;
        entry.Planes = 1;
        entry.BitCount = 32;
        entry.BytesInRes = static_cast<uint32_t>(image.size()) + grow * static_cast<uint32_t>(i);
        entry.ImageOffset
            = static_cast<uint32_t>(first + image.size() * static_cast<size_t>(i % images));
        entry.WriteToRecord(file.data() + 6 + 16 * static_cast<size_t>(i));
    }
    return file;
}

void Run(benchmark::State& state, const Bytes& file)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckIconBytes(file).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void BM_CheckTenImages(benchmark::State& state)
{
    Run(state, HostileIcon(10, 10, 0));
}
BENCHMARK(BM_CheckTenImages);

void BM_CheckEntriesOnOneImage(benchmark::State& state)
{
    Run(state, HostileIcon(65535, 1, 0));
}
BENCHMARK(BM_CheckEntriesOnOneImage)->Unit(benchmark::kMillisecond);

void BM_CheckOverlappingEntries(benchmark::State& state)
{
    Run(state, HostileIcon(65535, 1, 1));
}
BENCHMARK(BM_CheckOverlappingEntries)->Unit(benchmark::kMillisecond);

void BM_CheckManyImages(benchmark::State& state)
{
    Run(state, HostileIcon(65535, 65535, 0));
}
BENCHMARK(BM_CheckManyImages)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
