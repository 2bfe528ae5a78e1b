// The key recording grid of vazoz as plain logic: 999 rows of 8 number cells, the cell editor
// that belongs to one cell at a time with its key handling, row insertion and removal, loading a
// key file into the grid and checking the grid before it is saved. The window only shows this
// state and passes its keys and clicks in.
//
// Keys reach the editor or the grid, whichever has the focus, as the window's own widgets see
// them: a press, then a release. Enter pressed in the editor moves the focus to the grid, so
// its release arrives at the grid; after the L-th number of a row that release moves on to the
// next row (one Enter ends the row).
#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz::csere {

class RecordGrid {
public:
    static constexpr int kRows = 999;
    static constexpr int kCols = 8;
    // Where the editor stands: rows 1..999, columns 1..8.
    struct Cell {
        int row = 1;
        int col = 1;
        bool operator==(const Cell&) const = default;
    };
    enum class Focus { Editor, Grid };
    enum class Key {
        Char,       // a typed character (digits, letters, ...): pass it as c
        Backspace,
        Enter,
        Left,
        Right,
        Navigate,   // arrows up/down, Page Up/Down: the grid moves its own cursor (see gridMoved)
    };

    RecordGrid();

    // --- cells ---------------------------------------------------------------------------
    // The text of a cell as shown (empty, "05", or the editor's text while it is typed).
    const std::string& text(int row, int col) const { return cells_[idx(row, col)]; }
    // Its numeric value (0 when empty or not a number).
    double value(int row, int col) const;
    void setText(int row, int col, std::string t);  // for loads and tests
    bool rowEmpty(int row) const;
    // The last row holding anything, 0 when the grid is empty.
    int lastUsedRow() const;
    // "Töröl": every number cell emptied; the editor keeps its text.
    void clearCells();

    // --- the editor ----------------------------------------------------------------------
    const std::string& editorText() const { return editor_; }
    Cell current() const { return cur_; }
    Focus focus() const { return focus_; }
    bool endOfRow() const { return endOfRow_; }
    // The grid's first visible row that the last move asked for (0: only keep the cell visible).
    int scrollTop() const { return scrollTop_; }
    // Row length L and its box: the box's text as it loses the focus; returns the box's new text.
    QString setRowLengthText(const QString& boxText);
    int rowLength() const { return rowLength_; }

    // A key pressed or released in the editor or in the grid (whichever the window says has it).
    // A press the editor drops returns false.
    bool editorKeyPress(Key k, char c = 0);
    void editorKeyUp(Key k);
    void gridKeyUp(Key k, char c = 0);
    // A key as the user types it: press and release, each going to the widget that has the focus.
    void type(Key k, char c = 0);
    // A string of digits and control letters: digits typed, '\n' Enter, '<' Left, '>' Right, '\b' Backspace.
    void typeKeys(std::string_view keys);
    // The grid's cursor moved by its own keys: the editor follows without committing.
    void gridMoved(int row, int col);
    // A click on a cell; col 0 is the header column (counts as column 1), row 0 the header row
    // (the editor's row is kept, so the headers are never edited).
    void click(int row, int col);
    void doubleClick(int row, int col);
    // The window shows the editor, with the focus, after it was drawn.
    void focusEditor() { focus_ = Focus::Editor; }

    // --- rows ----------------------------------------------------------------------------
    // Insert ("Sor beszúr") and remove ("Sor kihagy") at selected row S. The selection must be a
    // whole row (columns 1..8); the message to show otherwise, nullopt when done.
    std::optional<QString> insertRow(int selTop, int selLeft, int selRight);
    std::optional<QString> removeRow(int selTop, int selLeft, int selRight);

    // --- files ---------------------------------------------------------------------------
    struct LoadResult {
        int rows = 0;         // lines read into the grid
        QString message;      // shown when not empty (critical icon)
    };
    // "Betölt": the grid emptied and filled from the input items of a key file (one row each);
    // items past the grid's rows give its message.
    LoadResult load(const std::vector<std::string>& items);
    // The same from a file's bytes, its items cut at dz::kLineTextLimit as readFile cuts them.
    LoadResult load(std::string_view bytes);
    // The items of a key file that load can use, read as a stream: the grid's rows and one more,
    // each cut at dz::kLineTextLimit; nullopt when the file cannot be opened.
    static std::optional<std::vector<std::string>> readFile(const QString& path);
    // The check before a save: the message naming the first faulty row, nullopt when the grid
    // can be saved as it is shown.
    std::optional<QString> check() const;
    // The key rows as written: each number "00" followed by a blank (call after check()).
    QStringList keyRows() const;

private:
    static size_t idx(int row, int col) { return size_t(row - 1) * kCols + size_t(col - 1); }
    void setEditor(std::string t);  // the editor's change copies the text into its cell
    void bind(Cell c);              // the editor now belongs to c and shows its text
    // Writes the editor's value into its cell ("00"; 0 empties it), moves by mode, binds the
    // editor to the target and runs the arrival check; true when that check emptied the target.
    bool commitAndMove(Cell target, int mode);
    bool failsLeftNeighbour(Cell c, double v) const;
    double editorValue() const;
    void enterInEditor();

    std::vector<std::string> cells_;
    std::string editor_;
    Cell cur_;
    Focus focus_ = Focus::Editor;
    bool endOfRow_ = false;
    int rowLength_ = 8;
    int scrollTop_ = 0;
};

}  // namespace dz::csere
