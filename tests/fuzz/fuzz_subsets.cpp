// libFuzzer target over the subset statistics' readers: a counter file of any content (cut,
// grown, letters), the draw file of a count-in and of a life path, and list rows edited by hand.
// The counter file keeps its size, counts stay within five digits, nothing reads out of bounds.
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "drawstat/tests/support/drawstatsupport.h"

#include <cstdlib>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // the counter file work at the two small sizes (the larger only cost time), the life path at any
    const int k = 4 + (size ? data[0] % 2 : 0);
    const SubsetProfile p = drawstatSubsetProfile(k);
    const SubsetProfile lifeProfile = drawstatSubsetProfile(4 + (size > 1 ? data[1] % 5 : 0));

    // The input laid over a zeroed file of the right size, and taken as it is (mostly the wrong size).
    std::string file = zeroedCounterFile(k);
    for (size_t i = 0; i < size && i < file.size(); ++i) file[(i * 7919) % file.size()] = bytes[i];
    if (CounterFile::fromBytes(k, std::string(bytes)) && size != file.size()) std::abort();
    auto f = CounterFile::fromBytes(k, file);
    if (!f) std::abort();
    for (int r = 1; r <= f->records(); ++r)
        if (f->count(r) < 0 || f->count(r) > kMaxHitCount) std::abort();
    const MostDrawnResult most = mostDrawn(*f, p);
    if (most.rows->count() > dz::kRowLimit) std::abort();
    dz::allLines(*most.rows);
    neverDrawn(*f, p);
    const QString row = QString::fromLatin1(bytes.data(), qsizetype(std::min<size_t>(size, 200)));
    leastDrawn(*f, row);

    // The input as a draw file.
    const size_t before = f->bytes().size();
    const CountInResult r = countIn(*f, bytes);
    if (f->bytes().size() != before) std::abort();
    if (r.counted && r.lastCountedKey.size() != 12) std::abort();
    for (int rec = 1; rec <= f->records(); ++rec)
        if (f->count(rec) > kMaxHitCount) std::abort();
    const LifePathResult life = lifePath(bytes, lifeProfile, lifePathNumberText(row, lifeProfile.k));
    if (life.rows->count() != life.hits + 1) std::abort();
    dz::allLines(*life.rows);
    return 0;
}
