// The recording grid's logic: its editor driven by key sequences, rows, loading and the save check.
#include "csere/core/recordgrid.h"
#include "common/core/textfmt.h"

#include <gtest/gtest.h>

using dz::csere::RecordGrid;
using Key = RecordGrid::Key;

namespace {

std::string rowText(const RecordGrid& g, int row) {
    std::string s;
    for (int c = 1; c <= RecordGrid::kCols; ++c) s += (c > 1 ? "|" : "") + g.text(row, c);
    return s.substr(0, s.find_last_not_of('|') + 1);  // up to the last filled cell
}

void fillRow(RecordGrid& g, int row, std::initializer_list<const char*> cells) {
    int c = 1;
    for (const char* t : cells) g.setText(row, c++, t);
}

}  // namespace

TEST(RecordGridEditor, EnterMovesRightAndEndsTheRowAtItsLength) {
    RecordGrid g;
    g.typeKeys("3\n9\n14\n");
    EXPECT_EQ(rowText(g, 1), "03|09|14");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 4}));
    EXPECT_FALSE(g.endOfRow());

    RecordGrid h;
    EXPECT_EQ(h.setRowLengthText(QStringLiteral("3")), QStringLiteral("3"));
    h.typeKeys("3\n9\n14\n5\n");
    EXPECT_EQ(rowText(h, 1), "03|09|14");
    EXPECT_EQ(rowText(h, 2), "05");
    EXPECT_EQ(h.current(), (RecordGrid::Cell{2, 2}));
    // Column 8 with the default length ends the row too.
    RecordGrid full;
    full.typeKeys("1\n2\n3\n4\n5\n6\n7\n8\n9\n");
    EXPECT_EQ(rowText(full, 1), "01|02|03|04|05|06|07|08");
    EXPECT_EQ(rowText(full, 2), "09");
}

TEST(RecordGridEditor, EnterAfterTheRowEndKeepsMovingDownAndScrolls) {
    RecordGrid g;
    g.setRowLengthText(QStringLiteral("1"));
    for (int i = 0; i < 15; ++i) g.typeKeys("1\n");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{16, 1}));
    EXPECT_EQ(g.scrollTop(), 3);  // from row 14 on the new row is the 14th visible one
    // Further Enters in the grid keep moving down, to row 999 at most.
    for (int i = 0; i < 1100; ++i) g.type(Key::Enter);
    EXPECT_EQ(g.current().row, 999);
}

TEST(RecordGridEditor, ArrivalCheckEmptiesANumberNotAboveItsLeftNeighbour) {
    RecordGrid g;
    g.setText(1, 2, "15");
    g.click(1, 3);
    g.typeKeys("12\n");
    EXPECT_EQ(g.text(1, 3), "");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 3}));
    EXPECT_EQ(g.editorText(), "");
    // Equal counts as not greater; an empty left cell counts as 0.
    g.typeKeys("15\n");
    EXPECT_EQ(g.text(1, 3), "");
    g.click(2, 2);
    g.typeKeys("4\n");
    EXPECT_EQ(g.text(2, 2), "04");
}

TEST(RecordGridEditor, KeyFilterAndValuesAboveTwenty) {
    RecordGrid g;
    EXPECT_FALSE(g.editorKeyPress(Key::Char, 'a'));
    EXPECT_FALSE(g.editorKeyPress(Key::Char, '-'));
    EXPECT_TRUE(g.editorKeyPress(Key::Char, '2'));
    EXPECT_TRUE(g.editorKeyPress(Key::Char, '5'));
    EXPECT_FALSE(g.editorKeyPress(Key::Char, '1'));  // a third digit
    EXPECT_EQ(g.text(1, 1), "25");                   // shown in the cell while typed
    // Backspace empties a value above 20 at once; Enter or Right empty it too.
    g.type(Key::Backspace);
    EXPECT_EQ(g.editorText(), "");
    g.typeKeys("25\n");
    EXPECT_EQ(g.text(1, 1), "");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 1}));
    g.typeKeys("25>");
    EXPECT_EQ(g.text(1, 1), "");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 1}));
    // Left and a click elsewhere commit it unchanged (the save check refuses it later).
    g.typeKeys("25<");
    EXPECT_EQ(g.text(1, 1), "25");
    g.click(1, 2);
    g.typeKeys("31");
    g.click(3, 1);
    EXPECT_EQ(g.text(1, 2), "31");
    // Backspace below 21 removes one digit; 0 or an empty editor leaves the cell empty.
    g.typeKeys("17\b");
    EXPECT_EQ(g.editorText(), "1");
    g.typeKeys("\b0\n");
    EXPECT_EQ(g.text(3, 1), "");
}

