// ticketclip: a full key of 32736 rows loaded, priced and cut into its first basket part in the
// submission window, as one press of "Kulcs választás" and one of "Feladás előkészítés" do it.
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "common/platform/dialogs.h"
#include "common/platform/widgets.h"
#include "ticketclip/ui/submitwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

void BM_LoadPriceAndFirstPart(benchmark::State& state) {
    QTemporaryDir dir;
    dz::setProgramFolder(dir.path());
    const QString keyFile = dir.path() + QStringLiteral("/kulcs.txt");
    bench::writeFullKey(keyFile, 7);
    dz::ui::seam::enable(true);
    dz::ticketclip::SubmitWindow w;
    w.Form_Load();
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        dz::ui::seam::reset();
        dz::ui::seam::queueFile(keyFile);  // the reset question takes its first button, OK
        w.Command3D4_Click();
        w.Check3[0]->setChecked(true);
        w.SSCommand2_Click();
        QApplication::processEvents();
        // the first basket part takes 28 rows and leaves the rest
        if (!bench::requireCount(state, w.List2->count(), 28, "rows in the part") ||
            !bench::requireCount(state, w.List1->count(), dz::kRowLimit - 28, "rows left"))
            break;
    }
    dz::ui::seam::enable(false);
    dz::setProgramFolder(QString());
}
BENCHMARK(BM_LoadPriceAndFirstPart)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
