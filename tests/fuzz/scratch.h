// The files a fuzz target passes its inputs through: in a folder of the process's own (mkdtemp,
// mode 0700, so that no other user can put a link where a file goes), removed when the run ends.
#pragma once
#include "tests/fuzz/fuzzfault.h"

#include <QDir>
#include <QString>
#include <cstdlib>
#include <string>

namespace dz::fuzz {

inline std::string& scratchName() {
    static std::string name;
    return name;
}

inline const QString& scratchFolder() {
    static const QString folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string& name = scratchName();
        name = std::string(tmp && *tmp ? tmp : "/tmp") + "/dizov-fuzz-XXXXXX";
        if (!::mkdtemp(name.data())) fault("fuzz", "no private folder for the inputs");
        std::atexit([] { QDir(QString::fromLocal8Bit(scratchName().c_str())).removeRecursively(); });
        return QString::fromLocal8Bit(name.c_str());
    }();
    return folder;
}

// A file of that name in the folder.
inline QString scratchFile(const char* name) { return scratchFolder() + QLatin1Char('/') + QLatin1String(name); }

}  // namespace dz::fuzz