TEST(RecordGridEditor, ArrowsClicksAndDoubleClicks) {
    RecordGrid g;
    g.typeKeys("5>7>");
    EXPECT_EQ(rowText(g, 1), "05|07");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 3}));
    // Right tests the cell against its left neighbour before it moves.
    g.typeKeys("6>");
    EXPECT_EQ(g.text(1, 3), "");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 3}));
    // Left commits and moves left; at column 1 it stays.
    g.typeKeys("9<<<");
    EXPECT_EQ(g.text(1, 3), "09");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 1}));
    // Right stops at column 8.
    g.click(1, 8);
    g.typeKeys("20>");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 8}));
    // A click on the header column counts as column 1; on the header row the editor's row is kept.
    g.click(4, 0);
    EXPECT_EQ(g.current(), (RecordGrid::Cell{4, 1}));
    g.click(0, 5);
    EXPECT_EQ(g.current(), (RecordGrid::Cell{4, 5}));
    // A double click empties the cell and gives the editor the focus.
    g.doubleClick(1, 2);
    EXPECT_EQ(g.text(1, 2), "");
    EXPECT_EQ(g.focus(), RecordGrid::Focus::Editor);
    // The grid's own cursor: the editor follows without committing.
    g.typeKeys("4");
    g.gridMoved(6, 6);
    EXPECT_EQ(g.text(1, 2), "4");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{6, 6}));
}

TEST(RecordGridEditor, RowLengthBox) {
    RecordGrid g;
    for (const char* bad : {"9", "0", "-2", "", "abc"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(g.setRowLengthText(QString::fromLatin1(bad)), QStringLiteral("8"));
        EXPECT_EQ(g.rowLength(), 8);
    }
    EXPECT_EQ(g.setRowLengthText(QStringLiteral("2.5")), QStringLiteral("2.5"));
    EXPECT_EQ(g.rowLength(), 2);  // halves to even
}

TEST(RecordGridRows, InsertAndRemove) {
    RecordGrid g;
    for (int r = 1; r <= 5; ++r) g.setText(r, 1, std::to_string(10 + r));
    EXPECT_EQ(g.insertRow(3, 1, 7), QStringLiteral("Nincs sor kíválasztva !"));
    EXPECT_EQ(g.removeRow(3, 2, 8), QStringLiteral("Nincs sor kíválasztva !"));
    EXPECT_EQ(g.insertRow(3, 1, 8), std::nullopt);
    const char* after[] = {"11", "12", "", "13", "14", "15", ""};
    for (int r = 1; r <= 7; ++r) EXPECT_EQ(g.text(r, 1), after[r - 1]) << r;
    EXPECT_EQ(g.current(), (RecordGrid::Cell{3, 1}));
    EXPECT_EQ(g.removeRow(3, 1, 8), std::nullopt);
    EXPECT_EQ(g.lastUsedRow(), 5);
    EXPECT_EQ(g.text(3, 1), "13");
    // Below the last used row removing changes nothing.
    EXPECT_EQ(g.removeRow(7, 1, 8), std::nullopt);
    EXPECT_EQ(g.lastUsedRow(), 5);
    // A row with only later cells filled counts as used, so it moves too.
    g.setText(6, 3, "07");
    g.insertRow(1, 1, 8);
    EXPECT_EQ(g.text(7, 3), "07");
}

TEST(RecordGridRows, InsertIsRefusedWhileTheLastRowHoldsNumbers) {
    RecordGrid g;
    g.setText(999, 4, "09");
    g.setText(1, 1, "01");
    EXPECT_TRUE(g.insertRow(1, 1, 8).has_value());
    EXPECT_EQ(g.text(999, 4), "09");
    EXPECT_EQ(g.text(1, 1), "01");
}

TEST(RecordGridLoad, RowsNumbersAndStops) {
    RecordGrid g;
    g.setText(50, 1, "05");
    auto r = g.load(" 01 05 17 \r\n02 03\n\n04,06 07\r\n1.5 02\r\n-3\r\nab 04\r\n");
    EXPECT_EQ(r.message, QString());
    EXPECT_EQ(rowText(g, 1), "01|05|17");
    EXPECT_EQ(rowText(g, 2), "02|03");
    EXPECT_EQ(rowText(g, 3), "");  // an empty line leaves its row empty
    EXPECT_EQ(rowText(g, 4), "04");  // a comma splits a line into two items
    EXPECT_EQ(rowText(g, 5), "06|07");
    EXPECT_EQ(rowText(g, 6), "1.5|02");
    EXPECT_EQ(rowText(g, 7), "-3");
    EXPECT_EQ(rowText(g, 8), "|04");
    EXPECT_EQ(g.text(50, 1), "");
    EXPECT_EQ(g.current(), (RecordGrid::Cell{1, 1}));

    struct Case {
        const char* file;
        const char* message;
        const char* row2;
    } cases[] = {
        {"01 02\r\n05 21 30\r\n03\r\n", "20-nál nagyobb szám van a kulcsban !\r05 21 30", "05"},
        {"01 02\r\n01 02 03 04 05 06 07 08 09\r\n", "8-nál több szám van a sorban !\r01 02 03 04 05 06 07 08 09",
         "01|02|03|04|05|06|07|08"},
        // Blanks after the eighth number are no ninth number.
        {"01 02\r\n01 02 03 04 05 06 07 08      \r\n", "", "01|02|03|04|05|06|07|08"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        RecordGrid h;
        h.click(4, 4);
        const auto res = h.load(c.file);
        EXPECT_EQ(res.message, QString::fromUtf8(c.message));
        EXPECT_EQ(rowText(h, 1), "01|02");
        EXPECT_EQ(rowText(h, 2), c.row2);
        EXPECT_EQ(rowText(h, 3), "");
    }
}

TEST(RecordGridLoad, AHugeRefusedLineIsCutInItsMessage) {
    RecordGrid g;
    const std::string line = "01 02 03 04 05 06 07 08 09" + std::string(100000, '7');
    const auto r = g.load(line);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("8-nál több szám van a sorban !\r01 02 03")));
    EXPECT_EQ(r.message, QStringLiteral("8-nál több szám van a sorban !\r") +
                             dz::quoted(QString::fromLatin1(line.substr(0, size_t(dz::kQuoted) + 1))));
    EXPECT_TRUE(r.message.endsWith(QStringLiteral("777...")));
}

