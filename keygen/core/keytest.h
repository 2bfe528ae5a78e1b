// The key test by random draws, keygen's and keygengroup's "Random teszt indul".
//
// How a window drives it: not busy? read the boxes into KeyTestInputs (List1's rows, the game
// type t, the chosen flags, boxValue(Text4), boxValue(Text5)); if validateKeyTest() gives a
// message, show it and stop; else empty List4, hourglass, r = runKeyTest(in, rng) (it runs to its
// end, no events, no stop flag), List4 := r.list4, List5 := r.list5, pointer normal.
// Loaded rows with values outside 1..20, or a game type that does not match them, are safe:
// cells outside 1..20 are skipped, and rows whose miss entry falls outside the table count nowhere.
#pragma once
#include "keygen/core/generator.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace dz::keygen {

// Column heads and labels of the test.
inline const QString kTestHeads = QStringLiteral("hiba  0  1  2   3");
inline const QString kTestLabel = QStringLiteral("Teszt :");
inline const QString kHitsLabel = QStringLiteral("Találat :");

struct KeyTestInputs {
    QStringList rows;          // List1, as the list holds them
    long long type = 0;        // t, the program-level game type
    NumberMask chosen = 0;     // chosen flags; N = countOf(chosen)
    double hits = 0;           // h, value of Text4
    double trials = 0;         // T, value of Text5
    bool reseed = true;        // seed from the clock (step 3); tests turn it off
    int tableTop = 21;         // top index of the miss table: keygen 21, keygengroup 11
};

// Step 2: the first failing check, in the order the checks run.
std::optional<Message> validateKeyTest(const KeyTestInputs& in);

struct Trial {
    long long number = 0;          // 1-based trial
    std::array<int, 4> misses{};   // rows missing 0, 1, 2, 3 numbers
    int missClass = -1;            // 0..3 by its best row, -1 for none
};

struct KeyTestResult {
    QStringList list4;                 // one line a trial that was not given up
    QStringList list5;                 // "0 hiba : " & Str(c0) .. "3 hiba : " & Str(c3)
    std::array<long long, 4> classes{};
    std::vector<Trial> trials;         // the trials of list4, in order
    long long givenUp = 0;             // trials dropped after 10000 draws
};

// The trial line: "00", three blanks, then the four counts (shortest form), each with two blanks.
QString trialLine(long long trial, const std::array<int, 4>& misses);
QStringList summaryLines(const std::array<long long, 4>& classes);

// Steps 3..5 (validate first). The numbers 1..20 a row holds for the test: the cells
// 3(a-1)+1, a = 1..t, as whole numbers, those outside 1..20 skipped.
KeyTestResult runKeyTest(const KeyTestInputs& in, dz::Random& rng);
NumberMask testRowMask(const QString& row, long long type);

}  // namespace dz::keygen
