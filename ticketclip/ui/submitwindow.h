// The submission window: start-up, the key choice, the price against the stake limit, the
// basket parts and the quick-ticket text on the clipboard.
#pragma once
#include "ticketclip/core/submitparams.h"
#include "ticketclip/core/submission.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace dz::ui {
class ListBox;
}

namespace dz::ticketclip {

class ParameterWindow;

class SubmitWindow : public QWidget {
    Q_OBJECT
public:
    explicit SubmitWindow(QWidget* parent = nullptr);

    // Start-up after the second-start check: the game list and the parameters.
    void Form_Load();

    void Command3D4_Click();  // "Kulcs választás"
    void SSCommand3_Click();  // "Alapállapot"
    void SSCommand2_Click();  // "Feladás előkészítés"
    void SSCommand1_Click();  // "Vágólapra másolás"
    void SSCommand4_Click();  // "Paraméterek"
    void Command3D2_Click();  // "Kilép"
    void Check3_Click(int index);
    void Option1_Click(int index);
    void Option2_Click(int index);

    const Params& params() const { return params_; }
    const Choices& choices() const { return choices_; }
    int partCounter() const { return partCounter_; }

    // Tests act on the parameter window instead of waiting for it.
    void setParamWindowDriver(std::function<void(ParameterWindow&)> f) { paramDriver_ = std::move(f); }

    ui::ListBox* List1 = nullptr;
    ui::ListBox* List5 = nullptr;
    ui::ListBox* List2 = nullptr;
    ui::ListBox* List3 = nullptr;
    QPushButton* SSCommand3 = nullptr;
    QPushButton* Command3D4 = nullptr;
    QLabel *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr;
    QLabel *Label11 = nullptr, *Label12 = nullptr, *Label8 = nullptr, *Label9 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label15 = nullptr, *Label14 = nullptr, *Label13 = nullptr;
    QPushButton* SSCommand2 = nullptr;
    QPushButton* SSCommand1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label7 = nullptr;
    std::array<QRadioButton*, 5> Option1{};
    QGroupBox* Frame2 = nullptr;
    QLabel* Label10 = nullptr;
    std::array<QRadioButton*, 6> Option2{};
    QGroupBox* Frame4 = nullptr;
    std::array<QCheckBox*, 4> Check3{};
    QPushButton* SSCommand4 = nullptr;
    QPushButton* Command3D2 = nullptr;

private:
    enum class Variant { Selection, Load, Parameters };
    void recompute(Variant v);
    void setChoicesEnabled(bool on);
    void buildWindow();
    // The reset's question ("Biztos, ..."), true for OK; and what the reset clears, the key included.
    bool confirmReset();
    void resetWindow();

    Params params_ = defaultParams();
    Choices choices_;
    long long loadedRows_ = 0;
    int partCounter_ = 0;
    std::function<void(ParameterWindow&)> paramDriver_;
};

}  // namespace dz::ticketclip
