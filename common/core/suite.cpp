#include "common/core/suite.h"

namespace dz {

QString signature(int year) { return QLatin1String(kSignature) + QLatin1Char('/') + QString::number(year); }

}  // namespace dz
