// The window `vezetes`: the user pairs the marked numbers (I.) with the key's numbers (II.),
// by hand or at random, and "Cserél" rewrites the key by the pairs (III.).
#pragma once
#include "csere/core/operations.h"

#include <QDialog>

class QLabel;

namespace dz::ui {
class ListBox;
}

namespace dz::csere {

class SubstitutionWindow : public QDialog {
    Q_OBJECT
public:
    SubstitutionWindow(uint32_t marks, uint32_t presence, QStringList key, QWidget* parent = nullptr);

    // After the window was accepted: the new key and the pair lines.
    const Pairing::Substitution& substitution() const { return result_; }
    dz::ui::ListBox* list(int i) const;  // List1 .. List3
    static QString hint(const QString& controlName);

    void Command3D1_Click();  // "Párosít"
    void Command3D4_Click();  // "Vissza"
    void Command3D5_Click();  // "Véletlen párosítás"
    void Command3D2_Click();  // "Cserél"
    void Command3D3_Click();  // "Mégse"

private:
    void showLists();
    void refuse(const Message& m);

    Pairing pairing_;
    QStringList key_;
    Pairing::Substitution result_;
    dz::ui::ListBox *List1, *List2, *List3;
    QLabel* Panel3D1;
};

}  // namespace dz::csere
