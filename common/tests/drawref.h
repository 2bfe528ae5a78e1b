// The draw file as the plain reader reads it (the whole file split into lines, every field read
// one by one), and the streaming reader's lines copied out: the tests compare the two.
#pragma once
#include "common/core/draws.h"
#include "common/core/textfile.h"

#include <string>
#include <string_view>
#include <vector>

namespace dz::testing {

struct ReadLine {
    std::string line, item;
    DrawRecord record;
    bool operator==(const ReadLine& o) const {
        return line == o.line && item == o.item && record.mask == o.record.mask && record.num == o.record.num &&
               record.extra == o.record.extra;
    }
};

// The plain reader: a byte order mark skipped, lines split, the first input item of each read
// field by field; lines and items cut as the streaming reader hands them on.
inline std::vector<ReadLine> plainRead(std::string_view bytes) {
    std::vector<ReadLine> out;  // splitLines drops the byte order mark at the start, and only that one
    for (std::string_view l : splitLines(bytes)) {
        const std::string_view item = firstItem(l);
        ReadLine r;
        r.line = std::string(l.substr(0, kDrawLineKept));
        r.item = std::string(item.substr(0, kDrawItemKept));
        for (int i = 1; i <= 8; ++i) {
            const int v = fieldValue(item, numberColumn(i));
            r.record.num[size_t(i - 1)] = v >= 0 && v <= 20 ? int8_t(v) : int8_t(-1);
            if (v > 0 && v <= 20) r.record.mask |= 1u << v;
        }
        const int e = fieldValue(item, 38);
        r.record.extra = e >= 0 && e <= 20 ? int8_t(e) : int8_t(-1);
        out.push_back(std::move(r));
    }
    return out;
}

// Every line the streaming reader hands on, from firstLine on.
inline std::vector<ReadLine> streamRead(DrawReader r) {
    std::vector<ReadLine> out;
    for (auto batch = r.next(); !batch.empty(); batch = r.next())
        for (const DrawLine& l : batch) out.push_back({std::string(l.line), std::string(l.item), l.record});
    return out;
}
inline std::vector<ReadLine> streamRead(const DrawFile& f, size_t firstLine = 0) {
    return streamRead(DrawReader(f, firstLine));
}

// The records of a file, in line order.
inline std::vector<DrawRecord> allRecords(const DrawFile& f) {
    std::vector<DrawRecord> out;
    forEachDraw(f, [&](const DrawLine& l) { out.push_back(l.record); });
    return out;
}

}  // namespace dz::testing
