// keyedit: a full key of 32736 rows loaded, cut and saved through the editor window, each as
// one press of its button.
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "common/platform/dialogs.h"
#include "common/platform/widgets.h"
#include "keyedit/ui/editorwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

#include <memory>

namespace {

struct Editor {
    QTemporaryDir dir;
    QString keyFile;
    std::unique_ptr<dz::keyedit::KeyEditorWindow> w;
    Editor() {
        dz::setProgramFolder(dir.path());
        keyFile = dir.path() + QStringLiteral("/kulcs.txt");
        bench::writeFullKey(keyFile, 11);
        dz::ui::seam::enable(true);
        w = std::make_unique<dz::keyedit::KeyEditorWindow>();
        w->Form_Load();
        w->show();
        QApplication::processEvents();
    }
    ~Editor() {
        w.reset();
        dz::ui::seam::enable(false);
        dz::setProgramFolder(QString());
    }
    void load() {
        dz::ui::seam::reset();
        dz::ui::seam::queueFile(keyFile);
        w->Command3D1_Click();
    }
};

void BM_EditorLoad(benchmark::State& state) {
    Editor e;
    for (auto _ : state) {
        e.load();
        QApplication::processEvents();
        if (!bench::requireCount(state, e.w->List2->count(), dz::kRowLimit, "rows loaded")) break;
    }
}
BENCHMARK(BM_EditorLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorCutFromTheLeft(benchmark::State& state) {
    Editor e;
    e.load();
    e.w->Text3->setText(QStringLiteral("4"));
    for (auto _ : state) {
        e.w->Command3D5_Click();
        QApplication::processEvents();
        if (!bench::requireCount(state, e.w->List3->count(), dz::kRowLimit, "rows cut")) break;
    }
}
BENCHMARK(BM_EditorCutFromTheLeft)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorSave(benchmark::State& state) {
    Editor e;
    e.load();
    e.w->Text3->setText(QStringLiteral("4"));
    e.w->Command3D5_Click();
    QApplication::processEvents();
    const QString out = e.dir.path() + QStringLiteral("/mkulcs.txt");
    for (auto _ : state) {
        dz::ui::seam::reset();
        dz::ui::seam::queueFile(out);
        e.w->Command3D3_Click();
        QApplication::processEvents();
        if (!bench::require(state, dz::ui::seam::messages().empty(), "not saved")) break;
    }
    bench::requireCount(state, bench::fileLines(out), dz::kRowLimit, "rows saved");
}
BENCHMARK(BM_EditorSave)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
