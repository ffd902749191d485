// Removing images named by size and depth from an icon whose directory holds 65535 entries
// sharing one image: the cost follows the entries times the choices given, never a product of
// the file's own counts.
#include "icons/icon_directory.h"
#include "icons/image_removal.h"
#include "support/byte_io.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

// count entries that all point at one 16 x 16 32-bit image; entry i claims the i-th size
// and bit count 1 + i % 32.
Bytes SharedImageIcon(int count)
{
    Bytes image;
    AppendU32(image, 40); // biSize(4)
    AppendU32(image, 16); // biWidth(4)
    AppendU32(image, 32); // biHeight(4)
    AppendU16(image, 1); // biPlanes(2)
    AppendU16(image, 32); // biBitCount(2)
    image.resize(40 + 16 * 16 * 4 + 16 * 4, 0);
    Bytes file;
    AppendU16(file, 0); // idReserved(2)
    AppendU16(file, 1); // idType(2)
    AppendU16(file, static_cast<uint16_t>(count)); // idCount(2)
    for (int i = 0; i < count; ++i) {
        file.push_back(static_cast<uint8_t>(i % 256)); // bWidth(1)
        file.push_back(static_cast<uint8_t>(i / 256)); // bHeight(1)
        file.push_back(0); // bColorCount(1)
        file.push_back(0); // bReserved(1)
        AppendU16(file, 1); // wPlanes(2)
        AppendU16(file, static_cast<uint16_t>(1 + i % 32)); // wBitCount(2)
        AppendU32(file, static_cast<uint32_t>(image.size())); // dwBytesInRes(4)
        AppendU32(file, 6 + 16 * static_cast<uint32_t>(count)); // dwImageOffset(4)
    }
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// range(0) choices of the form WxH@BPP, each naming some of the entries, against 65535 entries.
void RemoveBySizeAndDepth(benchmark::State& state)
{
    const Bytes file = SharedImageIcon(65535);
    // Choices of the formats of entries spread over the directory, so that each names some.
    std::vector<TImageChoice> choices;
    TIconDirectory formats;
    formats.LoadFromBytes("hostile.ico", file, true);
    for (int i = 0; i < state.range(0); ++i) {
        const TIconDirectoryEntry& entry = formats.GetEntry(i * 997 % formats.Count());
        choices.push_back(*ParseImageChoice(std::to_string(entry.ImageWidth()) + "x"
            + std::to_string(entry.ImageHeight()) + "@" + std::to_string(entry.BitCount)));
    }
    for (auto _ : state) {
        state.PauseTiming();
        TIconDirectory document;
        const bool loaded = document.LoadFromBytes("hostile.ico", file, true);
        state.ResumeTiming();
        benchmark::DoNotOptimize(loaded ? RemoveImages(document, choices) : std::nullopt);
        benchmark::DoNotOptimize(document.Count());
    }
}
BENCHMARK(RemoveBySizeAndDepth)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
