// The interval window: the interval pattern of every draw of the draw window and the pattern
// frequencies in code and in frequency order. Computed when the window is loaded; "Kilép" hides
// it, so reopening shows the same lists; the close box unloads it.
#pragma once
#include "common/platform/widgets.h"

#include "drawstat/ui/keptdialog.h"

class QLabel;
class QPushButton;

namespace dz::drawstat {

class IntervalWindow : public KeptDialog {
    Q_OBJECT
public:
    explicit IntervalWindow(QWidget* parent = nullptr);

    // The loaded window, nullptr while it is not loaded.
    static IntervalWindow* instance();
    // Loads the window on first use and shows it modally; the close box unloads it.
    static void open(QWidget* owner);

    QLabel* Label1;
    dz::ui::ListBox* List1;     // one line per draw
    dz::ui::ListBox* List2;     // pattern order
    dz::ui::ListBox* List3;     // sorted: frequency order
    QPushButton* Command3D1;    // "Kilép"

public slots:
    void Command3D1_Click();

private:
    void Form_Load();
};

}  // namespace dz::drawstat
