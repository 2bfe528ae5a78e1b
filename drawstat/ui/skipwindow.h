// The skip window: the life path of one number marked on the grid, its skip distribution, and
// the since view of the grid. Shown modally and unloaded when closed, so each opening starts afresh.
#pragma once
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"

#include <QColor>
#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

namespace dz::drawstat {

class SkipWindow : public QDialog {
    Q_OBJECT
public:
    explicit SkipWindow(QWidget* parent = nullptr);

    // Creates the window, shows it modally and unloads it when it closes.
    static void open(QWidget* owner);

    dz::ui::NumberGrid* grid;   // Command3D2(1..20)
    QPushButton* Command3D3;    // "Mióta nem húzták"
    QLineEdit* Text1;           // threshold of the since view
    dz::ui::SpinButton* Spin1;
    QPushButton* Command3D4;    // "Töröl"
    QPushButton* Command3D5;    // "Életút"
    QPushButton* Command3D1;    // "Vége"
    dz::ui::ListBox* List1;     // appearances
    dz::ui::ListBox* List2;     // skip distribution

    // True while the cells show their numbers, false in the since view.
    bool numberView() const { return numberView_; }

public slots:
    void Command3D2_Click(int n);
    void Command3D3_Click();
    void Spin1_SpinUp();
    void Spin1_SpinDown();
    void Text1_DblClick();
    void Command3D4_Click();
    void Command3D5_Click();
    void Command3D1_Click();

private:
    void Form_Load();
    // Redraws cell n from its mark, caption and colour.
    void paint(int n);

    bool numberView_ = true;
    std::array<QString, 21> caption_;
    std::array<QColor, 21> color_;
};

}  // namespace dz::drawstat
