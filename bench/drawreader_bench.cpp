// The draw reader over a history of the real one's size: one pass handing on every record, the
// counting pass and the tail of the full list, each beside the whole-file reader (the file read
// into memory, split into lines, every field read on its own).
#include "common/core/draws.h"
#include "common/core/textfile.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

// The reading the streaming reader replaced, kept here as the reference: the sum of every line's
// number fields, and the lines read.
struct WholeFileTally {
    uint32_t sum = 0;
    long long lines = 0;
};
WholeFileTally wholeFileTally(const QString& path) {
    const auto bytes = dz::readFileBytes(path);
    WholeFileTally t;
    if (!bytes) return t;
    for (auto line : dz::splitLines(*bytes)) {
        const std::string_view item = dz::firstItem(line);
        for (int i = 1; i <= 8; ++i) t.sum += uint32_t(dz::fieldValue(item, dz::numberColumn(i)));
        ++t.lines;
    }
    return t;
}

BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

// The streaming pass with the baseline instructions alone, as a processor without AVX2 runs it.
void BM_StreamingPassBaseline(benchmark::State& st) { bench::streamingPassWith(st, dz::LineScan::Baseline); }
BENCHMARK(BM_StreamingPassBaseline)->Unit(benchmark::kMillisecond);

void BM_ReaderPass(benchmark::State& st) {
    uint32_t acc = 0;
    for (auto _ : st) {
        const auto f = dz::DrawFile::load(bench::historyFile());
        acc = 0;
        dz::forEachDraw(*f, [&](const dz::DrawLine& l) { acc += l.record.mask; });
        benchmark::DoNotOptimize(acc);
    }
    bench::require(st, acc == bench::historyTally(), "the reader did not read the history");
}
BENCHMARK(BM_ReaderPass)->Unit(benchmark::kMillisecond);

void BM_PlainReaderPass(benchmark::State& st) {
    WholeFileTally t;
    for (auto _ : st) {
        t = wholeFileTally(bench::historyFile());
        benchmark::DoNotOptimize(t.sum);
    }
    bench::requireCount(st, t.lines, bench::historyDraws(), "lines read");
}
BENCHMARK(BM_PlainReaderPass)->Unit(benchmark::kMillisecond);

void BM_ReaderCount(benchmark::State& st) {
    size_t n = 0;
    for (auto _ : st) {
        n = dz::DrawFile::load(bench::historyFile())->size();
        benchmark::DoNotOptimize(n);
    }
    bench::requireCount(st, static_cast<long long>(n), bench::historyDraws(), "lines counted");
}
BENCHMARK(BM_ReaderCount)->Unit(benchmark::kMillisecond);

void BM_ReaderTail32700(benchmark::State& st) {
    size_t n = 0;
    for (auto _ : st) {
        const auto f = dz::DrawFile::load(bench::historyFile());
        n = 0;
        dz::DrawReader r = dz::DrawReader::tail(*f, dz::kFullListLimit);
        for (auto b = r.next(); !b.empty(); b = r.next()) n += b.size();
        benchmark::DoNotOptimize(n);
    }
    bench::requireCount(st, static_cast<long long>(n), std::min<long long>(dz::kFullListLimit, bench::historyDraws()),
                        "lines of the tail");
}
BENCHMARK(BM_ReaderTail32700)->Unit(benchmark::kMillisecond);

}  // namespace
