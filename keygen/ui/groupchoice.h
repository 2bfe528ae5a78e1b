// keygengroup's grouped number choice window `valaszt`: shown modeless while the main window is
// disabled; "Kiválaszt" (when accepted), "Mégsem" and the close box hide it and hand the main
// window back. Its state lives in the program's GroupChoice, so a hidden window keeps it.
#pragma once
#include "keygen/core/state.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace dz::ui {
class NumberGrid;
}

namespace dz::keygen::group {

class FileViewerWindow;

class GroupChoiceWindow : public QWidget {
    Q_OBJECT
public:
    explicit GroupChoiceWindow(ProgramState& state, QWidget* parent = nullptr);
    ~GroupChoiceWindow() override;

    static QString caption();
    dz::ui::NumberGrid* grid() const { return grid_; }
    FileViewerWindow* viewer() const { return seged_; }
    // Hides this window and the viewer without handing anything back (the program ends).
    void closeAll();

    void Command3D2_Click(int n);  // cell n
    void SSCommand1_Click();       // "Kiválaszt"
    void SSCommand2_Click();       // "Töröl"
    void Command3D1_Click();       // "Mégsem"
    void Command3D4_Click();       // "Kijel. ment"
    void Command3D3_Click();       // "Kijel. betölt"
    void Command3D5_Click();       // "Segít"

signals:
    // The window was left; confirmed after an accepted "Kiválaszt".
    void left(bool confirmed);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void showCell(int n);
    void showAll();
    void leave(bool confirmed);

    ProgramState& state_;
    GroupChoice& choice_;
    dz::ui::NumberGrid* grid_;
    QLabel* Label1;
    std::array<QRadioButton*, kGroups + 1> Option3D1{};
    std::array<QLineEdit*, kGroups + 1> Text1{}, Text2{};
    std::array<QLabel*, kGroups + 1> Label4{};
    QButtonGroup* options_;
    QPointer<FileViewerWindow> seged_;
    bool centred_ = false;
    bool closingAll_ = false;
};

// The text file viewer `seged` ("Segít"): the input items of a file, one a line. "Vége" hides it
// and keeps the lines; the close box unloads it.
class FileViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit FileViewerWindow(QWidget* parent = nullptr);
    static QString caption();

    void Command3D1_Click();  // "Betölt"
    void Command3D2_Click();  // "Vége"
};

}  // namespace dz::keygen::group
