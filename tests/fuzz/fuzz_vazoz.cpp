// libFuzzer target over vazoz's key row reader and its selection file reader: any bytes read as
// a key and run through the analysis and every operation, and read as a selection. Any broken
// property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "common/core/cp1250.h"
#include "csere/core/keyfiles.h"
#include "csere/core/keyrows.h"
#include "csere/core/operations.h"
#include "common/core/textfile.h"

#include <bit>

namespace {
constexpr uint32_t kNumbers = 0x1FFFFEu;

[[noreturn]] void fail(const char* what) { dz::fuzz::fault("vazoz", what); }

// A produced row: "00 " fields of 1..20 only, ascending unless the swap kept a raw field.
void checkProduced(const QStringList& rows, bool ascending) {
    for (const QString& row : rows) {
        if (row.size() % 3) fail("a produced row is not whole fields");
        int last = 0;
        for (int j = 1; j <= row.size() / 3; ++j) {
            const dz::csere::Field f = dz::csere::field(row, j);
            if (f.kind != dz::csere::FieldKind::Number) fail("a produced field is no number");
            if (ascending && f.number < last) fail("a produced row is not ascending");
            last = f.number;
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (dz::csere::parseSelection(bytes) & ~kNumbers) fail("selection outside 1..20");

    // the key as the load reads it: items up to the first empty one
    QStringList key;
    dz::InputItemReader r(bytes);
    while (!r.atEnd() && key.size() < 2000) {
        const std::string_view item = r.next();
        if (item.empty()) break;
        key << dz::cp1250::decode(item);
    }
    const dz::csere::AnalysisOutcome o = dz::csere::analyseKey(key);
    if (o.rejectedRow) {
        if (!(o.analysis == dz::csere::KeyAnalysis{})) fail("a rejected key keeps figures");
        return 0;
    }
    const dz::csere::KeyAnalysis& a = o.analysis;
    if (a.presence & ~kNumbers) fail("presence outside 1..20");
    if (a.distinct != std::popcount(a.presence) || a.rowCount != key.size()) fail("analysis counts");

    const uint32_t others = kNumbers & ~a.presence;
    const uint32_t one = others & (~others + 1);
    dz::csere::OpResult res = dz::csere::swapNumbers(key, a, a.presence);
    if (a.distinct && (res.msg || res.rows.size() != key.size())) fail("swap onto its own numbers");
    res = dz::csere::replaceOne(key, a, others, a.presence ? std::countr_zero(a.presence) : 0);
    if (!res.msg) checkProduced(res.rows, true);
    res = dz::csere::addFix(key, a, one);
    if (!res.msg) checkProduced(res.rows, true);
    dz::Random rng(size);
    res = dz::csere::extendRandom(key, a.gameType, QStringLiteral("8"), kNumbers, rng);
    if (!res.msg || res.msg.notice()) checkProduced(res.rows, true);
    for (const QString& line : dz::csere::distribution(key))
        if (!line.startsWith(QLatin1String("  "))) fail("distribution line");
    dz::csere::Pairing p(a.presence, a.presence);
    p.pairRandomly(rng);
    const auto sub = p.substitute(key);
    if (sub.msg || sub.rows.size() != key.size()) fail("substitution");
    checkProduced(sub.rows, true);
    const dz::csere::KeyAnalysis back = dz::csere::analyseTakenBack(key);
    if (back.presence != a.presence) fail("take-back analysis differs");
    return 0;
}
