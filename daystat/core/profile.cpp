#include "daystat/core/profile.h"

#include "common/core/suite.h"

#include <array>

namespace dz::daystat {

namespace {

struct Caption {
    const char* text;
    int blanks;
};
// Index k - 4.
constexpr std::array<Caption, 5> kCaptions{{
    {"  Szám 4-sek statisztikája.", 68},
    {"  Szám 5-sok statisztikája.", 68},
    {"  Szám 6-sok statisztikája.", 69},
    {"  Szám 7-sek statisztikája.", 69},
    {"  Szám 8-sok statisztikája.", 68},
}};

}  // namespace

dz::drawstat::SubsetProfile subsetProfile(int k) {
    // drawstat's window of the same size, then what daystat's lacks or does otherwise
    dz::drawstat::SubsetProfile p = dz::drawstat::drawstatSubsetProfile(k);
    const Caption& c = kCaptions.at(size_t(k - 4));
    p.caption = QString::fromUtf8(c.text) + QString(c.blanks, QLatin1Char(' ')) + dz::signature();
    p.drawFile = QString::fromLatin1(dz::kPartialDayFile);
    p.counterFile = QStringLiteral("vevud%1.dat").arg(k);
    p.listFile = QStringLiteral("legt%1.dat").arg(k);
    p.latestFile.clear();
    p.leastFile.clear();
    // the same question, of the partial-day file
    p.regenQuestion.replace(QStringLiteral("akarja a "), QStringLiteral("akarja a (rész-napi) "));
    p.drawFileMissing = QStringLiteral("Nincs (napi-rész) *Dizov* állomány !");

    p.list1Order = dz::drawstat::ListOrder::Text;
    p.hasList3 = false;
    p.pageHints = dz::drawstat::PageHints::None;

    p.countIn = dz::drawstat::CountInLabel::Unchanged;
    p.loadHint = dz::drawstat::LoadHint::Rows;
    p.mostDrawn = {};  // the threshold method for every size, the rows as hint
    p.leastDrawn = dz::drawstat::LeastDrawn::None;
    p.neverDrawn = {};
    p.neverDrawn.view = dz::drawstat::NeverDrawnRules::View::KeepView;  // the page in view stays in view
    p.lifePath.reset();  // no life path: the pages only in List2
    return p;
}

dz::drawstat::Profile profile() {
    dz::drawstat::Profile p;
    p.files.drawFile = QString::fromLatin1(dz::kPartialDayFile);
    p.files.listFileExt = QStringLiteral(".dat");
    dz::drawstat::Rules& r = p.rules;
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
                          dz::signature();
    p.texts.skipCaptionBlanks = 42;
    p.subsets = subsetProfile;
    return p;
}

}  // namespace dz::daystat
