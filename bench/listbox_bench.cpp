// The list box over a million lines made when read (keyeval's hit list after "Kezdés"): a shown
// list given the source, left to settle, then cleared.
#include "common/core/linesource.h"
#include "common/platform/widgets.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr int kLines = 1'000'000;

// Handles events until none is left (layouts, paints).
void settle() {
    for (int i = 0; i < 100 && QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents); ++i) {
    }
}

void BM_ListBoxMillionLines(benchmark::State& state) {
    std::vector<int> records(kLines);
    std::iota(records.begin(), records.end(), 0);
    const auto source = std::make_shared<dz::RecordLines<int>>(
        std::move(records), [](const int& r) { return QStringLiteral("%1  %2").arg(r + 1, 7).arg(r % 90 + 1, 2); });
    const QString first = source->line(0);
    dz::ui::ListBox list;
    list.resize(300, 400);
    list.show();
    settle();
    for (auto _ : state) {
        list.setSource(source);
        settle();
        const bool shown = list.count() == kLines && list.topIndex() == 0 &&
                           list.indexAt(QPoint(1, 1)).data().toString() == first;
        list.clear();
        settle();
        if (!bench::require(state, shown, "a million lines shown from the first")) break;
    }
}
BENCHMARK(BM_ListBoxMillionLines)->Unit(benchmark::kMillisecond);

}  // namespace
