// The key evaluation window of keyevalday and keyeval: start-up, the key file list, the key
// choice, the period controls, and "Kezdés" with its hit list views.
#pragma once
#include "keyeval/core/evalbuild.h"
#include "keyeval/core/evalperiod.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/hitlist.h"
#include "keyeval/core/keychoice.h"
#include "keyeval/core/keyfilelist.h"
#include "keyeval/core/winnings.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QThread;
class QTimer;

namespace dz::ui {
class JobGate;
class ListBox;
class SpinButton;
}  // namespace dz::ui

namespace dz::keyeval {

// The two evaluations that run on the window's worker thread: "Kezdés" and "Kiértékelés hozamra".
enum class RunKind { Hits, Winnings };

// What the worker hands back to the window.
struct RunOutcome {
    RunKind kind = RunKind::Hits;
    bool quiet = true;  // nothing to show: the draw file or key vanished, or no record from the from key on
    RunSettings settings;
    std::shared_ptr<const KeyRows> key;
    Span span;
    std::string firstKey, lastKey;  // the draw keys of the period's first and last line
    EvaluationResult result;        // "Kezdés" (its hits moved into the hit list)
    std::shared_ptr<const HitList> hitList;
    std::string firstNumbers;       // the numbers part of the period's first line
    WinningsResult money;           // "Kiértékelés hozamra"
    std::shared_ptr<const ResultLines> moneyLines;
};

class EvaluationWindow : public QWidget {
    Q_OBJECT
public:
    explicit EvaluationWindow(const Build& build, QWidget* parent = nullptr);
    ~EvaluationWindow() override;

    // Start-up after the second-start check: the key file list, the draw file's first and last
    // draw, the period preset. False (after the build's message) when the draw file cannot be
    // opened: the program then ends.
    bool Form_Load();

    // The handlers; during a run the gate keeps clicks from reaching them (see the constructor).
    void Command3D1_Click();  // "Kezdés"
    void Command1_Click();    // "Találat"
    void Command2_Click();    // "Húzás"
    void Command3D2_Click();  // "Vége"
    void Command3D3_Click();  // "Kulcs választás"
    void Command3D4_Click();  // "Név"
    void Command3D5_Click();  // "Dátum"
    void SSCommand1_Click();  // "Kiértékelés hozamra"
    void SSCommand2_Click();  // "Grafikon"
    void List4_Click(int index);
    void List4_DblClick(int index);
    void List4_KeyUp(int keyCode);
    void List1_Click(int index);
    void List2_Click(int index);
    // Spin1 .. Spin8: n = 1..8.
    void spinUp(int n);
    void spinDown(int n);

    // What the evaluation for winnings shares with "Kezdés".
    const Build& build() const { return build_; }
    bool busy() const;
    // The first and last draw of the draw file, read at start.
    const DrawBounds& bounds() const { return bounds_; }
    // The chosen key file's full name (empty: none); Label8 shows it capped.
    const QString& keyFile() const { return keyFile_; }
    void setKeyFile(const QString& path);
    // The key check: the chosen key file can be opened.
    bool keyFileOpenable() const;
    // The field defaults, the extra numbers (with their message), the minimum hit count and the
    // period keys with their clamp and range check (with their message), writing the boxes as
    // the evaluation does; nullopt when the run must end there.
    std::optional<RunSettings> prepareRun();
    // Starts an evaluation over these settings on the worker thread; the window is busy (every
    // control but "Vége" and the close box does nothing, the progress in Label14) until it ends
    // and shows its results.
    void startRun(const RunSettings& settings, RunKind kind);
    // What a run writes back into the period: the draw number of the first draw used into Text8 and,
    // with `last`, that of the last draw into Text9 when a later draw ended the run.
    void writeDrawNumbers(const RunOutcome& o, bool last);
    // A key line of the wrong length ended a run: Label14 as the progress left it, the message.
    void showBadKeyLine(size_t recordsRead);
    // The draw file of the build, read again only when it changed; null when it cannot be opened.
    QString drawFilePath() const;

    // For tests: the width of an entry of the key file list (default: the list's own font), and
    // waiting for a run to end.
    void setTextWidth(WidthFn width) { width_ = std::move(width); }
    bool waitForRun(int timeoutMs = 60000);

signals:
    // A run ended and its results are shown (or it was stopped).
    void runEnded();
public:

    // The controls, by their names.
    std::array<QLineEdit*, 10> Text{};  // Text[1] .. Text[9]
    std::array<QCheckBox*, 4> Check3{};
    std::array<ui::SpinButton*, 9> Spin{};  // Spin[1] .. Spin[8]
    ui::ListBox *List1, *List2, *List3, *List4, *List8;
    QLabel *Label1, *Label2, *Label5, *Label7, *Label8, *Label10, *Label11, *Label13, *Label14;
    QLabel *Label16, *Label18, *Label21;
    QPushButton *Command3D1, *Command1, *Command2, *Command3D2, *Command3D3, *Command3D4, *Command3D5;
    QPushButton *SSCommand1, *SSCommand2;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildWindow();
    PeriodFields readFields() const;
    void writeFields(const PeriodFields& f);
    void showKeyFiles();
    bool nameViewShown() const;
    void clearResults();
    void finishRun();
    void showHits(const RunOutcome& o);
    void stopRun();

    const Build& build_;
    WidthFn width_;
    KeyFileList keyFiles_;
    DrawBounds bounds_;
    QString keyFile_;  // the chosen key file, whole

    ui::JobGate* job_;  // what the controls do while a run is on
    bool closing_ = false;
    Progress progress_;
    QThread* worker_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    std::shared_ptr<RunOutcome> outcome_;
};

}  // namespace dz::keyeval
