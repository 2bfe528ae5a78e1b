// vazoz's shipped keys window `gyari`: the descriptions of the keys in "kulcsp" (from
// "kulcsp/vevud.inf"), ordered by game type or by number count; descriptions added and deleted;
// "Kiválaszt" chooses one key. The main window opens it modally and reads the choice after:
//
//     dz::csere::gyari g(this);
//     g.exec();
//     if (g.chosen()) {
//         Label6->setText(g.chosenLine());      // the whole description line
//         // the dialog's file name: g.chosenFileName(); the file to load: g.chosenPath()
//     }
#pragma once
#include <QDialog>
#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dz::ui {
class ListBox;
}

namespace dz::csere {

class ShippedKeysWindow : public QDialog {
    Q_OBJECT
public:
    // Reads the description file of the program folder.
    explicit ShippedKeysWindow(QWidget* parent = nullptr);

    static QString caption();
    // "Kiválaszt" chose a key (the shipped-key flag).
    bool chosen() const { return chosen_; }
    // The chosen description line (for the main window's Label6).
    const QString& chosenLine() const { return chosenLine_; }
    // Its key file's name (columns 1-12 without the padding blanks), as the dialog's file name.
    QString chosenFileName() const;
    // The key file in the program folder's "kulcsp", found case-blind; empty for a blank name.
    QString chosenPath() const;
    // The description row of List1 that was chosen (the selected description index).
    int selectedIndex() const { return selected_; }
    // An addition or a deletion is waiting to be written back.
    bool modified() const { return modified_; }

    void List1_Click(int row);
    void List2_Click(int row);
    void Option1_Click(int index);
    void Command3D1_Click();  // "Kiválaszt"
    void Command3D2_Click();  // "Töröl"
    void Command3D3_Click();  // "Hozzáad"
    void Kilep_Click();       // "Kilép"

private:
    void writeBack();
    void showCount();

    dz::ui::ListBox *List1, *List2;
    QRadioButton* Option1[2];
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton *Command3D2, *Command3D3;
    std::vector<int> viewSource_;  // row of List2 -> row of List1
    bool modified_ = false;
    bool chosen_ = false;
    QString chosenLine_;
    int selected_ = -1;
};

}  // namespace dz::csere
