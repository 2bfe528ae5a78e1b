// libFuzzer target over keyeval's runs on a draw file: the bytes are the draw file, the key is
// fixed. The winnings streamed from the file must equal the run over the period read whole, and
// the hit list's records must give the lines, classes and orders that its lines as strings give.
// Any broken property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "tests/fuzz/scratch.h"
#include "common/core/draws.h"
#include "common/core/textfmt.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/hitlist.h"
#include "keyeval/core/winnings.h"
#include "keyeval/tests/support/reference.h"

#include <QString>
#include <cstdio>
#include <string>

namespace {
[[noreturn]] void fault(const char* what) { dz::fuzz::fault("evaluation", what); }

// Rows of eight numbers, a number named twice, leading blanks and a blank line.
const QString& keyFile() {
    static const QString path = [] {
        const QString p = dz::fuzz::scratchFile("evalkey.txt");
        std::FILE* f = std::fopen(p.toLocal8Bit().constData(), "wb");
        if (!f) fault("key file");
        std::fputs("01 02 03 04 05 06 07 08\r\n01 01 02 03 04 05 06 07\r\n\r\n 11 12 13 14 15 16 17 18 \r\n", f);
        std::fclose(f);
        return p;
    }();
    return path;
}

void check(const dz::DrawFile& file, const QString& from, const QString& to) {
    using namespace dz::keyeval;
    using namespace dz::keyeval::testing;
    RunSettings s;
    s.keyFile = keyFile();
    s.extra = {false, true, false, true, false};
    s.extraCount = 2;
    s.minHits = 4;
    s.fromKey = from;
    s.toKey = to;
    const auto in = gatherInput(s, file);
    const auto key = readKey(keyFile());
    if (!in || !key) fault("key file");

    const WinningsResult want = evaluateWinnings(*in);
    const StreamedWinnings got = streamWinnings(file, s, *key);
    const WinningsResult& r = got.money;
    if (got.span.reached != in->span.reached || got.span.any != in->span.any || got.span.first != in->span.first ||
        got.span.recordsRead != in->span.recordsRead)
        fault("streamed span");
    if (r.any != want.any || r.badLine != want.badLine || r.recordsRead != want.recordsRead || r.draws != want.draws ||
        r.stake != want.stake || r.winnings != want.winnings || r.balance != want.balance || r.nets != want.nets)
        fault("streamed winnings");
    if (dz::allLines(ResultLines(got.rows)) != resultLines(*in->draws, want)) fault("result lines");

    EvaluationResult e = evaluate(*in);
    if (e.hits.size() > kHitListCap) fault("hit list past the cap");
    const HitList list(in->draws, std::move(e.hits));
    const QStringList lines = dz::allLines(list);
    for (int i = 0; i < list.count(); ++i)
        if (list.classText(i) != dz::mid(lines[i], 18, 2)) fault("class of a line");
    if (dz::allLines(*list.byClass()) != orderByClass(lines)) fault("class order");
    if (dz::allLines(*list.byDraw()) != orderByDraw(lines)) fault("draw order");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const dz::DrawFile file = dz::DrawFile::fromBytes(bytes);
    check(file, QStringLiteral("0"), QStringLiteral("99999999 999"));
    // A period from the first line's first 12 bytes to the same key's draw 999.
    const QString first = QString::fromLatin1(bytes.substr(0, std::min<size_t>(12, bytes.find_first_of("\r\n"))));
    check(file, first, first.left(9) + QStringLiteral("999"));
    return 0;
}
