// Vazoz's start window `kiertekel`: the loaded key (List1), the new key (List2), the number
// board, the key's labels and one button per operation. It holds the program's state: the
// board's marks, the analysis of the loaded key and the file name its one file dialog carries.
#pragma once
#include "csere/core/keyrows.h"

#include <QString>
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dz::ui {
class ListBox;
class NumberGrid;
}  // namespace dz::ui

namespace dz::csere {

struct Message;

class WorkshopWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkshopWindow(QWidget* parent = nullptr);

    // Loads a key file into List1 and analyses it (a file that cannot be opened changes
    // nothing and returns false). The other windows load through here too.
    bool loadKeyFile(const QString& fullName);
    // A shipped key: the file of that name in "kulcsp", with its description shown in Label6.
    bool loadShippedKey(const QString& fileName, const QString& description);
    // The file name the window's one dialog carries from one operation to the next.
    QString dialogFileName() const { return dialogName_; }
    void setDialogFileName(const QString& name) { dialogName_ = name; }

    const KeyAnalysis& analysis() const { return key_; }
    bool shippedKeyChosen() const { return shipped_; }
    dz::ui::NumberGrid* grid() const { return grid_; }
    dz::ui::ListBox* list(int i) const;  // List1 .. List5
    static QString hint(const QString& controlName);

    // Handlers, named after their controls.
    void Command3D1_Click();   // "Vége"
    void Command3D3_Click();   // "Töröl"
    void Command3D4_Click();   // "Vazoz"
    void Command3D5_Click();   // "Állományba ment"
    void Command3D6_Click();   // "Uj kulcs rögzítése"
    void Command3D7_Click();   // "Egyéb kulcs betölt"
    void Command3D8_Click();   // "Dizov kulcs betölt"
    void Command3D9_Click();   // "Teljes kombinációk"
    void Command3D10_Click();  // "Fix"
    void Command3D11_Click();  // " <- Vissza"
    void Command3D13_Click();  // "Betölt" (selection)
    void Command3D14_Click();  // "Ment" (selection)
    void Command3D15_Click();  // "T" (delete a file)
    void Command3D17_Click();  // "Irányított csere"
    void Command3D18_Click();  // "Eloszlás"
    void Command3D19_Click();  // "Véletlen kijel."
    void Command3D23_Click();  // "Véletlen bővítés"
    void Command3D24_Click();  // "1 szám->xx."
    void Command3D27_Click();  // "T" (clear List2)
    void Command3D30_Click();  // show a key's numbers on the board
    void Combo1_Click();
    void List1_DblClick(int index);
    void List1_KeyPress(int keyAscii);
    void List2_DblClick(int index);
    void List4_DblClick();
    void List5_DblClick();

private:
    bool loadKey(const QString& fullName, bool shipped);
    void analyseLoadedKey();
    void showAnalysis(bool withType);
    void fillCombo();
    void setMarks(uint32_t marks);
    void showMarkedCount();
    void refuse(const Message& m);

    KeyAnalysis key_;
    bool shipped_ = false;
    QString dialogName_;

    dz::ui::NumberGrid* grid_;
    dz::ui::ListBox *List1, *List2, *List4, *List5;
    QComboBox* Combo1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label6, *Label9, *Panel3D1;
    std::array<QLineEdit*, 3> Text1{};
    QLineEdit* Text2;
    QPushButton *Command3D6, *Command3D8;
};

}  // namespace dz::csere
