// keygen's number choice window `valaszt`: shown modally by "Kijelöl"; "Kiválaszt" and "Mégsem"
// only hide it (its marks stay for the next opening), the close box unloads it, so that the next
// opening loads it afresh with the choice cleared.
#pragma once
#include "keygen/core/state.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace dz::ui {
class NumberGrid;
}

namespace dz::keygen {

class NumberChoiceWindow : public QDialog {
    Q_OBJECT
public:
    NumberChoiceWindow(ProgramState& state, QWidget* parent = nullptr);

    static QString caption();
    dz::ui::NumberGrid* grid() const { return grid_; }
    // The window was closed by its close box: the owner deletes it.
    bool unloaded() const { return unloaded_; }

    void Command3D2_Click(int n);  // cell n
    void Command3D3_Click();       // "Töröl"
    void Command3D4_Click();       // "Kiválaszt"
    void Command3D1_Click();       // "Mégsem"
    void Command3D8_Click();       // "Kijel.ment"
    void Command3D5_Click();       // "Kijel.vissza"

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void showChoice();

    ProgramState& state_;
    dz::ui::NumberGrid* grid_;
    QLabel* Label1;
    bool unloaded_ = false;
    bool centred_ = false;
};

}  // namespace dz::keygen
