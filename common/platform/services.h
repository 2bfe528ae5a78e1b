// Small services of the desktop: the hourglass, the beep, the second-start lock, starting the
// spreadsheet program, control names for assistive tools, and twips.
#pragma once
#include "dialogs.h"

#include <QLockFile>
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

// The second-start refusal: a lock file in the program folder, held until the program ends.
// Returns nullptr (after telling the user exeName + " márt fut ! " with the warning icon) when
// another instance holds it (a program with a refusal of its own passes its text and icon). A
// program folder that takes no lock file (read-only) is locked through the temporary folder
// instead; where no lock can be made at all, the program starts.
// The running program's name, as the second-start refusal names it.
QString programName();
std::unique_ptr<QLockFile> lockSingleInstance(const QString& exeName, const QString& title = QString(),
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
