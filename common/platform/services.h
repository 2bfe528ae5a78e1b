// Small services of the desktop: the hourglass, the beep, the second-start lock, starting the
// spreadsheet program, control names for assistive tools, and twips.
#pragma once
#include "common/platform/dialogs.h"

#include <QString>
#include <memory>
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

// The second-start lock: an advisory lock on the open lock file, which the system drops when the
// process ends, however it ends, and a name only a running copy holds, which stays when the lock
// file is deleted or replaced. What the file holds never matters.
class InstanceLock {
public:
    explicit InstanceLock(int fd = -1, int running = -1) : fd_(fd), running_(running) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // False when no lock could be taken at all and the program runs without one.
    bool held() const { return fd_ >= 0 || running_ >= 0; }

private:
    int fd_;
    int running_;
};

// The second-start refusal: exeName + ".lock" in the program folder, locked until the program
// ends. Returns nullptr (after telling the user exeName + " márt fut ! " with the warning icon)
// only when another running instance holds the lock (a program with a refusal of its own passes
// its text and icon). A program folder that takes no lock (read-only, gone) is locked through the
// temporary folder instead; where no lock can be taken at all (a folder of that name, no
// permission, no locks on that file system), the program starts.
std::unique_ptr<InstanceLock> lockSingleInstance(const QString& exeName, const QString& title = QString(),
                                                 const QString& refusal = QString(), Icon icon = Icon::Warning);

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
