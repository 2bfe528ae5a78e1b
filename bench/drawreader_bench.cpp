// The draw reader over a history of the real one's size: one pass handing on every record, the
// counting pass and the tail of the full list, each beside the plain reader (the whole file read
// into memory, split into lines, every field read on its own).
#include "common/core/draws.h"
#include "common/core/textfile.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

// The reading the streaming reader replaced, kept here as the reference.
uint32_t plainPass(const QString& path) {
    const auto bytes = dz::readFileBytes(path);
    uint32_t acc = 0;
    for (auto line : dz::splitLines(*bytes)) {
        const std::string_view item = dz::firstItem(line);
        for (int i = 1; i <= 8; ++i) acc += uint32_t(dz::fieldValue(item, dz::numberColumn(i)));
    }
    return acc;
}

BENCHMARK(bench::plainPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

// The streaming pass with the baseline instructions alone, as a processor without AVX2 runs it.
void BM_StreamingPassBaseline(benchmark::State& st) {
    dz::useBaselineLineScan(true);
    bench::streamingPass(st);
    dz::useBaselineLineScan(false);
}
BENCHMARK(BM_StreamingPassBaseline)->Unit(benchmark::kMillisecond);

void BM_ReaderPass(benchmark::State& st) {
    for (auto _ : st) {
        const auto f = dz::DrawFile::load(bench::historyFile());
        uint32_t acc = 0;
        dz::forEachDraw(*f, [&](const dz::DrawLine& l) { acc += l.record.mask; });
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(BM_ReaderPass)->Unit(benchmark::kMillisecond);

void BM_PlainReaderPass(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(plainPass(bench::historyFile()));
}
BENCHMARK(BM_PlainReaderPass)->Unit(benchmark::kMillisecond);

void BM_ReaderCount(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(dz::DrawFile::load(bench::historyFile())->size());
}
BENCHMARK(BM_ReaderCount)->Unit(benchmark::kMillisecond);

void BM_ReaderTail32700(benchmark::State& st) {
    for (auto _ : st) {
        const auto f = dz::DrawFile::load(bench::historyFile());
        size_t n = 0;
        dz::DrawReader r = dz::DrawReader::tail(*f, dz::kFullListLimit);
        for (auto b = r.next(); !b.empty(); b = r.next()) n += b.size();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ReaderTail32700)->Unit(benchmark::kMillisecond);

}  // namespace
