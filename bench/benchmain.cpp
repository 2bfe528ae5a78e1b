// The benchmarks' main: an offscreen application, since many of them fill real list widgets and
// show real windows. The binary ends non-zero when a benchmark reported an error, so that a script
// running it notices a run that did not produce its result.
#include "bench/benchutil.h"

#include "common/core/startup.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace bench {

namespace {

// Whether the history holds no draws (found by the main before the benchmarks run), and whether
// the running benchmark read it then.
bool historyEmpty = false;
bool emptyHistoryRead = false;
void noteRead() { emptyHistoryRead = emptyHistoryRead || historyEmpty; }

}  // namespace

namespace {
// A line of /proc/self/status in kB ("VmHWM:", "VmRSS:"); -1 when it cannot be read.
long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine())
        if (line.startsWith(field)) return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}
}  // namespace

PeakMemory::PeakMemory() {
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly) && reset.write("5") == 1) startKb_ = statusKb("VmRSS:");
}

void PeakMemory::report(benchmark::State& st) const {
    const long peak = statusKb("VmHWM:");
    if (startKb_ < 0 || peak < 0) return;
    st.counters["peakMB"] = double(peak) / 1024.0;
    st.counters["runMB"] = double(peak - startKb_) / 1024.0;
}

const QString& historyFile() {
    noteRead();
    static QTemporaryDir dir;
    static const QString path = [] {
        // A history written before (tools/mkdraws), so that a memory measurement of one benchmark
        // does not count the making of the history.
        const QString given = qEnvironmentVariable("DIZOV_BENCH_HISTORY");
        if (!given.isEmpty()) return QFileInfo(given).absoluteFilePath();
        const QString p = dir.path() + QStringLiteral("/vevud.txt");
        dz::writeBytes(p, dz::synthDrawHistory(kHistoryDraws));
        return p;
    }();
    return path;
}

uint32_t fixedColumnTally(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    uint32_t acc = 0;
    auto tally = [&](const char* p, const char* e) {
        if (e > p && e[-1] == '\r') --e;
        if (e - p < 39) return;
        uint32_t m = 0;
        for (int i = 0; i < 8; ++i) {
            const unsigned a = unsigned(p[13 + 3 * i] - '0'), b = unsigned(p[14 + 3 * i] - '0');
            const unsigned v = a * 10 + b;
            if (a <= 9 && b <= 9 && v >= 1 && v <= 20) m |= 1u << v;
        }
        acc += m;
    };
    std::vector<char> buf(size_t(1) << 20);
    size_t have = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buf.data() + have, buf.size() - have);
        if (n <= 0) break;
        have += size_t(n);
        const char* p = buf.data();
        const char* end = p + have;
        while (const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) {
            tally(p, nl);
            p = nl + 1;
        }
        have = size_t(end - p);
        std::memmove(buf.data(), p, have);
        if (have == buf.size()) have = 0;  // a line longer than the buffer: its head is dropped
    }
    if (have > 0) tally(buf.data(), buf.data() + have);
    ::close(fd);
    return acc;
}

uint32_t historyTally() {
    noteRead();
    static const uint32_t tally = fixedColumnTally(historyFile());
    return tally;
}

const dz::DrawFile& history() {
    noteRead();
    static const dz::DrawFile f = *dz::DrawFile::load(historyFile());
    return f;
}

const std::vector<dz::DrawRecord>& historyRecords() {
    noteRead();
    static const std::vector<dz::DrawRecord> recs = [] {
        std::vector<dz::DrawRecord> out;
        dz::forEachDraw(history(), [&](const dz::DrawLine& l) { out.push_back(l.record); });
        return out;
    }();
    return recs;
}

bool placeHistory(const QString& folder) {
    const QString from = historyFile();
    for (const char* name : {dz::kDrawHistoryFile, dz::kPartialDayFile}) {
        const QString to = folder + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo(to).absoluteFilePath() == from) continue;  // the history is that file already
        // a copy, not a link: a window that writes the file it read never reaches the given one
        QFile::remove(to);
        if (!QFile::copy(from, to)) return false;
    }
    return true;
}

const QString& historyFolder() {
    noteRead();
    static QTemporaryDir dir;
    static const QString path = [] {
        if (!placeHistory(dir.path())) {
            std::fprintf(stderr, "cannot place the history in %s\n", qPrintable(dir.path()));
            std::exit(2);
        }
        return dir.path();
    }();
    return path;
}

namespace {

// Hands every report on to the display reporter the flags chose, and notes the runs that ended
// in an error. The runs of a benchmark that read a history with no draws are handed on as failed.
class ErrorNoting : public benchmark::BenchmarkReporter {
public:
    explicit ErrorNoting(benchmark::BenchmarkReporter* shown) : shown_(shown) {}
    bool failed() const { return failed_; }

    bool ReportContext(const Context& context) override {
        shown_->SetOutputStream(&GetOutputStream());
        shown_->SetErrorStream(&GetErrorStream());
        return shown_->ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> out = runs;
        int timed = 0;
        for (Run& r : out) {
            timed += !r.error_occurred;
            if (emptyHistoryRead && !r.error_occurred) {
                r.error_occurred = true;
                r.error_message = "the history holds no draws";
            }
            failed_ = failed_ || r.error_occurred;
        }
        // The aggregates of two or more timed repetitions follow in a call of their own; after
        // them (or after the runs, when none follow) the next benchmark's reads are its own.
        const bool aggregatesFollow =
            !out.empty() && out[0].run_type == Run::RT_Iteration && out[0].repetitions > 1 && timed >= 2;
        if (!aggregatesFollow) emptyHistoryRead = false;
        shown_->ReportRuns(out);
    }
    void Finalize() override { shown_->Finalize(); }

private:
    benchmark::BenchmarkReporter* shown_;
    bool failed_ = false;
};

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    // The windows measured here keep their memory as the programs do.
    dz::keepFreedMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The history is opened and counted here, outside every timing; one that does not open is no
    // history to measure.
    if (!QFileInfo(bench::historyFile()).isFile() || !dz::DrawFile::load(bench::historyFile())) {
        std::fprintf(stderr, "no draw history to read at %s\n", qPrintable(bench::historyFile()));
        return 2;
    }
    bench::historyEmpty = bench::history().empty();
    bench::emptyHistoryRead = false;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    bench::ErrorNoting reporter(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.failed() ? 1 : 0;
}
