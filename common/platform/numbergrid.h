// The number grid: twenty square cells in four rows of five on a fixed pitch, optional tool
// buttons left of each row and under each column, and an optional row of four extra-number cells.
// Windows lay out their own grids through the geometry; the cells' looks follow flags, never
// whether a picture file loaded (a missing image still shows a drawn mark).
#pragma once
#include "common/core/selection.h"

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <array>
#include <optional>

class QPushButton;
class QWidget;
class QLabel;

namespace dz::ui {

struct GridGeometry {
    // Positions in twips of the invisible template elements, as the windows were designed.
    int cellSize = 340, pitch = 365;
    int cellLeft = 255, cellTop = 360;          // cell n sits at left + pitch*c, top + pitch*r
    QString cellName = QStringLiteral("Command3D2");
    bool rowTools = false;
    int rowToolSize = 195, rowToolLeft = 240, rowToolTop = 420;
    QString rowToolName = QStringLiteral("Command3D10");
    int rowToolWidth = 0;         // 0: square (rowToolSize)
    int rowToolPitch = 0;         // 0: the cell pitch
    // The element number of the first row tool: 1 where the designed element 0 is a hidden
    // template, 0 where the designed element is the first row's tool itself.
    int rowToolFirstElement = 1;
    // A tool's unmark gives the cell back its caption (blank, number, blank), as a click does,
    // instead of the bare digits.
    bool toolRestoresCaption = false;
    bool columnTools = false;
    int columnToolLeft = 675, columnToolTop = 1980;
    QString columnToolName = QStringLiteral("Command3D11");
    bool extraCells = false;
    int extraLeft = 420, extraTop = 2385;
    QString extraName = QStringLiteral("Command3D6");
    QString markImage = QStringLiteral("XX.BMP");
    // The third look of a cell: a number shown (not marked) by a window's display.
    QString shownImage = QStringLiteral("xxk.bmp");
    // The cell under the pointer takes the focus and the emphasis (the statistics windows' grids);
    // off where the emphasis carries a state of its own.
    bool hoverEmphasis = true;
};

// A grid image of the program folder by name (case-blind), or a drawn stand-in when the file is
// missing or unreadable, so that a mark always shows.
QPixmap gridImage(const QString& name, int size);

class NumberGrid : public QObject {
    Q_OBJECT
public:
    // Builds the cells on parent at the geometry's positions; element n of each array is named
    // "<name>(n)" (the control arrays of the windows).
    NumberGrid(QWidget* parent, GridGeometry geometry = {});

    const GridGeometry& geometry() const { return geo_; }
    QPushButton* cell(int n) const { return (n >= 1 && n <= 20) ? cells_[n] : nullptr; }
    QPushButton* rowTool(int r) const { return (r >= 1 && r <= 4) ? rowTools_[r] : nullptr; }
    QPushButton* columnTool(int c) const { return (c >= 1 && c <= 5) ? colTools_[c] : nullptr; }
    QPushButton* extraCell(int p) const { return (p >= 1 && p <= 4) ? extras_[p] : nullptr; }

    // The grid's own flags; windows with the standard behaviour leave the handling to the grid.
    NumberSelection& selection() { return sel_; }
    const NumberSelection& selection() const { return sel_; }
    bool extraMarked(int p) const { return p >= 1 && p <= 4 && extraFlags_[p]; }

    // Standard behaviour (on unless turned off): a click on a cell toggles it, a row or column
    // tool inverts its numbers, an extra cell toggles by whether it shows an image.
    void setStandardClicks(bool on) { standard_ = on; }

    // Standard operations, which update flags and looks together.
    void toggle(int n);
    void invertRow(int r);
    void invertColumn(int c);
    void toggleExtra(int p);
    void clearAll();                         // flags, extra flags and looks
    void pickRandom(int k, Random& rng, bool clearExtras = true);  // clears number (and extra) marks, then picks k
    void setMarked(int n, bool on);          // flag and look
    // Redraws every cell from the flags (after a draw display, or when the window is shown again).
    void refresh();

    // Looks only, for the windows that show more than marks.
    void showUnmarked(int n, const QString& caption);  // caption, no image
    void showImage(int n, const QString& imageName);   // no caption, the image
    // The shown look (no caption, the shown image) on an unmarked cell; its flag stays off, so a
    // click marks it. A marked cell keeps its mark.
    void showShown(int n);
    bool isShown(int n) const { return n >= 1 && n <= 20 && !sel_.marked(n) && cellImage_[n]; }
    void showColor(int n, const QColor& color, const QString& caption);
    void showExtraImage(int p, const QString& imageName);
    void showExtraUnmarked(int p);
    bool extraShowsImage(int p) const { return p >= 1 && p <= 4 && extraImage_[p]; }
    bool showsImage(int n) const { return n >= 1 && n <= 20 && cellImage_[n]; }

    // The hover label: the number under the pointer as str(n); emptied by clearHover().
    void setHoverLabel(QLabel* label) { hover_ = label; }

    static QString unmarkedCaption(int n);  // str(n) + " "

signals:
    void cellClicked(int n);
    void rowToolClicked(int r);
    void columnToolClicked(int c);
    void extraClicked(int p);
    void cellHovered(int n);
    // After every change of a number mark made by the standard operations.
    void countChanged(int count);

private:
    QPushButton* makeButton(QWidget* parent, const QString& name, int left, int top, int size, int height = 0);
    void setEmphasis(int n, bool on);
    // Inverts the five numbers first, first + step, ... (a row: step 1, a column: step 5, four of them).
    void invertNumbers(int first, int step);

    GridGeometry geo_;
    NumberSelection sel_;
    std::array<QPushButton*, 21> cells_{};
    std::array<QPushButton*, 5> rowTools_{};
    std::array<QPushButton*, 6> colTools_{};
    std::array<QPushButton*, 5> extras_{};
    std::array<bool, 21> cellImage_{};
    std::array<bool, 5> extraImage_{};
    std::array<bool, 5> extraFlags_{};
    QLabel* hover_ = nullptr;
    bool standard_ = true;
};

}  // namespace dz::ui
