// Peak memory of one program's key loader over one file, as the program's window calls it:
//   keyload_peak PROGRAM FILE     (PROGRAM: keygen keygengroup keyprint keyeval keyeval-run vazoz
//                                  vazoz-grid ticketclip keyedit)
// Prints what the load kept and the process's peak resident size; exits non-zero when the load
// did not end with a result. scripts/measure-keyload.sh runs it over a link to /dev/zero and a
// file of one gigabyte-long line.
#include "common/core/draws.h"
#include "common/core/keyfile.h"
#include "common/core/textfile.h"
#include "csere/core/keyfiles.h"
#include "csere/core/recordgrid.h"
#include "keyedit/core/rowedits.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/keychoice.h"
#include "keygen/core/keyload.h"
#include "keyprint/core/printkey.h"
#include "ticketclip/core/submission.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace {
long peakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The rows the load kept, nullopt when it failed (the file did not open, or an unknown program).
std::optional<long long> load(const std::string& program, const QString& path) {
    if (program == "keygen") {
        const auto k = dz::keygen::loadKeyFile(path);
        return k.opened ? std::optional<long long>(k.rows.size()) : std::nullopt;
    }
    if (program == "keygengroup") {  // the viewer
        const auto k = dz::key::loadRows(path, dz::kRowLimit);
        return k ? std::optional<long long>(k->size()) : std::nullopt;
    }
    if (program == "keyprint") {
        const auto k = dz::keyprint::loadKey(path);
        return k ? std::optional<long long>(k->rows.size()) : std::nullopt;
    }
    if (program == "keyeval") {
        const auto k = dz::keyeval::loadKeyList(path);
        return k ? std::optional<long long>(k->rows.size()) : std::nullopt;
    }
    if (program == "keyeval-run") {
        const auto k = dz::keyeval::readKey(path);
        return k ? std::optional<long long>(k->rowCount()) : std::nullopt;
    }
    if (program == "vazoz") {
        const auto k = dz::csere::loadKey(path);
        return k.opened ? std::optional<long long>(k.rows.size()) : std::nullopt;
    }
    if (program == "vazoz-grid") {
        const auto items = dz::csere::RecordGrid::readFile(path);
        if (!items) return std::nullopt;
        dz::csere::RecordGrid g;
        return g.load(*items).rows;
    }
    if (program == "ticketclip") {
        const auto k = dz::ticketclip::readKeyFile(path, dz::kRowLimit);
        return k ? std::optional<long long>(k->rows.size()) : std::nullopt;
    }
    if (program == "keyedit") {
        const auto k = dz::keyedit::loadText(path);
        return k ? std::optional<long long>(k->rows.size()) : std::nullopt;
    }
    return std::nullopt;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: keyload_peak PROGRAM FILE\n");
        return 2;
    }
    const std::string program = argv[1];
    try {
        const auto rows = load(program, QString::fromLocal8Bit(argv[2]));
        if (!rows) {
            std::printf("%s failed peak_kb=%ld\n", program.c_str(), peakKb());
            return 1;
        }
        std::printf("%s rows=%lld peak_kb=%ld\n", program.c_str(), *rows, peakKb());
    } catch (const std::bad_alloc&) {
        std::printf("%s bad_alloc peak_kb=%ld\n", program.c_str(), peakKb());
        return 1;
    }
    return 0;
}
