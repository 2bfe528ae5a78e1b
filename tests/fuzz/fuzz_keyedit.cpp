// libFuzzer target over keyedit's readers: a key file as text (also the file description list
// "fleiras.txt"), the names the descriptions lend, and the cuts and deletion over what was read.
#include "tests/fuzz/fuzzfault.h"
#include "common/core/cp1250.h"
#include "keyedit/core/rowedits.h"


namespace {
[[noreturn]] void fail(const char* what) { dz::fuzz::fault("keyedit reader", what); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dz::keyedit;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LoadedText t = rowsOfText(bytes);
    for (const QString& row : t.rows) {
        if (row.contains(QLatin1Char('\r')) || row.contains(QLatin1Char('\n'))) fail("line end inside a row");
        if (dz::cp1250::encode(row).size() != row.size()) fail("a row that does not map back byte for byte");
        if (descriptionName(row).size() > 12) fail("a description name past column 12");
    }
    // The first bytes steer the edits, the rest of the rows are edited.
    const long long a = size > 0 ? static_cast<int8_t>(data[0]) : 0;
    const long long b = size > 1 ? static_cast<int8_t>(data[1]) : 0;
    QStringList out;
    if (cutLeft(t.rows, a, &out) == Refusal::None && !t.rows.isEmpty() && out.size() != t.rows.size())
        fail("the left cut lost rows");
    if (cutRight(t.rows, a, &out) == Refusal::None && !t.rows.isEmpty() && out.size() != t.rows.size())
        fail("the right cut lost rows");
    if (cutMiddle(t.rows, a, b, &out) == Refusal::None && !t.rows.isEmpty()) {
        if (out.size() != t.rows.size()) fail("the middle cut lost rows");
        for (qsizetype i = 0; i < out.size(); ++i)
            if (out[i].size() > t.rows[i].size()) fail("a cut row grew");
    }
    QStringList rows = t.rows;
    if (deleteRows(rows, a, b) == Refusal::None && rows.size() > t.rows.size()) fail("deletion added rows");
    return 0;
}
