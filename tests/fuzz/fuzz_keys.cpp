// libFuzzer target over the readers of key files: the streamed item reader against the whole-file
// one, keygen's load with what it derives from the rows, keyeval's key choice, its evaluation
// reader and the key file list's first item, keyprint's and vazoz's loads, vazoz's recording grid,
// ticketclip's key check and keyedit's text load (each streamed read against the same reader over
// the bytes). The bytes go through a file, as the programs read them. Any broken property aborts
// the run.
#include "tests/fuzz/fuzzfault.h"
#include "tests/fuzz/scratch.h"
#include "common/core/textfile.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/keychoice.h"
#include "keyeval/core/keyfilelist.h"
#include "keygen/core/keyload.h"
#include "keyprint/core/printkey.h"
#include "csere/core/keyfiles.h"
#include "csere/core/recordgrid.h"
#include "ticketclip/core/submission.h"
#include "keyedit/core/rowedits.h"

#include <QString>
#include <algorithm>
#include <string>

namespace {
[[noreturn]] void fault(const char* what) { dz::fuzz::fault("key reader", what); }

// A plain write (no replace-by-rename): the fuzzer runs thousands of inputs a second.
const QString& file() {
    static const QString path = dz::fuzz::scratchFile("keys.txt");
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

    const dz::keygen::KeyLoad load = dz::keygen::loadKeyFile(file());
    if (!load.opened) fault("keygen could not open the file");
    // The key is refused exactly when one of the rows it would keep is longer than the cap.
    {
        dz::InputItemReader r(std::string_view(reinterpret_cast<const char*>(data), size));
        bool longRow = false;
        for (int i = 0; i < dz::kRowLimit && !r.atEnd() && !longRow; ++i) longRow = r.next().size() > dz::kLineTextLimit;
        if (load.notAKey != longRow) fault("keygen refusal of a long row");
        if (load.notAKey && !load.rows.isEmpty()) fault("keygen kept rows of a refused file");
    }
    if (load.rows.size() > dz::kRowLimit) fault("keygen row limit");
    for (const QString& r : load.rows)
        if (size_t(r.size()) > dz::kLineTextLimit) fault("keygen row longer than the cap");
    const dz::keygen::KeyChoice c = dz::keygen::deriveChoice(load.rows);
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
    if (key->shown->count() > dz::kRowLimit) fault("shown rows past the limit");
    for (size_t i = 0; i < key->rowCount(); ++i)
        if (key->hits(i, 0x1FFFFEu) > 8 || key->hits(i, 0) != 0) fault("hits of a row");

    // The streamed items are the whole-file reader's items, cut at the line limit.
    {
        const std::string_view bytes(reinterpret_cast<const char*>(data), size);
        const auto items = dz::readItems(file(), 1 << 20);
        if (!items) fault("item reader could not open the file");
        dz::InputItemReader r(bytes);
        size_t i = 0;
        for (; !r.atEnd(); ++i) {
            const std::string_view item = r.next();
            if (i >= items->size() || (*items)[i] != item.substr(0, std::min(item.size(), dz::kLineTextLimit)))
                fault("streamed item differs");
        }
        if (i != items->size()) fault("streamed item count");
    }

    const auto print = dz::keyprint::loadKey(file());
    if (!print || print->rows.size() > dz::kRowLimit) fault("keyprint row limit");
    const dz::csere::KeyLoad vazoz = dz::csere::loadKey(file());
    if (!vazoz.opened || vazoz.rows.size() > dz::kRowLimit) fault("vazoz row limit");

    const auto gridItems = dz::csere::RecordGrid::readFile(file());
    if (!gridItems || gridItems->size() > size_t(dz::csere::RecordGrid::kRows) + 1) fault("grid items");
    dz::csere::RecordGrid fromFile, fromBytes;
    const auto a = fromFile.load(*gridItems);
    const auto b = fromBytes.load(std::string_view(reinterpret_cast<const char*>(data), size));
    if (a.rows != b.rows || a.message != b.message || fromFile.keyRows() != fromBytes.keyRows())
        fault("grid streamed load differs");

    const auto clip = dz::ticketclip::readKeyFile(file(), dz::kRowLimit);
    if (!clip) fault("ticketclip could not open the file");
    const auto clipBytes = dz::ticketclip::checkKey(std::string_view(reinterpret_cast<const char*>(data), size), dz::kRowLimit);
    if (clip->outcome != clipBytes.outcome || clip->rows != clipBytes.rows || clip->badRow != clipBytes.badRow ||
        clip->lastCount != clipBytes.lastCount)
        fault("ticketclip streamed check differs");

    const auto text = dz::keyedit::loadText(file());
    if (!text) fault("keyedit could not open the file");
    const auto textBytes = dz::keyedit::rowsOfText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (text->rows != textBytes.rows || text->overLimit != textBytes.overLimit || text->tooLong != textBytes.tooLong)
        fault("keyedit streamed load differs");
    if (text->tooLong && !text->rows.isEmpty()) fault("keyedit kept rows of a refused file");

    if (const auto first = dz::keyeval::firstLineItem(file()))
        (void)dz::keyeval::isKeyRowItem(std::string_view(first->toLatin1().constData()));
    return 0;
}
