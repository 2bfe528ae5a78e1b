#include "keyeval/tests/support/reference.h"

#include "common/core/keyfile.h"
#include "common/core/random.h"

#include <algorithm>
#include <bit>
#include <memory>

namespace dz::keyeval::testing {

QStringList hitLines(const PeriodDraws& draws, const std::vector<Hit>& hits) {
    QStringList out;
    out.reserve(qsizetype(hits.size()));
    for (const Hit& h : hits) out << hitLine(draws.key(h.draw), h);
    return out;
}

namespace {
QStringList inOrder(const QStringList& lines, const std::vector<size_t>& order) {
    QStringList out;
    out.reserve(lines.size());
    for (size_t i : order) out << lines[qsizetype(i)];
    return out;
}
}  // namespace

QStringList orderByClass(QStringList hitLines) { return inOrder(hitLines, textOrder(hitLines, true)); }

QStringList orderByDraw(QStringList hitLines) { return inOrder(hitLines, textOrder(hitLines, false)); }

WinningsResult evaluateWinnings(std::span<const dz::DrawRecord> records, size_t first, size_t last,
                                std::span<const uint32_t> rowMasks, std::span<const RepeatRow> repeats,
                                const std::array<bool, 5>& extra, int minHits, Progress* progress, size_t lineBase,
                                HitMethod method) {
    WinningsResult r;
    r.rows = static_cast<long long>(rowMasks.size());
    if (records.empty() || first >= records.size() || first > last) return r;
    last = std::min(last, records.size() - 1);
    r.any = true;
    r.recordsRead = lineBase + std::min(records.size(), last + 2);
    const size_t count = last - first + 1;
    const WinningsEngine engine(rowMasks, repeats, extra, minHits, count, method);

    r.draws = static_cast<long long>(count);
    r.stake = r.draws * engine.drawCost();
    const size_t kept = std::min<size_t>(count, size_t(dz::kRowLimit));
    r.keptFirst = last + 1 - kept;
    r.nets.assign(kept, 0);

    if (progress) progress->recordsRead = int64_t(lineBase + first);
    const auto sum = engine.run(records, first, last, r.nets.data(), r.keptFirst, progress);
    if (!sum) {
        WinningsResult stopped;
        stopped.stopped = true;
        stopped.rows = r.rows;
        return stopped;
    }
    r.balance = *sum;
    r.keptFirst += lineBase;
    r.winnings = r.stake + r.balance;
    if (progress) progress->recordsRead = int64_t(r.recordsRead);
    return r;
}

WinningsResult evaluateWinnings(const EvaluationInput& in, Progress* progress) {
    WinningsResult r;
    if (!in.draws || !in.key) return r;
    r.rows = static_cast<long long>(in.key->rowCount());
    if (!in.span.any) {
        r.recordsRead = in.span.recordsRead;
        return r;
    }
    if (in.key->badLine) {
        // A reread per draw meets the bad line in the first draw, before any result is listed.
        r.any = true;
        r.badLine = true;
        r.recordsRead = in.span.first + 1;
        return r;
    }
    // The period's records, read whole as "Kezdés" reads them; their indexes start at the period.
    const std::span<const dz::DrawRecord> records(in.draws->records);
    if (records.empty()) return r;
    r = evaluateWinnings(records, 0, records.size() - 1, in.key->masks, in.key->repeats, in.settings.extra,
                         in.settings.minHits, progress, in.draws->span.first, in.settings.hitMethod);
    if (!r.stopped) r.recordsRead = in.span.recordsRead;
    if (progress && !r.stopped) progress->recordsRead = int64_t(r.recordsRead);
    return r;
}

QStringList resultLines(const PeriodDraws& draws, const WinningsResult& result) {
    QStringList lines;
    lines.reserve(qsizetype(result.nets.size()));
    for (size_t i = 0; i < result.nets.size(); ++i) lines << resultLine(draws.key(result.keptFirst + i), result.nets[i]);
    return lines;
}

Span findSpan(const DrawFile& draws, const QString& fromKey, const QString& toKey) {
    const QByteArray from = fromKey.toLatin1(), to = toKey.toLatin1();
    return passPeriod(draws, std::string_view(from.constData(), size_t(from.size())),
                      std::string_view(to.constData(), size_t(to.size())), nullptr, true,
                      [](const DrawLine&, std::string_view) { return true; })
        .span;
}

void hitHistogram(const KeyRows& key, uint32_t drawMask, std::array<int64_t, 9>& hist, bool vectorScan) {
    // One draw whose extra number is not played: each row makes one plain play of its class.
    auto draws = std::make_shared<PeriodDraws>();
    DrawRecord rec;
    rec.mask = drawMask;
    rec.extra = 0;
    draws->records.push_back(rec);
    draws->keys.push_back({'2', '0', '1', '0', '0', '1', '0', '1', ' ', '0', '0', '1'});
    draws->keySizes.push_back(12);
    draws->span.reached = draws->span.any = true;
    draws->span.recordsRead = 1;
    EvaluationInput in;
    in.draws = draws;
    in.key = std::shared_ptr<const KeyRows>(std::shared_ptr<void>(), &key);
    in.span = draws->span;
    in.settings.extra[1] = true;
    in.settings.extraCount = 1;
    in.settings.minHits = 8;
    in.settings.hitMethod = HitMethod::Scan;
    in.settings.vectorScan = vectorScan;
    const EvaluationResult r = evaluate(in);
    for (size_t h = 0; h <= 8; ++h) hist[h] += r.plainTally[h + 1];
}

std::string randomRowsText(unsigned seed, int rows) {
    Random rng(seed);
    std::string out;
    for (int i = 0; i < rows; ++i) {
        uint32_t m = 0;
        while (std::popcount(m) < 8) m |= 1u << rng.drawNumber(20);
        out += std::string(key::generatedRowFromMask(m).toLatin1()) + "\r\n";
    }
    return out;
}

std::vector<PeriodCase> streamedPeriods(const std::string& history, size_t n, const std::string& key) {
    auto keyAt = [&](size_t line) { return QString::fromLatin1(history.substr(line * 41, 12)); };
    return {
        {"long period ending before the file's end", keyAt(3), keyAt(n - 2), key},
        {"to the end of the file", keyAt(0), QStringLiteral("99999999 999"), key},
        {"one draw", keyAt(7), keyAt(7), key},
        {"no draw in the period", keyAt(10), keyAt(5), key},
        {"never reached", QStringLiteral("99999999 999"), QStringLiteral("99999999 999"), key},
        {"bad key line", keyAt(4), keyAt(9), key + "01 02 03\r\n"},
    };
}

RunSettings settings(const QString& keyFile, std::initializer_list<int> extras, int minHits, const QString& from,
                     const QString& to) {
    RunSettings s;
    s.keyFile = keyFile;
    for (int e : extras) {
        s.extra[size_t(e)] = true;
        ++s.extraCount;
    }
    s.minHits = minHits;
    s.fromKey = from;
    s.toKey = to;
    return s;
}

}  // namespace dz::keyeval::testing
