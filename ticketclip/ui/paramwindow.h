// The parameter window: the eleven submission parameters, saved to "szrtpara.txt" and taken
// over into the values in force.
#pragma once
#include "ticketclip/core/submitparams.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

namespace dz::ticketclip {

class ParameterWindow : public QDialog {
    Q_OBJECT
public:
    // inForce: the program's parameters, which a save changes at once.
    ParameterWindow(Params& inForce, QWidget* parent = nullptr);

    void Form_Load();
    void SSCommand4_Click();  // "Paraméter ment"
    void SSCommand1_Click();  // "Kilép"
    bool edited() const { return edited_; }

    std::array<QLineEdit*, kParamCount> Text1{};
    QPushButton* SSCommand4 = nullptr;
    QPushButton* SSCommand1 = nullptr;

private:
    ParamTexts texts() const;

    Params& inForce_;
    bool edited_ = false;
};

}  // namespace dz::ticketclip
