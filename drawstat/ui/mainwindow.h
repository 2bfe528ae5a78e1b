// drawstat's startup window: the home of the program's state and the menu of its analyses.
#pragma once
#include "common/platform/widgets.h"

#include <QMainWindow>
#include <array>

class QAction;
class QPushButton;

namespace dz::drawstat {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Controls keep the names of the window's design.
    dz::ui::ListBox* List1;                 // frequency by number; tooltip: the draw count
    dz::ui::ListBox* List3;                 // sorted: frequency, then number
    dz::ui::ListBox* List2;                 // result list
    std::array<dz::ui::ListBox*, 9> List5;  // hidden class lists 0..8
    dz::ui::ListBox* List6;                 // hidden copy of the last identity or adhesion result
    QPushButton* Command3D1;                // "Vége"
    QPushButton* Command3D2;                // "Azonosság"
    QPushButton* SSCommand1;                // "Tapadás"
    QPushButton* SSCommand2;                // "Vissza"

    QAction* action(const char* name) const;

public slots:
    void start_Click();
    void teteles_Click();
    void osszeg_Click();
    void Command3D1_Click();
    void Command3D2_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void List2_Click(int index);
    void List2_KeyPress(int charCode);
    void nyolc_Click();
    void het_Click();
    void hat_Click();
    void ot_Click();
    void negy_Click();
    void leggyak1_Click();
    void kihagy_Click();
    void vissza_Click();
    void interval5_Click();
    void terkepbe_Click();

private:
    QAction* addMenuItem(const char* name, const QString& caption, void (MainWindow::*handler)());
};

// The L key on any list of drawstat: the list goes to the next numbered list file, and the user
// is told where (or that it failed).
void exportList(QWidget* parent, const QStringList& items);

}  // namespace dz::drawstat
