// Properties that every reader of the core keeps for any input bytes whatever; shared by the
// bounded random-input test and the fuzz target, so that both look for the same faults.
#pragma once
#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/tests/drawref.h"
#include "common/core/keyfile.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace dz::testing {

// Empty when every property holds, else what broke.
inline std::string checkReaders(std::string_view bytes) {
    // Lines: no line end inside a line.
    const auto lines = splitLines(bytes);
    for (auto l : lines)
        if (l.find('\r') != l.npos || l.find('\n') != l.npos) return "line end inside a line";
    if (!withoutBom(bytes).empty() && lines.empty()) return "text without lines";

    // Input items: no separator or line end inside, no leading blank or tab; the reader ends.
    InputItemReader r(bytes);
    size_t items = 0;
    while (!r.atEnd()) {
        const std::string_view it = r.next();
        if (it.find_first_of(",\r\n") != it.npos) return "separator inside an item";
        if (!it.empty() && (it.front() == ' ' || it.front() == '\t')) return "leading blank in an item";
        if (++items > bytes.size() + 1) return "item reader does not advance";
    }

    // Without commas, the items are the lines read as one field each: the counting passes and
    // the full list see the same draws.
    if (bytes.find(',') == bytes.npos) {
        InputItemReader again(bytes);
        for (auto l : lines) {
            if (again.atEnd() || again.next() != firstItem(l)) return "items differ from the lines' first items";
        }
        if (!again.atEnd()) return "more items than lines";
    }

    // Draw records: fields outside 0..20 are never counted, the mask is the counted fields; the
    // streaming reader reads what the plain reader reads, from the start and for the tail.
    const DrawFile f = DrawFile::fromBytes(std::string(bytes));
    const auto plain = plainRead(bytes);
    const auto streamed = streamRead(f);
    if (f.size() != plain.size()) return "draw count differs from the line count";
    if (streamed != plain) return "streaming reader differs from the plain reader";
    for (size_t last : {size_t(1), size_t(3)}) {
        const auto tail = streamRead(DrawReader::tail(f, last));
        const size_t want = std::min(last, plain.size());
        if (tail.size() != want || !std::equal(tail.begin(), tail.end(), plain.end() - long(want)))
            return "the tail differs from the last lines";
    }
    for (const ReadLine& l : streamed) {
        const DrawRecord& d = l.record;
        if (d.mask & ~0x1FFFFEu) return "mask bit outside 1..20";
        uint32_t m = 0;
        for (int8_t n : d.num) {
            if (n < -1 || n > 20) return "number field outside -1..20";
            if (n > 0) m |= 1u << n;
        }
        if (m != d.mask) return "mask differs from the number fields";
        if (d.extra < -1 || d.extra > 20) return "extra number outside -1..20";
        if (drawKey(l.item).size() > 12 || numbersPart(l.item).size() > 27) return "key or numbers part too long";
        if (l.line.find('\r') != std::string::npos) return "CR in a draw line";
    }
    // The one-go record read agrees with the field-by-field read on any item.
    for (const auto& l : lines) {
        const std::string_view item = firstItem(l);
        const DrawRecord fast = parseDrawRecord(item);
        for (int i = 1; i <= 8; ++i) {
            const int v = fieldValue(item, numberColumn(i));
            if (fast.num[size_t(i - 1)] != (v >= 0 && v <= 20 ? v : -1)) return "record field differs from its value";
        }
    }

    // Key rows, one per line.
    for (auto l : lines) {
        int type = -1;
        const uint32_t m = key::rowMask(l, &type);
        if (m & ~0x1FFFFEu) return "row mask bit outside 1..20";
        if (type < 0) return "negative game type";
        const QString row = cp1250::decode(l);
        for (int j = 0; j <= 3; ++j) {
            const int v = key::rowNumber(row, j);
            if (v < -1000000 || v > 1000000) return "row number beyond its clamp";
        }
    }

    // Numeric values: always a number, the same through both text types for ASCII.
    const std::string_view head = bytes.substr(0, 64);
    const double a = val(head);
    if (std::isnan(a)) return "val gives NaN";
    const QString text = cp1250::decode(head);
    const double b = val(QStringView(text));
    if (std::isnan(b)) return "val gives NaN";
    if (head.find_first_of("123456789") == head.npos && a != 0) return "val of a text without a nonzero digit is not 0";
    bool ascii = true;
    for (char c : head) ascii = ascii && static_cast<unsigned char>(c) < 128;
    if (ascii && !(a == b)) return "val differs between byte and text forms";
    if (isNumeric(text) && head.find_first_not_of(" \t") == head.npos) return "blank text is numeric";
    (void)roundHalfEven(a);
    (void)intPart(a);

    // Every byte maps both ways.
    const QByteArray back = cp1250::encode(cp1250::decode(bytes));
    if (std::string_view(back.constData(), size_t(back.size())) != bytes) return "cp1250 round trip changed bytes";
    return {};
}

}  // namespace dz::testing
