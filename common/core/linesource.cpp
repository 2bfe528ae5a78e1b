#include "common/core/linesource.h"

namespace dz {

QStringList allLines(const LineSource& s) {
    QStringList out;
    out.reserve(s.count());
    for (int i = 0; i < s.count(); ++i) out.append(s.line(i));
    return out;
}

}  // namespace dz
