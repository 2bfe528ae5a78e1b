// The workshop's operations on key rows and marks, without widgets: each takes the loaded key,
// its analysis and the board's marks, and gives back the new key or the refusal to show.
#pragma once
#include "common/core/suite.h"
#include "csere/core/keyrows.h"
#include "common/core/random.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace dz::csere {

// Every refusal and notice of the operations, with its number argument where it has one.
enum class Msg {
    None,
    // the swap family, titled "Számcsere"
    NoKey,           // "Nincs kulcs kiválasztva !"
    ExactCount,      // "Pontosan " str(arg) " számot kell kiválasztani !"
    NoReplaced,      // "Nincs CSERÉLENDŐ szám kiválasztva !"
    NoSwapChosen,    // "Nincs CSERE kiválasztva !"
    BadSwapChoice,   // "Hibás CSERE kiválasztás !"
    NoFix,           // "Nincs FIX kiválasztva !"
    BadFix,          // "Hibás FIX kiválasztás !" CR arg "-s szám már szerepel a kulcsban !"
    // random selection and extension, titled dz::signature()
    BadCount,        // "Hibás szám darab megadás !"
    BadFrom,         // "Hibás - Tól: - megadás !"
    BadTo,           // "Hibás - Ig: - megadás !"
    BadRange,        // "Hibás intervallum <-> darab összefüggés !"
    NoKeyLoaded,     // "Nincs kulcs betöltve !"
    BadNewType,      // "Nincs jól megadva az új típus !" CR "Minimum: " str(arg)
    MaxType8,        // "Maximum 8-s típus adható meg !"
    NotEnoughMarked, // "Nincs elég szám kijelölve !" CR "Minimum: " str(arg)
    RowsLeftOut,     // notice: arg rows could not be extended
    // full combinations, titled dz::signature()
    NoVariedCount,   // "Nincs megadva, hogy hány számot variáljak !"
    BadVariedCount,  // "Hibás variált szám megadás !"
    Max20,           // "Maximum 20 szám adható meg !"
    MaxRows,         // "Maximum 32736 soros kulcs generálható!"
    // the pairing window, titled dz::signature()
    NoRowI,          // "Nincs listasor (I.) kiválasztva "
    NoRowII,
    NoRowIII,
    UnpairedI,       // "Nincs minden listasor (I.) párosítva "
    UnpairedII,
};

struct Message {
    Msg code = Msg::None;
    long long arg = 0;
    explicit operator bool() const { return code != Msg::None; }
    QString text() const;
    QString title() const;
    // A notice (information icon) rather than a refusal (critical icon).
    bool notice() const { return code == Msg::RowsLeftOut; }
};

struct OpResult {
    Message msg;
    QStringList rows;  // the new key, in the order produced (the list sorts it)
};

// "Vazoz": the key's numbers, ascending, replaced one for one by the marked ones, ascending.
OpResult swapNumbers(const QStringList& key, const KeyAnalysis& a, uint32_t marks);
// "1 szám->xx.": x (the echoed number, 0 for none) replaced in every row that holds it by all
// marked numbers.
OpResult replaceOne(const QStringList& key, const KeyAnalysis& a, uint32_t marks, int x);
// "Fix": every marked number added to every row.
OpResult addFix(const QStringList& key, const KeyAnalysis& a, uint32_t marks);

// A box's whole number: nullopt for anything but an optional sign and digits (blanks around).
std::optional<long long> wholeNumber(const QString& text);

// "Véletlen kijel.": count distinct numbers of from..to, drawn from rng (not reseeded).
struct RandomSelection {
    Message msg;
    uint32_t marks = 0;
};
RandomSelection randomSelection(const QString& count, const QString& from, const QString& to, dz::Random& rng);

// "Véletlen bővítés": every row extended to the new type with numbers drawn among the marked
// ones it lacks. A row that cannot reach the new type is left out and counted (msg RowsLeftOut,
// with the rows that could be extended in rows). cur is the shown game type; rng is reseeded
// from the clock once the checks passed.
OpResult extendRandom(const QStringList& key, int cur, const QString& newType, uint32_t marks, dz::Random& rng);

// "Eloszlás": one line per number found: two blanks, "00", two blanks, str(count).
QStringList distribution(const QStringList& key);

// Full combinations of 1..N for type t; countShown is C(N, t) once the range checks passed.
struct Combinations {
    Message msg;
    std::optional<long long> countShown;
    QStringList rows;
};
// progress, when given, is called with the rows made so far at every whole multiple of the type's
// progress step (100 rows for types 2 to 4, 1000 for 5 to 8).
Combinations fullCombinations(const QString& countText, int t, const std::function<void(long long rows)>& progress = {});
// The spin buttons: the box's value plus or minus one as a plain number (down stops at 1).
QString spinText(const QString& text, int step);

// The pairing of "Irányított csere": marked numbers (list I) against key numbers (list II),
// pairs in list III as key number, two blanks, marked number.
class Pairing {
public:
    Pairing(uint32_t marks, uint32_t presence);
    const QStringList& listI() const { return i_; }
    const QStringList& listII() const { return ii_; }
    const QStringList& listIII() const { return iii_; }
    // "Párosít" with the selected rows (-1: none); None also when a list is empty (nothing done).
    Message pair(int indexI, int indexII);
    // "Vissza" with the selected pair.
    Message undo(int indexIII);
    // Pairs every remaining item at random ("Véletlen párosítás"), reseeding rng from the clock
    // first; nothing when list I or II is empty.
    void pairRandomly(dz::Random& rng);
    // "Cserél": the key rewritten by the pairing (rows re-sorted), or the refusal.
    struct Substitution {
        Message msg;
        QStringList rows;
        QStringList pairLines;  // " " + each pair, for the main window's list
    };
    Substitution substitute(const QStringList& key) const;

private:
    QStringList i_, ii_, iii_;
};

}  // namespace dz::csere
