#include "csere/core/recordgrid.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "csere/core/keyrows.h"

#include <cmath>

namespace dz::csere {

namespace {

bool allDigits(std::string_view s) {
    for (char ch : s)
        if (ch < '0' || ch > '9') return false;
    return true;
}

std::string twoDigits(long long v) { return dz::format(v, "00").toStdString(); }

bool whole(double v) { return std::isfinite(v) && v == std::floor(v); }

QString rowMessage(int row, const char* why = nullptr) {
    QString m = QStringLiteral("Hiba a") + dz::str(row) + QStringLiteral(" sorban");
    if (why) m += QLatin1Char('\r') + QString::fromUtf8(why);
    return m;
}

// A line of any length may stand in a file: only the start that a message quotes is decoded.
QString shownStart(std::string_view item) { return dz::cp1250::decode(item.substr(0, size_t(dz::kQuoted) + 1)); }
// A refused line as its message shows it: a long one is cut.
QString shownLine(std::string_view item) { return dz::quoted(shownStart(item)); }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

RecordGrid::RecordGrid() : cells_(size_t(kRows) * kCols) {}

double RecordGrid::value(int row, int col) const { return dz::val(std::string_view(text(row, col))); }

void RecordGrid::setText(int row, int col, std::string t) {
    cells_[idx(row, col)] = std::move(t);
    if (cur_ == Cell{row, col}) editor_ = cells_[idx(row, col)];
}

bool RecordGrid::rowEmpty(int row) const {
    for (int c = 1; c <= kCols; ++c)
        if (value(row, c) != 0) return false;
    return true;
}

int RecordGrid::lastUsedRow() const {
    for (int r = kRows; r >= 1; --r)
        if (!rowEmpty(r)) return r;
    return 0;
}

void RecordGrid::clearCells() {
    for (auto& c : cells_) c.clear();
}

QString RecordGrid::setRowLengthText(const QString& boxText) {
    const long long v = dz::roundHalfEven(std::clamp(dz::val(QStringView(boxText)), -1e6, 1e6));
    if (v > kCols || v <= 0) {
        rowLength_ = kCols;
        return QStringLiteral("8");
    }
    rowLength_ = int(v);
    return boxText;
}

double RecordGrid::editorValue() const { return dz::val(std::string_view(editor_)); }

void RecordGrid::setEditor(std::string t) {
    editor_ = std::move(t);
    cells_[idx(cur_.row, cur_.col)] = editor_;
}

void RecordGrid::bind(Cell c) {
    cur_ = c;
    editor_ = text(c.row, c.col);
}

bool RecordGrid::failsLeftNeighbour(Cell c, double v) const {
    return c.col >= 2 && v != 0 && !(v > value(c.row, c.col - 1));
}

bool RecordGrid::commitAndMove(Cell target, int mode) {
    // Digits are written back as two of them, 0 as an empty cell; anything else (a fraction
    // loaded from a file) stays as it is, for the save check to name.
    std::string& own = cells_[idx(cur_.row, cur_.col)];
    if (allDigits(editor_)) {
        const double v = editorValue();
        own = v == 0 ? std::string() : twoDigits((long long)v);
    } else {
        own = editor_;
    }
    if (mode == 1) target.col = std::min(target.col + 1, kCols);
    if (mode == 2) target.col = std::max(target.col - 1, 1);
    bind(target);
    if (failsLeftNeighbour(target, value(target.row, target.col))) {
        setEditor(std::string());
        return true;
    }
    return false;
}

void RecordGrid::enterInEditor() {
    endOfRow_ = false;
    if (editorValue() > 20) {
        setEditor(std::string());
        return;
    }
    if (!commitAndMove(cur_, 0)) {
        Cell next{cur_.row, cur_.col + 1};
        if (next.col > rowLength_) {
            next.col = rowLength_;
            endOfRow_ = true;
        }
        bind(next);
    }
    focus_ = Focus::Grid;
}

bool RecordGrid::editorKeyPress(Key k, char c) {
    scrollTop_ = 0;
    switch (k) {
    case Key::Char:
        if (c < '0' || c > '9' || editor_.size() >= 2) return false;
        setEditor(editor_ + c);
        return true;
    case Key::Backspace:
        if (editorValue() > 20)
            setEditor(std::string());
        else if (!editor_.empty())
            setEditor(editor_.substr(0, editor_.size() - 1));
        return true;
    case Key::Enter:
        enterInEditor();
        return true;
    default:
        return true;
    }
}

void RecordGrid::editorKeyUp(Key k) {
    scrollTop_ = 0;
    if (k == Key::Right) {
        if (failsLeftNeighbour(cur_, editorValue()) || editorValue() > 20) {
            setEditor(std::string());
            return;
        }
        commitAndMove(cur_, 1);
    } else if (k == Key::Left) {
        commitAndMove(cur_, 2);
    }
}

void RecordGrid::gridKeyUp(Key k, char c) {
    scrollTop_ = 0;
    if (k == Key::Enter && endOfRow_) {
        bind({std::min(cur_.row + 1, kRows), 1});
        if (cur_.row >= 14) scrollTop_ = cur_.row - 13;
    } else if (k == Key::Char && c >= '0' && c <= '9') {
        // Typing in the grid goes on in the editor.
        setEditor(std::string(1, c));
        focus_ = Focus::Editor;
    }
}

void RecordGrid::gridMoved(int row, int col) {
    scrollTop_ = 0;
    bind({std::clamp(row, 1, kRows), std::clamp(col, 1, kCols)});
}

void RecordGrid::click(int row, int col) {
    scrollTop_ = 0;
    if (row < 1) row = cur_.row;
    commitAndMove({std::min(row, kRows), std::clamp(col, 1, kCols)}, 0);
    focus_ = Focus::Grid;
}

void RecordGrid::doubleClick(int row, int col) {
    scrollTop_ = 0;
    if (row < 1) return;
    bind({std::min(row, kRows), std::clamp(col, 1, kCols)});
    setEditor(std::string());
    focus_ = Focus::Editor;
}

void RecordGrid::type(Key k, char c) {
    if (focus_ == Focus::Editor) {
        editorKeyPress(k, c);
    } else if (k == Key::Left || k == Key::Right) {
        gridMoved(cur_.row, cur_.col + (k == Key::Right ? 1 : -1));  // the grid's own cursor
    }
    // The release goes to whoever has the focus now.
    if (focus_ == Focus::Editor)
        editorKeyUp(k);
    else
        gridKeyUp(k, c);
}

void RecordGrid::typeKeys(std::string_view keys) {
    for (char ch : keys) {
        switch (ch) {
        case '\n': type(Key::Enter); break;
        case '<': type(Key::Left); break;
        case '>': type(Key::Right); break;
        case '\b': type(Key::Backspace); break;
        default: type(Key::Char, ch);
        }
    }
}

namespace {
bool wholeRow(int top, int left, int right) { return top >= 1 && left == 1 && right == RecordGrid::kCols; }
const QString kNoRow = QStringLiteral("Nincs sor kíválasztva !");
}  // namespace

std::optional<QString> RecordGrid::insertRow(int selTop, int selLeft, int selRight) {
    if (!wholeRow(selTop, selLeft, selRight)) return kNoRow;
    if (!rowEmpty(kRows))
        return QStringLiteral("A 999. sorban számok vannak, új sor nem szúrható be !");
    const int s = std::min(selTop, kRows);
    for (int r = lastUsedRow(); r >= s; --r)
        for (int c = 1; c <= kCols; ++c) cells_[idx(r + 1, c)] = std::move(cells_[idx(r, c)]);
    for (int c = 1; c <= kCols; ++c) cells_[idx(s, c)].clear();
    // Bound first, then emptied: emptying the editor where it stood would empty that cell.
    bind({s, 1});
    setEditor(std::string());
    return std::nullopt;
}

std::optional<QString> RecordGrid::removeRow(int selTop, int selLeft, int selRight) {
    if (!wholeRow(selTop, selLeft, selRight)) return kNoRow;
    const int u = lastUsedRow();
    const int s = selTop;
    if (s > u) return std::nullopt;
    for (int r = s; r < u; ++r)
        for (int c = 1; c <= kCols; ++c) cells_[idx(r, c)] = std::move(cells_[idx(r + 1, c)]);
    for (int c = 1; c <= kCols; ++c) cells_[idx(u, c)].clear();
    bind({s, 1});
    return std::nullopt;
}

std::optional<std::vector<std::string>> RecordGrid::readFile(const QString& path) {
    return dz::readItems(path, kRows + 1);
}

RecordGrid::LoadResult RecordGrid::load(std::string_view bytes) {
    std::vector<std::string> items;
    dz::InputItemReader reader(bytes);  // it skips a byte order mark, as the file reader does
    while (!reader.atEnd() && items.size() <= size_t(kRows)) {
        const std::string_view item = reader.next();
        items.emplace_back(item.substr(0, std::min(item.size(), dz::kLineTextLimit)));
    }
    return load(items);
}

RecordGrid::LoadResult RecordGrid::load(const std::vector<std::string>& items) {
    clearCells();
    LoadResult res;
    int n = 0;
    bool stopped = false;
    for (size_t i = 0; i < items.size() && !stopped; ++i) {
        const std::string_view item = items[i];
        if (++n > kRows) {
            res.message = QStringLiteral("999 sornál nagyobb kulcs !");
            break;
        }
        res.rows = n;
        const size_t count = (item.size() + 1) / 3;
        for (size_t j = 1; j <= count; ++j) {
            const std::string_view field = dz::mid(item, 3 * j - 2, 3);
            const double v = dz::val(field);
            if (j > size_t(kCols) && !trimBlanks(field).empty()) {
                res.message = longRowMessage(shownStart(item));
                stopped = true;
                break;
            }
            if (v > 20) {
                res.message = QStringLiteral("20-nál nagyobb szám van a kulcsban !\r") + shownLine(item);
                stopped = true;
                break;
            }
            if (j > size_t(kCols) || v == 0) continue;
            // A fraction or a negative number is shown as written, so that the save names its row.
            cells_[idx(n, int(j))] = whole(v) && v > 0 ? twoDigits((long long)v) : std::string(trimBlanks(field));
        }
    }
    // The editor shows its cell's new text; after a complete load it starts at the top.
    bind(stopped ? cur_ : Cell{1, 1});
    return res;
}

std::optional<QString> RecordGrid::check() const {
    const int last = lastUsedRow();
    for (int r = 1; r <= last; ++r) {
        if (rowEmpty(r)) return rowMessage(r, "Üres sor után is vannak számok a táblázatban !");
        bool gap = false;
        double left = 0;
        for (int c = 1; c <= kCols; ++c) {
            const double v = value(r, c);
            if (v == 0) {
                gap = true;
                continue;
            }
            if (gap) return rowMessage(r);
            if (!whole(v) || v < 1 || v > 20) return rowMessage(r, "Csak 1 és 20 közötti egész szám rögzíthető !");
            if (!(v > left)) return rowMessage(r);
            left = v;
        }
    }
    return std::nullopt;
}

QStringList RecordGrid::keyRows() const {
    QStringList rows;
    const int last = lastUsedRow();
    rows.reserve(last);
    for (int r = 1; r <= last; ++r) {
        QString line;
        for (int c = 1; c <= kCols; ++c) {
            const double v = value(r, c);
            if (v == 0) break;
            line += dz::format((long long)v, "00") + QLatin1Char(' ');
        }
        rows << line;
    }
    return rows;
}

}  // namespace dz::csere
