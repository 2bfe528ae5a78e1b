// The most-frequent window: numbers, pairs and triples over the last L draws, each in number
// order and ranked. Shown without blocking the main window; "Kilép" hides it with its lists and
// its box, the close box unloads it.
#pragma once
#include "common/platform/widgets.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dz::drawstat {

class MostFrequentWindow : public QDialog {
    Q_OBJECT
public:
    explicit MostFrequentWindow(QWidget* parent = nullptr);

    static MostFrequentWindow* instance();
    // Loads the window on first use and shows it modelessly.
    static void open(QWidget* owner);

    QLabel* Label1;            // "Visszamenőleg :"
    QLineEdit* Text1;          // L
    QPushButton* Command1;     // "Kezdés"
    QPushButton* Command2;     // "Kilép"
    dz::ui::ListBox* List5;    // numbers
    dz::ui::ListBox* List6;    // sorted: numbers ranked
    dz::ui::ListBox* List1;    // pairs
    dz::ui::ListBox* List2;    // sorted: pairs ranked
    dz::ui::ListBox* List3;    // triples
    dz::ui::ListBox* List4;    // sorted: triples ranked

public slots:
    void Command1_Click();
    void Command2_Click();
    void Text1_DblClick();
};

}  // namespace dz::drawstat
