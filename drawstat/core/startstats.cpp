#include "startstats.h"

#include "core/textfile.h"
#include "core/textfmt.h"

namespace drawstat {

StartStats computeStart(const dz::DrawFile& file) {
    StartStats s;
    long long count = 0;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        ++count;
        for (int8_t v : l.record.num) {
            if (v < 0) continue;  // a field outside 0..20 is not counted
            s.lastAppearance[size_t(v)] = count;
            ++s.frequency[size_t(v)];
        }
    });
    s.drawCount = count;
    s.tooltip = dz::str(count);
    s.byNumber.reserve(20);
    s.byCount.reserve(20);
    for (int n = 1; n <= 20; ++n) {
        s.byNumber << dz::format(n, "00") + QStringLiteral("  ") + dz::format(s.frequency[size_t(n)], "@@@@@@");
        s.byCount << dz::format(s.frequency[size_t(n)], "@@@@@@") + QStringLiteral("    ") + dz::format(n, "00");
    }
    return s;
}

std::shared_ptr<const dz::LineSource> fullListLines(const dz::DrawFile& file, bool all) {
    // Only what is listed is read: the file's tail, or the whole file when every line is listed.
    // The lines stay the file's bytes until they are shown.
    auto out = std::make_shared<dz::ByteLines>(&dz::decodeCapped);
    if (!all) out->reserve(size_t(dz::kFullListLimit));
    dz::DrawReader r = all ? dz::DrawReader(file) : dz::DrawReader::tail(file, size_t(dz::kFullListLimit));
    for (auto batch = r.next(); !batch.empty(); batch = r.next())
        for (const dz::DrawLine& l : batch) out->append(l.line);
    return out;
}

}  // namespace drawstat
