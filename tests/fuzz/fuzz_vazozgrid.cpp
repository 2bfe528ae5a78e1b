// libFuzzer target over vazoz's recording grid and shipped key descriptions: the grid's key file
// loader, the save check and the rows it writes, the editor under any key sequence, and the
// description reader with its count-first view. Any broken property aborts the run.
#include "tests/fuzz/fuzzfault.h"
#include "csere/core/recordgrid.h"
#include "csere/core/shipped.h"
#include "common/core/textfmt.h"


namespace {
[[noreturn]] void fail(const char* what) { dz::fuzz::fault("vazoz grid", what); }

void checkGrid(const dz::csere::RecordGrid& g) {
    for (int r = 1; r <= dz::csere::RecordGrid::kRows; ++r)
        for (int c = 1; c <= dz::csere::RecordGrid::kCols; ++c)
            if (g.text(r, c).size() > 3) fail("a cell longer than three characters");
    if (g.editorText().size() > 3) fail("an editor text longer than three characters");
    const auto cur = g.current();
    if (cur.row < 1 || cur.row > 999 || cur.col < 1 || cur.col > 8) fail("the editor outside the grid");
    if (g.check()) return;
    // What passes the check is written as it is shown: ascending numbers 1..20, no gap.
    const QStringList rows = g.keyRows();
    if (rows.size() != g.lastUsedRow()) fail("rows lost or added by the save");
    for (const QString& row : rows) {
        if (row.isEmpty() || row.size() % 3 != 0) fail("a saved row of a wrong length");
        double left = 0;
        for (qsizetype j = 0; j < row.size(); j += 3) {
            const double v = dz::val(QStringView(row).mid(j, 2));
            if (v < 1 || v > 20 || !(v > left)) fail("a saved number out of order or range");
            left = v;
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    dz::csere::RecordGrid g;
    const auto res = g.load(bytes);
    if (res.rows < 0 || res.rows > 999) fail("more than 999 rows loaded");
    checkGrid(g);
    // The same bytes as keys and clicks.
    for (size_t i = 0; i + 1 < size && i < 512; i += 2) {
        const unsigned char a = data[i], b = data[i + 1];
        switch (a % 6) {
        case 0: g.type(dz::csere::RecordGrid::Key::Char, char(b)); break;
        case 1: g.typeKeys(std::string_view(reinterpret_cast<const char*>(data + i), 2)); break;
        case 2: g.click(b % 12, (b / 12) % 10); break;
        case 3: g.doubleClick(b % 12, (b / 12) % 10); break;
        case 4: (b & 1 ? g.insertRow(b % 10, 1, 8) : g.removeRow(b % 10, 1, 8)); break;
        default: g.setRowLengthText(QString::number(int(b % 12) - 2)); break;
        }
    }
    checkGrid(g);

    for (const QString& line : dz::csere::shipped::parseDescriptions(bytes)) {
        if (dz::csere::shipped::keyFileName(line).size() > 12) fail("a key file name longer than its field");
        const QString row = dz::csere::shipped::countFirstRow(line);
        if (row.size() < 3) fail("a count-first row without its count and type");
    }
    return 0;
}
