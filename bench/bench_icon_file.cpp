// Load and save of a 10-image icon, against copying its bytes (the floor for any load and
// save), and describing many small icons as `velmora-icon info` does.

#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icons/icon_directory.h"
#include "support/byte_io.h"
#include "support/file_io.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

using namespace velmora;

namespace fs = std::filesystem;

Bytes BmpImage(int size, int bits)
{
    const int colourRow = (size * bits + 31) / 32 * 4;
    const int maskRow = (size + 31) / 32 * 4;
    const size_t palette = bits <= 8 ? 4u << bits : 0;
    Bytes data(40 + palette + static_cast<size_t>((colourRow + maskRow) * size), 0x5A);
    TBitmapInfoHeader header;
    header.biWidth = size;
    header.biHeight = 2 * size;
    header.biBitCount = static_cast<uint16_t>(bits);
    header.ToBytes(data.data());
    return data;
}

// 16, 24, 32, 48 and 64 pixels at 8 and 32 bits (plus 256 at 32 bits in the large icon).
Bytes TenImageIcon(bool withLarge)
{
    const int sizes[] = { 16, 24, 32, 48, withLarge ? 256 : 64 };
    Bytes file(6 + 16 * 10, 0);
    WriteU16(file.data() + 2, 1);
    WriteU16(file.data() + 4, 10);
    int index = 0;
    for (int bits : { 8, 32 }) {
        for (int size : sizes) {
            Bytes image = BmpImage(size, bits);
            TIconDirectoryEntry entry;
            entry.Width = static_cast<uint8_t>(size);
            entry.Height = static_cast<uint8_t>(size);
            entry.Planes = 1;
            entry.BitCount = static_cast<uint16_t>(bits);
            entry.BytesInRes = static_cast<uint32_t>(image.size());
            entry.ImageOffset = static_cast<uint32_t>(file.size());
            entry.WriteToRecord(file.data() + 6 + 16 * index++);
            file.insert(file.end(), image.begin(), image.end());
        }
    }
    return file;
}

fs::path ScratchDir()
{
    static const fs::path dir = [] {
        fs::path path = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return dir;
}

void BM_LoadSaveTenImages(benchmark::State& state)
{
    const fs::path in = ScratchDir() / "ten.ico";
    const fs::path out = ScratchDir() / "ten-out.ico";
    const Bytes file = TenImageIcon(state.range(0) != 0);
    WriteFileAtomically(in, file);
    for (auto _ : state) {
        TIconDirectory document;
        document.LoadFromFile(in);
        document.SaveToFile(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_LoadSaveTenImages)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The floor: reading the file and writing it back the same safe way a save does.
void BM_CopyTenImageBytes(benchmark::State& state)
{
    const fs::path in = ScratchDir() / "ten.ico";
    const fs::path out = ScratchDir() / "ten-copy.ico";
    const Bytes file = TenImageIcon(state.range(0) != 0);
    WriteFileAtomically(in, file);
    for (auto _ : state) {
        Bytes bytes = ReadFileBytes(in);
        WriteFileAtomically(out, bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_CopyTenImageBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The other half of the floor: copying the bytes and decoding every image once, as a save
// checks each image before it writes.
void BM_CopyAndDecodeTenImages(benchmark::State& state)
{
    const fs::path in = ScratchDir() / "ten.ico";
    const fs::path out = ScratchDir() / "ten-copy.ico";
    const Bytes file = TenImageIcon(state.range(0) != 0);
    WriteFileAtomically(in, file);
    TIconDirectory document;
    document.LoadFromFile(in);
    for (auto _ : state) {
        Bytes bytes = ReadFileBytes(in);
        WriteFileAtomically(out, bytes);
        for (int i = 0; i < document.Count(); ++i)
            benchmark::DoNotOptimize(DecodeIcon(*document.GetImage(i).Icon));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_CopyAndDecodeTenImages)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LoadSmallIcons(benchmark::State& state)
{
    const int count = 100;
    const Bytes file = TenImageIcon(false);
    for (int i = 0; i < count; ++i)
        WriteFileAtomically(ScratchDir() / ("small-" + std::to_string(i) + ".ico"), file);
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            TIconDirectory document;
            benchmark::DoNotOptimize(
                document.LoadFromFile(ScratchDir() / ("small-" + std::to_string(i) + ".ico")));
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LoadSmallIcons)->Unit(benchmark::kMicrosecond);

// A hostile file for the lenient load, which decodes what it keeps: a directory of N entries
// over one 256-pixel PNG stream. The time must follow the file's size, not N decodings.
void BM_LoadReadableSharedPng(benchmark::State& state)
{
    const auto count = static_cast<size_t>(state.range(0));
    const Bytes png = EncodePng(TBitmap(256, 256, TPixelFormat::pf32bit));
    Bytes file(6 + 16 * count, 0);
    WriteU16(file.data() + 2, 1);
    WriteU16(file.data() + 4, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        TIconDirectoryEntry entry;
        entry.Planes = 1;
        entry.BitCount = 32;
        entry.BytesInRes = static_cast<uint32_t>(png.size());
        entry.ImageOffset = static_cast<uint32_t>(file.size());
        entry.WriteToRecord(file.data() + 6 + 16 * i);
    }
    file.insert(file.end(), png.begin(), png.end());
    const fs::path name = ScratchDir() / "shared-png.ico";
    WriteFileAtomically(name, file);
    for (auto _ : state) {
        TIconDirectory document;
        std::vector<TUnreadableImage> lost;
        benchmark::DoNotOptimize(document.LoadReadableFromFile(name, lost));
    }
}
BENCHMARK(BM_LoadReadableSharedPng)->Arg(16)->Arg(65535)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
