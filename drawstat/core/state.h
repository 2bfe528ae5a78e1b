// drawstat's program-level state: what Start leaves for the other windows, and the names of the
// files a build works over (daystat runs the same code over the partial-day file).
#pragma once
#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/listexport.h"
#include "drawstat/core/rules.h"
#include "drawstat/core/subsetprofile.h"

#include <QString>
#include <array>
#include <cstdint>

namespace dz::drawstat {

struct FileSet {
    QString drawFile = QString::fromLatin1(dz::kDrawHistoryFile);  // daystat: "vevud.dat"
    QString listFileExt = QStringLiteral(".txt");                 // daystat: ".dat"
};

// The captions that differ by build.
struct Texts {
    QString mainCaption = QStringLiteral("  DIZOV húzásstatisztika") + QString(40, QLatin1Char(' ')) +
                          dz::signature();
    int skipCaptionBlanks = 44;
};

// The subset window of size k (4..8) that a build opens from its menu.
using SubsetProfiles = SubsetProfile (*)(int k);

// What a build of this code is: its files, rules, texts and subset windows.
struct Profile {
    FileSet files;
    Rules rules;
    Texts texts;
    SubsetProfiles subsets = drawstatSubsetProfile;
};

// The build's profile and what its windows share while it runs.
struct ProgramState : Profile {
    bool started = false;
    long long drawCount = 0;                      // N
    long long windowStart = 1;                    // W (daystat: 0 until Start or the back-test sets it)
    std::array<long long, 21> lastAppearance{};   // draw index (1-based) of the latest record holding n, 0 if none
    dz::ListExporter exporter{files.listFileExt};

    // The draw file's full name in the program folder.
    QString drawFilePath() const;
};

// The one state of the running program.
ProgramState& state();
// A fresh state over a program's profile (at program start, and between tests).
void resetState(const Profile& profile);

}  // namespace dz::drawstat
