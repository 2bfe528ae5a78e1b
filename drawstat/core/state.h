// drawstat's program-level state: what Start leaves for the other windows, and the names of the
// files a build works over (daystat runs the same code over the partial-day file).
#pragma once
#include "core/draws.h"
#include "core/listexport.h"

#include <QString>
#include <array>
#include <cstdint>

namespace drawstat {

struct FileSet {
    QString drawFile = QString::fromLatin1(dz::kDrawHistoryFile);  // daystat: "vevud.dat"
    QString listFileExt = QStringLiteral(".txt");                 // daystat: ".dat"
    QString listMessageExt = QStringLiteral(".TXT");              // daystat: ".dat"
};

struct ProgramState {
    FileSet files;
    bool started = false;
    long long drawCount = 0;                      // N
    long long windowStart = 1;                    // W
    std::array<long long, 21> lastAppearance{};   // draw index (1-based) of the latest record holding n, 0 if none
    dz::ListExporter exporter{files.listFileExt, files.listMessageExt};

    // The draw file's full name in the program folder.
    QString drawFilePath() const;
};

// The one state of the running program.
ProgramState& state();
// A fresh state over a file set (at program start, and between tests).
void resetState(const FileSet& files = {});

}  // namespace drawstat
