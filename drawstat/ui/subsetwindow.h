// The subset statistics window, one class for the five sizes (negyes .. nyolcas) and for every
// program that keeps subset statistics: a profile says what differs. "Kilép" hides it with its
// state; the close box unloads it and the next opening reads its list files again.
#pragma once
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "drawstat/core/subsetprofile.h"
#include "common/platform/options.h"
#include "common/platform/widgets.h"

#include "drawstat/ui/keptdialog.h"

#include <QString>
#include <atomic>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace dz::ui {
class JobGate;
}

namespace dz::drawstat {

class SubsetWindow : public KeptDialog {
    Q_OBJECT
public:
    explicit SubsetWindow(const SubsetProfile& profile, QWidget* parent = nullptr);

    // Loads the window of this profile on first use and shows it modally.
    static void open(QWidget* owner, const SubsetProfile& profile);
    // The loaded window of a profile (by its counter file), nullptr while it is not loaded.
    static SubsetWindow* instance(const SubsetProfile& profile);

    const SubsetProfile& profile() const { return p_; }
    bool counting() const;

    // Controls keep the names of the window's design; those a profile lacks are nullptr.
    QLabel* Label1;              // records written by the last regeneration
    QLabel* Label2;              // key of the draw being counted in; row counts
    QLabel* Label3 = nullptr;    // latest draw key of the last most-drawn listing
    QCheckBox* Check3D1;         // confirms the regeneration
    QPushButton* Command3D1;     // "Ujragenerálás"
    QPushButton* Command3D2;     // "Begenerálás"
    QPushButton* Command3D3;     // "Legtöbbször"
    QPushButton* Command3D4;     // "Nemhúzottak"
    QPushButton* SSCommand1 = nullptr;  // "<k>-s életút"
    QCheckBox* SSCheck1 = nullptr;      // life path from the least-drawn list
    QPushButton* Command3D5;     // "Kilép"
    dz::ui::ListBox* List1;      // most drawn
    std::vector<dz::ui::ListBox*> List2;  // never drawn (pages), and the life path list last
    dz::ui::ListBox* List3 = nullptr;     // life path (otos, negyes) or least drawn (hatos)
    dz::ui::OptionGroup* Option1;         // page options
    dz::ui::OptionButton* option(int i) const { return Option1->button(i); }

    // The life path list.
    dz::ui::ListBox* lifePathList() const;

public slots:
    void Command3D1_Click();
    void Command3D2_Click();
    void Command3D3_Click();
    void Command3D4_Click();
    void SSCommand1_Click();
    void Command3D5_Click();
    void Option1_Click(int index);
    void List2_KeyPress(int index, int charCode);
    void List3_KeyPress(int charCode);
    void List2_DblClick(int index);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void Form_Load();
    QString file(const QString& name) const;
    // Replaces a list file whole; says so when it cannot.
    void saveLines(const QString& name, const QStringList& lines);
    void saveBytes(const QString& name, const std::string& bytes);
    // The window's counter file; false (after the message) when it is missing or not one.
    bool loadCounter(CounterFile& counter, const QString& missing);
    // The same, to be kept by the lists made from it; nullptr when it is missing or not one.
    SharedCounter loadShared(const QString& missing);
    void showPageState(int page, bool hasRows);

    SubsetProfile p_;
    dz::ui::JobGate* job_;     // a count-in: the buttons do nothing meanwhile
    std::atomic<bool> stopRequested_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace dz::drawstat
