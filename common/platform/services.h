// Small services of the desktop: the hourglass, the beep, the second-start lock, starting the
// spreadsheet program, control names for assistive tools, and twips.
#pragma once
#include "common/platform/dialogs.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QWidget;
class QCoreApplication;

namespace dz::ui {

// The hourglass pointer for the life of the guard.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void beep();

// What every program does first with its application object: Qt's own dialogs and buttons speak
// Hungarian (Qt's translation when it is installed; English texts otherwise).
void initApplication(QCoreApplication& app);

// The running program's name, as the second-start refusal names it.
QString programName();

// The second-start lock: advisory locks on open lock files, which the system drops when the
// process ends, however it ends: the program folder's lock file, and one in the user's private
// folder that stays when the folder's file is deleted or replaced. What the files hold never matters.
class InstanceLock {
public:
    // running: the lock in the user's private folder, runningName its name there (removed at the end).
    explicit InstanceLock(int fd = -1, int running = -1, QByteArray runningName = QByteArray())
        : fd_(fd), running_(running), runningName_(std::move(runningName)) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // False when no lock could be taken at all and the program runs without one.
    bool held() const { return fd_ >= 0 || running_ >= 0; }

private:
    int fd_;
    int running_;
    QByteArray runningName_;
};

// The second-start refusal: exeName + ".lock" in the program folder (never through a link), and a
// lock file of this folder and program in the user's private folder ($XDG_RUNTIME_DIR, else a
// folder of his own, mode 0700, in the temporary folder), locked until the program ends. Returns
// nullptr (after telling the user exeName + " márt fut ! " with the warning icon) only when a
// running copy holds either lock: any user's copy on the folder's file, only this user's on his
// own (a program with a refusal of its own passes its text and icon). Where no lock can be taken
// at all (a folder or a link of that name, no permission, no locks on that file system), the
// program starts.
std::unique_ptr<InstanceLock> lockSingleInstance(const QString& exeName, const QString& title = QString(),
                                                 const QString& refusal = QString(), Icon icon = Icon::Warning);

// How a program starts (runProgram).
struct ProgramStart {
    bool singleInstance = true;  // refuses a second start (drawstat, daystat and keyedit do not)
    QString exeName;             // the name the refusal gives; empty: the running program's name
    QString title;               // the refusal's title
    QString refusal;             // the refusal's own text; empty: exeName + " márt fut ! "
    Icon icon = Icon::Warning;
};

// What every main() does: ignores SIGXFSZ before anything else, keeps freed memory for the next
// run (keepFreedMemory), makes the application with Qt's Hungarian texts, refuses a second start
// where the program does (lockSingleInstance), then shows the start window that makeWindow builds
// and runs until the program ends. A refused start, or
// no window (nullptr), ends the program at once with 0.
int runProgram(int& argc, char** argv, const ProgramStart& start,
               const std::function<std::unique_ptr<QWidget>()>& makeWindow);

// Starts the spreadsheet program on a file without waiting: the command in DIZOV_SPREADSHEET when
// set, else LibreOffice Calc, else the desktop's default opener. A failure to start is ignored.
void startSpreadsheet(const QString& file);

// Every named control below root (root too) carries its object name as its accessible
// description, so that assistive tools and automation find it by that name.
void nameControls(QWidget* root);

// Design sizes in twips to pixels: 15 twips a pixel at 96 dpi, scaled with the screen.
int twips(int tw);

namespace seam {
int beeps();
// While the message seam is on, started programs are recorded instead of run.
struct Started {
    QString program;
    QString file;
};
const std::vector<Started>& started();
void resetServices();
}  // namespace seam

}  // namespace dz::ui
