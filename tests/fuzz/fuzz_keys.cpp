// libFuzzer target over the readers of key files: keygen's load with what it derives from the rows,
// keyeval's key choice, its evaluation reader and the key file list's first item. The bytes go
// through a file, as the programs read them. Any broken property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "core/textfile.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/keychoice.h"
#include "keyeval/core/keyfilelist.h"
#include "keygen/core/keyload.h"

#include <QString>
#include <string>
#include <unistd.h>

namespace {
[[noreturn]] void fault(const char* what) { dz::fuzz::fault("key reader", what); }

// A plain write (no replace-by-rename): the fuzzer runs thousands of inputs a second.
const QString& file() {
    static const QString path = QStringLiteral("/tmp/dizov-fuzz-keys-%1.txt").arg(getpid());
    return path;
}

bool put(const QString& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!put(file(), data, size)) return 0;

    const keygen::KeyLoad load = keygen::loadKeyFile(file());
    if (!load.opened) fault("keygen could not open the file");
    if (load.rows.size() > dz::kRowLimit) fault("keygen row limit");
    for (const QString& r : load.rows)
        if (size_t(r.size()) > dz::kLineTextLimit) fault("keygen row longer than the cap");
    const keygen::KeyChoice c = keygen::deriveChoice(load.rows);
    if (c.chosenMask & ~0x1FFFFEu) fault("chosen number outside 1..20");
    if (c.rowCount != load.rows.size()) fault("row count");

    const auto list = dz::keyeval::loadKeyList(file());
    if (!list) fault("keyeval could not open the file");
    if (list->rows.size() > dz::kRowLimit) fault("keyeval row limit");
    for (const QString& r : list->rows)
        if (r.isEmpty() || size_t(r.size()) > dz::kLineTextLimit) fault("keyeval key list row");

    const auto key = dz::keyeval::readKey(file());
    if (!key) fault("evaluation reader could not open the file");
    if (key->numbers & ~0x1FFFFEu) fault("key number outside 1..20");
    for (uint32_t m : key->masks)
        if (m & ~0x1FFFFEu) fault("row mask outside 1..20");
    if (key->shown.size() > dz::kRowLimit) fault("shown rows past the limit");
    for (size_t i = 0; i < key->rowCount(); ++i)
        if (key->hits(i, 0x1FFFFEu) > 8 || key->hits(i, 0) != 0) fault("hits of a row");

    if (const auto first = dz::keyeval::firstLineItem(file()))
        (void)dz::keyeval::isKeyRowItem(std::string_view(first->toLatin1().constData()));
    return 0;
}
