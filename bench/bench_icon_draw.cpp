// Icon image decoding and drawing: an 8-bit BMP-style image, a 256 x 256 PNG image, and a
// 48 x 48 image with alpha stretched four times, as the image grid draws zoomed cells.
#include "graphics/bitmap_info_header.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_draw.h"
#include "graphics/png_codec.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

// A 32 x 32 image of 8 bits: header, 256-entry palette, colour rows, mask rows.
Bytes EightBitImage()
{
    TBitmapInfoHeader header;
    header.biWidth = 32;
    header.biHeight = 64;
    header.biBitCount = 8;
    Bytes data(TBitmapInfoHeader::Size);
    header.ToBytes(data.data());
    for (int i = 0; i < 256; ++i)
        data.insert(data.end(), { uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0 });
    for (int i = 0; i < 32 * 32; ++i)
        data.push_back(static_cast<uint8_t>(i * 13));
    for (int i = 0; i < 32 * 4; ++i)
        data.push_back(static_cast<uint8_t>(i % 3 == 0 ? 0xF0 : 0));
    return data;
}

TBitmap Gradient(int w, int h)
{
    TBitmap bitmap(w, h, TPixelFormat::pf32bit);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x ^ y);
            p[3] = static_cast<uint8_t>((x + y) * 3);
        }
    }
    return bitmap;
}

void BM_DecodeEightBit32(benchmark::State& state)
{
    const Bytes data = EightBitImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeIconImage(data));
}
BENCHMARK(BM_DecodeEightBit32);

void BM_DecodePng256(benchmark::State& state)
{
    const Bytes data = EncodePng(Gradient(256, 256));
    state.counters["png_bytes"] = static_cast<double>(data.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeIconImage(data));
}
BENCHMARK(BM_DecodePng256);

void BM_DrawAlpha48Stretched4(benchmark::State& state)
{
    TIconImage image;
    image.Pixels = Gradient(48, 48);
    image.Mask.assign(48 * 48, 0);
    image.HasAlpha = true;
    image.BitCount = 32;
    TBitmap dest(192, 192, TPixelFormat::pf32bit);
    for (auto _ : state) {
        DrawIcon(dest, 0, 0, 192, 192, image);
        benchmark::DoNotOptimize(dest.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * 192 * 192);
}
BENCHMARK(BM_DrawAlpha48Stretched4);

} // namespace

BENCHMARK_MAIN();
