#include "subsetprofile.h"

#include "subsetfile.h"

#include <array>

namespace drawstat {

int SubsetProfile::records() const { return subsetCount(k); }

namespace {

struct BySize {
    const char* window;
    const char* caption;
    int blanks;
    const char* plural;    // "szám-négyesek" (the regeneration question)
    const char* singular;  // "számnégyes" (count-in, never drawn, life path)
    const char* listWord;  // most-drawn message: "számnégyesek", in the larger windows the singular
    int list2Count;
    int pageCount;
};

// Index k - 4.
constexpr std::array<BySize, 5> kBySize{{
    {"negyes", "  Szám 4-sek statisztikája (4845).", 57, "szám-négyesek", "számnégyes", "számnégyesek", 1, 0},
    {"otos", "  Szám 5-sok statisztikája (15504).", 56, "szám-ötösök", "számötös", "számötösök", 1, 0},
    {"hatos", " Szám 6-sok statisztikája (38760).", 56, "szám-hatosok", "számhatos", "számhatos", 3, 2},
    {"hetes", "  Szám 7-sek statisztikája (77520).", 69, "szám-hetesek", "számhetes", "számhetes", 4, 3},
    {"nyolcas", "  Szám 8-sok statisztikája (125970).", 55, "szám-nyolcasok", "számnyolcas", "számnyolcas", 5, 4},
}};

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

SubsetProfile drawstatSubsetProfile(int k) {
    const BySize& b = kBySize.at(size_t(k - 4));
    SubsetProfile p;
    p.k = k;
    p.windowName = u(b.window);
    p.caption = u(b.caption) + QString(b.blanks, QLatin1Char(' ')) + QStringLiteral("Vumo-Soft/2010");
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

    p.list2Count = b.list2Count;
    p.pageCount = b.pageCount;
    p.list1Sorted = k != 7;
    p.hasList3 = k != 8;
    p.hasLatestLabel = true;
    p.hasCheck = k == 6 || k == 7;
    p.lifePath = true;
    p.lifePathCaption = QStringLiteral("%1-s életút").arg(k);
    if (p.hasCheck) {
        p.noSelection = u("Nincs ") + u(b.singular) + u(" kijelölve (legtöbbet) !");
        p.noSelectionLeast = u("Nincs ") + u(b.singular) + u(" kijelölve (legkevesebbet) !");
    } else {
        p.noSelection = u("Nincs ") + u(b.singular) + u(" kijelölve !");
    }
    switch (k) {
    case 8:
    case 6: p.closingLead = QString(14, QLatin1Char(' ')) + QStringLiteral("* "); break;
    case 7: p.closingLead = QStringLiteral("*") + QString(13, QLatin1Char(' ')) + QStringLiteral("* "); break;
    default: p.closingLead = QString(13, QLatin1Char(' ')) + QStringLiteral("* "); break;
    }
    p.closingSpacer = QString(k >= 6 ? 5 : k == 5 ? 4 : 3, QLatin1Char(' '));

    p.countInProgress = true;
    p.sortMethod = k >= 7;
    p.leastDrawnPages = k == 7;
    p.hintWithDrawn = k >= 7;
    p.loadHintTrailingBlank = k == 7;
    p.loadHintNeedsLatest = k == 8;
    p.neverDrawnLeadingBlank = k == 8;
    p.neverDrawnShowsFirstPage = true;
    p.neverDrawnSearchFirst = k == 7;
    p.neverDrawnClearsLabel2 = k == 6;
    p.lifePathClearsLabel2 = k == 6;
    p.leastDrawnFallback = k == 6;
    p.pageHints = k == 8;
    p.lifePathBackByDoubleClick = k == 6;
    return p;
}

}  // namespace drawstat
