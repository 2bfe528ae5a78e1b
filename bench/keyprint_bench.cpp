// The figures of the keyprint issues: a full type-8 key into a PDF file.
//   32736 rows onto 8184 ticket forms     < 3 s
//   32736 rows as the A4 list             < 2 s
#include "core/a4list.h"
#include "core/printkey.h"
#include "core/tickets.h"
#include "platform/printsurface.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

QStringList fullKey() {
    // Distinct rows, as a generated key has them: the first 8-subsets of 1..20 in order.
    QStringList rows;
    rows.reserve(keyprint::kRowLimit);
    int c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    while (rows.size() < keyprint::kRowLimit) {
        QString row;
        for (int n : c) row += QStringLiteral("%1 ").arg(n, 2, 10, QLatin1Char('0'));
        rows << row;
        int i = 7;
        while (i >= 0 && c[i] == 20 - 7 + i) --i;
        ++c[i];
        for (int j = i + 1; j < 8; ++j) c[j] = c[j - 1] + 1;
    }
    return rows;
}

void BM_TicketFormsToPdf(benchmark::State& state) {
    const QStringList rows = fullKey();
    QTemporaryDir dir;
    keyprint::TicketChoices c;
    c.extras = {true, false, true, false};
    for (auto _ : state) {
        auto job = dz::ui::openPdfPrintJob(dir.path() + QStringLiteral("/tickets.pdf"), QStringLiteral("keyprint"));
        if (!job || !keyprint::printTickets(*job, rows, 0, int(rows.size()) - 1, false, c)) {
            state.SkipWithError("print failed");
            return;
        }
    }
}
BENCHMARK(BM_TicketFormsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_A4ListToPdf(benchmark::State& state) {
    const QStringList rows = fullKey();
    QTemporaryDir dir;
    for (auto _ : state) {
        auto job = dz::ui::openPdfPrintJob(dir.path() + QStringLiteral("/list.pdf"), QStringLiteral("keyprint"));
        if (!job || !keyprint::printKeyList(*job, rows, QStringLiteral("60"))) {
            state.SkipWithError("print failed");
            return;
        }
    }
}
BENCHMARK(BM_A4ListToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
