#include "profile.h"

namespace daystat {

drawstat::Profile profile() {
    drawstat::Profile p;
    p.files.drawFile = QString::fromLatin1(dz::kPartialDayFile);
    p.files.listFileExt = QStringLiteral(".dat");
    p.files.listMessageExt = QStringLiteral(".dat");
    drawstat::Rules& r = p.rules;
    r.analysesNeedStart = false;
    r.startRepeats = true;
    r.classLists = false;
    r.identityListsAll = true;
    r.runsFromWindow = true;
    r.runDigitFirst = true;
    r.backtestFromWindow = true;
    r.randomKeepsExtras = true;
    r.lifePathListsAll = true;
    r.intervalTallyJoined = true;
    r.fullListAll = true;
    p.texts.mainCaption = QStringLiteral("  DIZOV részhúzás-statisztika") + QString(40, QLatin1Char(' ')) +
                          QStringLiteral("Vumo-Soft/2010");
    p.texts.skipCaptionBlanks = 42;
    return p;
}

}  // namespace daystat