TEST(RecordGridLoad, AThousandLinesKeepNineHundredNinetyNine) {
    std::string file;
    for (int i = 0; i < 999; ++i) file += "01 02 03 \r\n";
    RecordGrid g;
    EXPECT_EQ(g.load(file).message, QString());
    EXPECT_EQ(g.lastUsedRow(), 999);
    file += "04 05\r\n";
    const auto r = g.load(file);
    EXPECT_EQ(r.message, QStringLiteral("999 sornál nagyobb kulcs !"));
    EXPECT_EQ(r.rows, 999);
    EXPECT_EQ(rowText(g, 999), "01|02|03");
}

TEST(RecordGridSave, RowsAsWritten) {
    RecordGrid g;
    g.typeKeys("1\n5\n17\n");
    g.click(2, 1);
    g.typeKeys("2\n3\n");
    EXPECT_EQ(g.check(), std::nullopt);
    EXPECT_EQ(g.keyRows(), (QStringList{QStringLiteral("01 05 17 "), QStringLiteral("02 03 ")}));
    EXPECT_EQ(RecordGrid().keyRows(), QStringList());
    // A cell left with the editor's raw digit is written as two digits.
    RecordGrid h;
    h.typeKeys("7");
    EXPECT_EQ(h.check(), std::nullopt);
    EXPECT_EQ(h.keyRows(), QStringList{QStringLiteral("07 ")});
}

TEST(RecordGridSave, CheckNamesTheFirstFaultyRow) {
    struct Case {
        std::initializer_list<const char*> row3;
        const char* message;  // nullptr: saved
    } cases[] = {
        {{"04", "02"}, "Hiba a 3 sorban"},
        {{"04", "04"}, "Hiba a 3 sorban"},
        {{"01", "02", "", "04"}, "Hiba a 3 sorban"},
        {{"01", "02", "", "", "05"}, "Hiba a 3 sorban"},  // no gap hides cells any more
        {{"", "02"}, "Hiba a 3 sorban"},
        {{"01", "25"}, "Hiba a 3 sorban\rCsak 1 és 20 közötti egész szám rögzíthető !"},
        {{"1.5", "02"}, "Hiba a 3 sorban\rCsak 1 és 20 közötti egész szám rögzíthető !"},
        {{"-3"}, "Hiba a 3 sorban\rCsak 1 és 20 közötti egész szám rögzíthető !"},
        {{"01", "02", "0"}, nullptr},  // a raw 0 is an empty cell
        {{"01", "20"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message ? c.message : "ok");
        RecordGrid g;
        fillRow(g, 1, {"01"});
        fillRow(g, 2, {"02", "03"});
        fillRow(g, 3, c.row3);
        const auto m = g.check();
        if (c.message)
            EXPECT_EQ(m, QString::fromUtf8(c.message));
        else
            EXPECT_EQ(m, std::nullopt);
    }
    // An empty row with rows after it is named, rather than the rows after it dropped.
    RecordGrid g;
    fillRow(g, 1, {"01"});
    fillRow(g, 12, {"02"});
    EXPECT_EQ(g.check(), QStringLiteral("Hiba a 2 sorban\rÜres sor után is vannak számok a táblázatban !"));
}
