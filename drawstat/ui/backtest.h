// The back-test window: the number grid, the bounds of the hit list, the run over the draw file,
// the hit distribution and the display of a listed draw on the grid.
#pragma once
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dz::drawstat {

class BacktestWindow : public QDialog {
    Q_OBJECT
public:
    explicit BacktestWindow(QWidget* parent = nullptr);

    dz::ui::NumberGrid* grid;     // Command3D2, Command3D10, Command3D11, Command3D6
    QPushButton* Command3D3;      // "Véletlen"
    QPushButton* Command3D5;      // "Töröl"
    QPushButton* Command3D4;      // "Vizsgál"
    QPushButton* Command3D7;      // "Húzás"
    QPushButton* Command3D1;      // "Kilép"
    QLineEdit* Text1;             // pick count of "Véletlen"
    QLineEdit* Text2;             // lower hit bound
    QLineEdit* Text4;             // upper hit bound
    QLineEdit* Text3;             // star threshold
    QCheckBox* Check1;            // whole-history mode
    QLabel* Label1;               // marked count
    QLabel* Label13;              // number under the pointer
    QLabel* Label2;
    QLabel* Label12;
    QLabel* Label3;               // count of listed draws
    QLabel* Label4;
    QLabel* Label5;               // completeness level
    QLabel* Label6;
    dz::ui::ListBox* List1;       // hit list
    dz::ui::ListBox* List3;       // hidden: numbers part of each listed draw
    dz::ui::ListBox* List2;       // hit distribution

public slots:
    void Command3D3_Click();
    void Command3D5_Click();
    void Command3D4_Click();
    void Command3D7_Click();
    void Command3D1_Click();
    void List1_KeyPress(int charCode);
    void List2_KeyPress(int charCode);

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Form_Load();
};

}  // namespace dz::drawstat
