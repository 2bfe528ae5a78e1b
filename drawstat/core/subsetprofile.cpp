#include "drawstat/core/subsetprofile.h"

#include "common/core/suite.h"
#include "drawstat/core/subsetfile.h"

#include <array>

namespace dz::drawstat {

int SubsetProfile::records() const { return subsetCount(k); }

namespace {

struct BySize {
    const char* window;
    const char* caption;
    int blanks;
    const char* plural;    // "szám-négyesek" (the regeneration question)
    const char* singular;  // "számnégyes" (count-in, never drawn, life path)
    const char* listWord;  // most-drawn message: "számnégyesek", in the larger windows the singular
    int pageCount;
};

// Index k - 4.
constexpr std::array<BySize, 5> kBySize{{
    {"negyes", "  Szám 4-sek statisztikája (4845).", 57, "szám-négyesek", "számnégyes", "számnégyesek", 0},
    {"otos", "  Szám 5-sok statisztikája (15504).", 56, "szám-ötösök", "számötös", "számötösök", 0},
    {"hatos", " Szám 6-sok statisztikája (38760).", 56, "szám-hatosok", "számhatos", "számhatos", 2},
    {"hetes", "  Szám 7-sek statisztikája (77520).", 69, "szám-hetesek", "számhetes", "számhetes", 3},
    {"nyolcas", "  Szám 8-sok statisztikája (125970).", 55, "szám-nyolcasok", "számnyolcas", "számnyolcas", 4},
}};

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

SubsetProfile drawstatSubsetProfile(int k) {
    const BySize& b = kBySize.at(size_t(k - 4));
    SubsetProfile p;
    p.k = k;
    p.windowName = u(b.window);
    p.caption = u(b.caption) + QString(b.blanks, QLatin1Char(' ')) + dz::signature();
    p.drawFile = QStringLiteral("vevud.txt");
    p.counterFile = QStringLiteral("vevud%1.txt").arg(k);
    p.listFile = QStringLiteral("legt%1.txt").arg(k);
    p.latestFile = QStringLiteral("utolso%1.txt").arg(k);
    if (k == 7) p.leastFile = QStringLiteral("legk7.txt");

    p.regenQuestion = u("Biztos, hogy törölni akarja a ") + u(b.plural) + u(" állományát ?");
    p.countInMissing = u("Nincs a ") + u(b.singular) + u(" állomány begenerálva !");
    p.mostDrawnMissing = u("Nincs a ") + u(b.listWord) + u(" állomány begenerálva !");
    p.neverDrawnMissing = p.countInMissing;
    p.drawFileMissing = u("Nincs *Dizov* állomány !");

    p.pageCount = b.pageCount;
    p.list1Order = k == 7 ? ListOrder::Added : ListOrder::Text;
    p.hasList3 = k != 8;
    p.pageHints = k == 8 ? PageHints::RowCount : PageHints::None;

    p.countIn = CountInLabel::FollowsDraws;
    p.loadHint = k == 7 ? LoadHint::RowsAndBlank : k == 8 ? LoadHint::RowsOnceLatestRead : LoadHint::Rows;
    if (k >= 7) p.mostDrawn = {MostDrawnRules::Method::SortAll, MostDrawnRules::Hint::DrawnAndRows};
    p.leastDrawn = k == 7 ? LeastDrawn::Pages : k == 6 ? LeastDrawn::Fallback : LeastDrawn::None;
    p.neverDrawn.view = NeverDrawnRules::View::ShowFirstPage;
    p.neverDrawn.start = k == 6   ? NeverDrawnRules::Start::ClearLabel2
                         : k == 7 ? NeverDrawnRules::Start::SearchFirst
                                  : NeverDrawnRules::Start::List;
    p.neverDrawn.leadingBlank = k == 8;

    LifePathRules& life = p.lifePath.emplace();
    life.caption = QStringLiteral("%1-s életút").arg(k);
    if (p.hasLeastCheck()) {
        life.noSelection = u("Nincs ") + u(b.singular) + u(" kijelölve (legtöbbet) !");
        life.noSelectionLeast = u("Nincs ") + u(b.singular) + u(" kijelölve (legkevesebbet) !");
    } else {
        life.noSelection = u("Nincs ") + u(b.singular) + u(" kijelölve !");
    }
    switch (k) {
    case 8:
    case 6: life.closingLead = QString(14, QLatin1Char(' ')) + QStringLiteral("* "); break;
    case 7: life.closingLead = QStringLiteral("*") + QString(13, QLatin1Char(' ')) + QStringLiteral("* "); break;
    default: life.closingLead = QString(13, QLatin1Char(' ')) + QStringLiteral("* "); break;
    }
    life.closingSpacer = QString(k >= 6 ? 5 : k == 5 ? 4 : 3, QLatin1Char(' '));
    life.clearsLabel2 = k == 6;
    life.back = k == 6 ? LifePathRules::Back::DoubleClick : LifePathRules::Back::OptionsHide;
    return p;
}

}  // namespace dz::drawstat
