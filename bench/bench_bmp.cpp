// Reading .bmp files from memory: a 256 x 256 picture at 24 bits, and one at 8 bits with
// run-length compression.
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

constexpr int Side = 256;

Bytes TrueColourFile()
{
    TBitmap bitmap(Side, Side, TPixelFormat::pf24bit);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            SetPixelColor(bitmap, x, y,
                RGB(static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)));
    return WriteBmp(bitmap);
}

/// An 8-bit run-length file: bands of 16 pixels as runs, with every fourth row holding a
/// stretch of 32 pixels stored as they are.
Bytes RunLengthFile()
{
    Bytes data;
    for (int line = 0; line < Side; ++line) {
        int x = 0;
        if (line % 4 == 0) {
            data.push_back(0);
            data.push_back(32);
            for (; x < 32; ++x)
                data.push_back(static_cast<uint8_t>(x * 7 + line));
        }
        for (; x < Side; x += 16) {
            data.push_back(16);
            data.push_back(static_cast<uint8_t>((x / 16 + line / 16) % 16));
        }
        data.push_back(0); // end of line
        data.push_back(0);
    }
    data.push_back(0); // end of bitmap
    data.push_back(1);

    Bytes file { 'B', 'M' };
    uint32_t offBits = 14 + 40 + 1024;
    AppendU32(file, offBits + static_cast<uint32_t>(data.size())); // bfSize(4)
    AppendU32(file, 0); // bfReserved1(2), bfReserved2(2)
    AppendU32(file, offBits); // bfOffBits(4)
    TBitmapInfoHeader header;
    header.biWidth = Side;
    header.biHeight = Side;
    header.biBitCount = 8;
    header.biCompression = BI_RLE8;
    header.biSizeImage = static_cast<uint32_t>(data.size());
    file.resize(14 + 40);
    header.ToBytes(file.data() + 14);
    for (int i = 0; i < 256; ++i)
        AppendU32(file, static_cast<uint32_t>(i * 0x010101));
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void ReadTrueColour(benchmark::State& state)
{
    Bytes file = TrueColourFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadBmp(file));
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(ReadTrueColour);

void ReadRunLength8(benchmark::State& state)
{
    Bytes file = RunLengthFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadBmp(file));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Side * Side);
}
BENCHMARK(ReadRunLength8);

} // namespace

BENCHMARK_MAIN();
