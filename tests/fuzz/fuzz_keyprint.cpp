// libFuzzer target over keyprint's print settings file "beallp.txt": what a start shows of any
// bytes stays within bounds, and a save of that state, read back, gives the same shifts.
#include "keyprint/core/printsettings.h"
#include "common/core/textfmt.h"

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const dz::keyprint::Settings s = dz::keyprint::parseSettings(bytes);
    if (s.mark < 0 || s.mark > 2) std::abort();
    for (const QString* box : {&s.down, &s.right, &s.rowsPerPage})
        if (box->size() > 64) std::abort();
    if (dz::val(QStringView(s.rowsPerPage)) == 0) std::abort();  // 0 is shown as 60

    // A save writes plain numbers that the next start reads back to the same values.
    const QString line = dz::keyprint::settingsLine(s.down, s.right, s.rowsPerPage, s.mark);
    if (line.contains(QStringLiteral("-0,")) || line.startsWith(QStringLiteral("-0,"))) std::abort();
    const std::string back = line.toStdString() + "\r\n";
    const dz::keyprint::Settings t = dz::keyprint::parseSettings(back);
    if (t.mark != s.mark) std::abort();
    // Shifts below a ten-millionth of a millimetre are written as 0.
    auto same = [](double a, double b) {
        return std::abs(a - b) <= 1e-9 || std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
    };
    if (!same(dz::keyprint::shiftValue(t.down), dz::keyprint::shiftValue(s.down))) std::abort();
    if (!same(dz::keyprint::shiftValue(t.right), dz::keyprint::shiftValue(s.right))) std::abort();
    return 0;
}
