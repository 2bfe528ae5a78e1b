// The range window of the partial-day draw file, and the "Válogat" menu of daystat's main window:
// the last N draws or a range of draw keys cut out of the draw history into "vevud.dat".
#pragma once
#include "daystat/core/cut.h"
#include "common/platform/widgets.h"

#include <QDialog>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;

namespace dz::daystat {

class CutRangeWindow : public QDialog {
    Q_OBJECT
public:
    explicit CutRangeWindow(QWidget* parent = nullptr);

    // False when the draw history could not be opened at load (the program then ends).
    bool historyFound() const { return found_; }

    QLabel* Label3;        // "Tól:"
    QLineEdit* Text1;      // FROM year
    QLineEdit* Text2;      // FROM month
    QLineEdit* Text3;      // FROM day
    QLineEdit* Text8;      // FROM draw number
    QLabel* Label4;        // "Ig:"
    QLineEdit* Text4;      // TO year
    QLineEdit* Text5;      // TO month
    QLineEdit* Text6;      // TO day
    QLineEdit* Text9;      // TO draw number
    std::array<dz::ui::SpinButton*, 9> Spin{};  // Spin(1) .. Spin(8)
    QLabel* Label1;        // records written by the last cut
    QPushButton* Command3D1;  // "Leválogat"
    QPushButton* Command3D2;  // "Vége"

public slots:
    void Command3D1_Click();
    void Command3D2_Click();
    void Spin_SpinUp(int i);
    void Spin_SpinDown(int i);

private:
    void Form_Load();
    // The box of spin i and its bounds.
    QLineEdit* spinBox(int i) const;
    std::pair<long long, long long> spinBounds(int i) const;
    RangeBoxes readBoxes() const;
    void writeBoxes(const RangeBoxes& b);

    std::optional<HistoryBounds> bounds_;
    bool found_ = false;
};

// "Tól: Ig:": shows valogat modally; without a draw history the program ends after the message.
void tolig_Click(QWidget* owner);
// "Húzás szám": the last N draws into "vevud.dat".
void huzassz_Click(QWidget* owner);
// The "Válogat" menu, placed before "Start".
void addValogatMenu(QMainWindow& w);

}  // namespace dz::daystat
