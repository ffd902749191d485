// What the undo history costs a command that changes a document: a copy of the whole document
// before the command, a comparison after it, and the step kept. Icons with 12 and 138 images
// (every size from 4 to 72 pixels at 24 and 32 bits, about 0.9 MiB).
#include "bench_pictures.h"
#include "graphics/bitmap_ops.h"
#include "icons/icon_directory.h"
#include "pane/undo_history.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

void MakeIcon(TIconDirectory& icon, int images)
{
    for (int size = 72; size >= 4 && icon.Count() < images; --size)
        for (TPixelFormat format : { TPixelFormat::pf24bit, TPixelFormat::pf32bit })
            if (icon.Count() < images)
                icon.ImportBitmap(bench::GradientPicture(size, format));
}

// One recorded command: the copy before, the comparison after, the step kept in a history
// that is full (its oldest step goes).
void RecordOneStep(benchmark::State& state)
{
    TIconDirectory icon;
    MakeIcon(icon, static_cast<int>(state.range(0)));
    TUndoHistory history(100);
    int revision = 0;
    for (auto _ : state) {
        TDocumentSnapshot before = TDocumentSnapshot::Take(icon, revision);
        benchmark::DoNotOptimize(before.SameAs(icon));
        history.Record("Sort by format", false, std::move(before));
        ++revision;
    }
    state.counters["images"] = icon.Count();
    state.counters["history_MiB"] = static_cast<double>(history.Bytes()) / (1 << 20);
    state.counters["steps"] = static_cast<double>(history.UndoCount());
}
BENCHMARK(RecordOneStep)->Arg(12)->Arg(138)->Unit(benchmark::kMicrosecond);

// An undo: the document now kept for redo, the earlier state put back.
void UndoOneStep(benchmark::State& state)
{
    TIconDirectory icon;
    MakeIcon(icon, static_cast<int>(state.range(0)));
    TUndoHistory history;
    for (auto _ : state) {
        history.Record("Delete image", false, TDocumentSnapshot::Take(icon, 0));
        const TUndoHistory::TStep step = history.Undo(TDocumentSnapshot::Take(icon, 1));
        step.State.RestoreInto(icon, false);
    }
}
BENCHMARK(UndoOneStep)->Arg(12)->Arg(138)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
