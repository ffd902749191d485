// Reading hostile animated cursors: 64 MiB of empty chunks (the most chunks a file of the
// largest accepted size holds) and the largest number of frames with a step sequence as long
// as the reader keeps. Both must cost what the file's bytes cost, not a product of counts.

#include "icons/animated_cursor.h"
#include "support/byte_io.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace
{

using namespace velmora;

void PutChunk(Bytes& file, const char* id, uint32_t size)
{
    const size_t at = file.size();
    file.resize(at + 8 + size, 0);
    std::memcpy(file.data() + at, id, 4);
    WriteU32(file.data() + at + 4, size);
}

Bytes Start()
{
    Bytes file;
    PutChunk(file, "RIFF", 0);
    file.insert(file.end(), { 'A', 'C', 'O', 'N' });
    PutChunk(file, "anih", 36);
    return file;
}

// One frame: a cursor file header of one image, enough to pass as a frame.
void PutFrames(Bytes& file, size_t count)
{
    const size_t list = file.size();
    PutChunk(file, "LIST", 4);
    std::memcpy(file.data() + list + 8, "fram", 4);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = file.size();
        PutChunk(file, "icon", 6);
        WriteU16(file.data() + at + 10, 2);
        WriteU16(file.data() + at + 12, 1);
    }
    WriteU32(file.data() + list + 4, static_cast<uint32_t>(file.size() - list - 8));
}

void BM_ManyEmptyChunks(benchmark::State& state)
{
    Bytes file = Start();
    PutFrames(file, 1);
    while (file.size() + 8 <= TAnimatedCursor::MaxFileBytes)
        PutChunk(file, "junk", 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAnimatedCursor(file));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ManyEmptyChunks)->Unit(benchmark::kMillisecond);

void BM_MostFramesLongestSequence(benchmark::State& state)
{
    Bytes file = Start();
    PutFrames(file, TAnimatedCursor::MaxFrames);
    const size_t at = file.size();
    PutChunk(file, "seq ", 4 * TAnimatedCursor::MaxSteps);
    for (size_t i = 0; i < TAnimatedCursor::MaxSteps; ++i)
        WriteU32(
            file.data() + at + 8 + 4 * i, static_cast<uint32_t>(i % TAnimatedCursor::MaxFrames));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAnimatedCursor(file));
}
BENCHMARK(BM_MostFramesLongestSequence)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
