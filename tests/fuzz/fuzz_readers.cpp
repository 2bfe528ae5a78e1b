// libFuzzer target over the readers of the core: lines, input items, draw records and draw
// files, key rows, numeric values and the code page; and the streaming head reader of the files
// read at start over the same bytes as a file. Any broken property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "tests/fuzz/scratch.h"
#include "common/tests/readercheck.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace {
// The head reader against the whole-file split: at most the lines asked for, each a cut of the
// file's line; the lines the file's bytes can take all there when the file is within the budget.
void checkHead(std::string_view bytes) {
    static const QString path = dz::fuzz::scratchFile("head.txt");
    if (bytes.empty()) return;
    const size_t maxLines = size_t(uint8_t(bytes[0]) % 8);
    const size_t maxLine = 1 + size_t(uint8_t(bytes[0]) / 8 % 16);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
        f.write(bytes.data(), qint64(bytes.size()));
    }
    const auto head = dz::readHead(path, maxLines, maxLine);
    if (!head) dz::fuzz::fault("readers", "head of a file that opens");
    const auto lines = dz::splitLines(bytes);
    std::vector<std::string_view> got;
    std::string_view rest = *head;
    while (!rest.empty()) {
        const size_t nl = rest.find('\n');
        got.push_back(rest.substr(0, nl));
        rest = nl == rest.npos ? std::string_view() : rest.substr(nl + 1);
    }
    if (got.size() > maxLines || got.size() > lines.size()) dz::fuzz::fault("readers", "head holds more lines than asked for");
    for (size_t i = 0; i < got.size(); ++i) {
        const std::string_view whole = lines[i].substr(0, maxLine);
        if (got[i].size() > maxLine) dz::fuzz::fault("readers", "head line longer than its cut");
        if (i + 1 < got.size() ? got[i] != whole : !whole.starts_with(got[i]))
            dz::fuzz::fault("readers", "head line differs from the file's line");
    }
    if (bytes.size() <= maxLines * (maxLine + 2) + 3 && got.size() != std::min(maxLines, lines.size()))
        dz::fuzz::fault("readers", "head lost a line the budget holds");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string fault = dz::testing::checkReaders(bytes);
    if (!fault.empty()) {
        std::fprintf(stderr, "reader fault: %s\n", fault.c_str());
        std::abort();
    }
    // A single record the way the passes read it, beside the whole-file path.
    const dz::DrawRecord r = dz::parseDrawRecord(dz::firstItem(bytes));
    if (r.mask & ~0x1FFFFEu) std::abort();
    checkHead(bytes);
    return 0;
}
