// The figures of the keyprint issues: a full type-8 key into a PDF file.
//   32736 rows onto 8184 ticket forms     < 3 s
//   32736 rows as the A4 list             < 2 s
#include "keyprint/core/a4list.h"
#include "keyprint/core/printkey.h"
#include "keyprint/core/tickets.h"
#include "common/platform/printsurface.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/benchutil.h"

#include <memory>

namespace {

// The PDF job with its pages counted on the way, so that a run can show that it printed them.
class PageCounting : public dz::PrintSurface {
public:
    explicit PageCounting(std::unique_ptr<dz::PrintSurface> job) : job_(std::move(job)) {}
    long long pages() const { return pages_; }
    void setScale(dz::PrintScale scale) override { job_->setScale(scale); }
    void setFontName(const QString& name) override { job_->setFontName(name); }
    void setFontSize(double points) override { job_->setFontSize(points); }
    void setBold(bool bold) override { job_->setBold(bold); }
    void setCurrentX(double x) override { job_->setCurrentX(x); }
    void setCurrentY(double y) override { job_->setCurrentY(y); }
    void print(const QString& text, bool endLine) override {
        if (!printed_) ++pages_;  // a page counts once something is printed on it
        printed_ = true;
        job_->print(text, endLine);
    }
    void printEmptyLine() override { job_->printEmptyLine(); }
    double textWidth(const QString& text) override { return job_->textWidth(text); }
    double pageHeight() override { return job_->pageHeight(); }
    void newPage() override {
        printed_ = false;
        job_->newPage();
    }
    bool endDoc() override { return job_->endDoc(); }

private:
    std::unique_ptr<dz::PrintSurface> job_;
    long long pages_ = 0;
    bool printed_ = false;
};

std::unique_ptr<PageCounting> pdfJob(const QString& file) {
    auto job = dz::ui::openPdfPrintJob(file, QStringLiteral("keyprint"));
    return job ? std::make_unique<PageCounting>(std::move(job)) : nullptr;
}

QStringList fullKey() {
    // Distinct rows, as a generated key has them: the first 8-subsets of 1..20 in order.
    QStringList rows;
    rows.reserve(dz::kRowLimit);
    int c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    while (rows.size() < dz::kRowLimit) {
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
    const QString pdf = dir.path() + QStringLiteral("/tickets.pdf");
    dz::keyprint::TicketChoices c;
    c.extras = {true, false, true, false};
    long long pages = 0;
    for (auto _ : state) {
        auto job = pdfJob(pdf);
        if (!bench::require(state, job && dz::keyprint::printTickets(*job, rows, 0, int(rows.size()) - 1, false, c),
                            "print failed"))
            return;
        pages = job->pages();
    }
    bench::requireCount(state, pages, dz::kRowLimit / 4, "pages printed");  // a form of four rows a page
    bench::requireSome(state, QFileInfo(pdf).size(), "bytes in " + pdf.toStdString());
}
BENCHMARK(BM_TicketFormsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_A4ListToPdf(benchmark::State& state) {
    const QStringList rows = fullKey();
    QTemporaryDir dir;
    const QString pdf = dir.path() + QStringLiteral("/list.pdf");
    long long pages = 0;
    for (auto _ : state) {
        auto job = pdfJob(pdf);
        if (!bench::require(state, job && dz::keyprint::printKeyList(*job, rows, QStringLiteral("60")), "print failed")) return;
        pages = job->pages();
    }
    bench::requireCount(state, pages, (dz::kRowLimit + 179) / 180, "pages printed");  // three columns of 60 rows
    bench::requireSome(state, QFileInfo(pdf).size(), "bytes in " + pdf.toStdString());
}
BENCHMARK(BM_A4ListToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
