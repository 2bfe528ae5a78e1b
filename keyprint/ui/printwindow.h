// keyprint's one window `Form1`: the shifts and settings, the key list, the ticket and A4 prints.
#pragma once
#include "keyprint/core/tickets.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dz::ui {
class ListBox;
}

namespace dz::keyprint {

class PrintWindow : public QWidget {
    Q_OBJECT
public:
    explicit PrintWindow(QWidget* parent = nullptr);

    static QString caption();

    int stakeChoice() const { return stakeChoice_; }
    int drawCountChoice() const { return drawCountChoice_; }
    dz::ui::ListBox* list() const { return List1; }

    // Handlers, named after their controls.
    void Command3D1_Click();  // "Szelv. kitölt": every row
    void Command3D2_Click();  // "Kilép"
    void Command3D3_Click();  // "Beállítás mentése"
    void Command3D4_Click();  // "Kulcs választás"
    void Command3D5_Click();  // "-> Kijelölt sor nyomtatása"
    void Command3D6_Click();  // "A4-s lapra nyomtat"
    void Command3D9_Click();  // "-> Nyomtatás": the rows From..To
    void List1_Click();
    void Option1_Click(int index);
    void Option2_Click(int index);

private:
    void Form_Load();
    void PrintTicketRun(Selector selector);
    int markIndex() const;
    std::array<bool, 4> extras() const;

    int stakeChoice_ = 1, drawCountChoice_ = 1;
    QString lastDialogName_;  // the key dialog's file name, kept for the run

    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5;
    dz::ui::ListBox* List1;
    QLabel *Label4, *Label6, *Label9;
    QCheckBox *Check1, *Check2;
    std::array<QCheckBox*, 4> Check3{};
    std::array<QRadioButton*, 5> Option1{};
    std::array<QRadioButton*, 6> Option2{};
    std::array<QRadioButton*, 3> Option3{};
    QPushButton *Command3D1, *Command3D2, *Command3D3, *Command3D4, *Command3D5, *Command3D6, *Command3D9;
};

}  // namespace dz::keyprint
