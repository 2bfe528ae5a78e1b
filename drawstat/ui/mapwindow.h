// The map window: one line per draw of the draw window with a mark in the column of each drawn
// number; a click shows the line's numbers as the list's tooltip, L exports the map. Built when
// the window is loaded; "Kilép" hides it, the close box unloads it.
#pragma once
#include "common/platform/widgets.h"

#include "drawstat/ui/keptdialog.h"
#include <array>

class QLabel;
class QPushButton;

namespace dz::drawstat {

class MapWindow : public KeptDialog {
    Q_OBJECT
public:
    explicit MapWindow(QWidget* parent = nullptr);

    static MapWindow* instance();
    static void open(QWidget* owner);

    dz::ui::ListBox* List1;         // the map
    std::array<QLabel*, 2> Label1;  // units digit of each column, above and below the list
    std::array<QLabel*, 2> Label2;  // tens digit of columns 10 and 20
    QPushButton* SSCommand1;        // "Kilép"

public slots:
    void List1_Click(int index);
    void List1_KeyPress(int charCode);
    void SSCommand1_Click();

private:
    void Form_Load();
};

}  // namespace dz::drawstat
