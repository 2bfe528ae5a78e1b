// The program folder and the names in it.
#pragma once
#include <QString>

namespace dz {

// The folder of the running executable (a test may set another one).
QString programFolder();
void setProgramFolder(const QString& folder);

// folder + "/" + name, where a file whose name differs only in case stands for the name:
// the suite's names were case-blind ("TT.BMP" and "tt.BMP" are one file). A name with no such
// file is returned as written. Folders in the name ("kulcsp/x.txt") are matched the same way.
QString inFolder(const QString& folder, const QString& name);
// The same in the program folder.
inline QString programFile(const QString& name) { return inFolder(programFolder(), name); }

}  // namespace dz
