// The main window `kiertekel` of keygen and of keygengroup: one window, the differences of the
// grouped program (no even distribution box, no export, the grouped choice shown modeless, the
// grouped generation, its own hints and test table) switched by `grouped`.
#pragma once
#include "keygen/core/generator.h"
#include "keygen/core/groups.h"
#include "common/core/random.h"
#include "keygen/core/state.h"

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QThread;

namespace dz::ui {
class ListBox;
}

namespace dz::keygen {

class NumberChoiceWindow;
namespace group {
class GroupChoiceWindow;
}

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(bool grouped, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProgramState& state() { return state_; }
    // A generation or a test is running.
    bool busy() const { return busy_; }
    bool grouped() const { return state_.grouped; }
    // keygengroup's grouped choice window, once it has been opened.
    group::GroupChoiceWindow* groupChoice() const;
    // keygen's number choice window while it is loaded.
    NumberChoiceWindow* choice() const;

    // The caption of the window (the task, the remark and the maker).
    static QString caption(bool grouped);
    // The hint the window writes into Panel3D1 for a control.
    static QString hint(bool grouped, const QString& controlName);

    // Handlers, named after their controls.
    void Command3D1_Click();  // "Vége"
    void Command3D2_Click();  // "Random teszt indul"
    void Command3D3_Click();  // "Generálás"
    void Command3D4_Click();  // "Kijelöl"
    void Command3D5_Click();  // "Állományba ment"
    void Command3D7_Click();  // "Betölt"
    void SSCommand1_Click();  // "Állj"
    void List1_KeyPress(int keyAscii);

signals:
    // A generation ended and its key is shown.
    void generationFinished();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void setRunning(bool on);
    void runFinished();
    void groupChoiceLeft(bool confirmed);

    ProgramState state_;
    GroupRule rule_;  // the group limits of the running generation

    dz::ui::ListBox *List1, *List2, *List4, *List5;  // the best run (List3) is kept by the engine
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text7;
    QCheckBox *Check1, *Check2 = nullptr;
    QLabel *Label1, *Label4, *Label6, *Label7, *Panel3D1;
    QPushButton *Command3D1, *Command3D2, *Command3D3, *Command3D4, *Command3D5, *Command3D7, *SSCommand1;

    QPointer<NumberChoiceWindow> choice_;
    QPointer<group::GroupChoiceWindow> groupChoice_;

    bool busy_ = false;
    bool running_ = false;
    std::atomic<bool> stop_{true};
    QThread* worker_ = nullptr;
    // The worker's own source: only the running generation draws from it, and each run seeds it.
    dz::Random workerRandom_;
    GenerationResult result_;
};

}  // namespace dz::keygen
