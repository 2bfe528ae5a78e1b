// The window `teljesk`: every combination of t numbers out of 1..N, written into the main
// window's key list as a base key.
#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;

namespace dz::ui {
class ListBox;
}

namespace dz::csere {

class FullCombinationsWindow : public QDialog {
    Q_OBJECT
public:
    FullCombinationsWindow(dz::ui::ListBox* keyList, QWidget* parent = nullptr);

    // The type buttons "2" .. "8".
    void generate(int type);
    void Spin1_SpinUp();
    void Spin1_SpinDown();

private:
    dz::ui::ListBox* keyList_;
    QLineEdit* Text1;
    QLabel *Label1, *Label5;
};

}  // namespace dz::csere
