#include "keyeval/core/evalbuild.h"

#include "common/core/suite.h"
#include "common/core/draws.h"

namespace dz::keyeval {

const Build& keyevalBuild() {
    static const Build b{
        QStringLiteral("keyeval"),
        QString::fromLatin1(kDrawHistoryFile),
        QStringLiteral("Nincs *vevud.txt* állomány !"),
        QString(),
        QString(),
        QStringLiteral("  DIZOV kulcs kiértékelés                              ") + dz::signature(2013),
    };
    return b;
}

const Build& keyevalDayBuild() {
    static const Build b{
        QStringLiteral("keyevalday"),
        QString::fromLatin1(kPartialDayFile),
        QStringLiteral("Nincs *vevud.dat* napi-rész állomány !"),
        QStringLiteral("Nincs napi-rész DIZOV állomány!"),
        dz::signature(2018),
        QStringLiteral("  DIZOV kulcs kiértékelés napi.                        ") + dz::signature(2013),
    };
    return b;
}

}  // namespace dz::keyeval
