// Runs the submission window on a real display: loads the key "k.txt" of the folder given as
// the first argument, prepares the first part with extra number 1 and copies it. Prints "ready"
// once the text is on the clipboard, then keeps serving it until its standard input closes.
#include "common/core/folder.h"
#include "common/platform/dialogs.h"
#include "ticketclip/ui/submitwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    dz::setProgramFolder(QString::fromLocal8Bit(argv[1]));
    dz::ui::seam::enable(true);
    dz::ticketclip::SubmitWindow w;
    w.Form_Load();
    w.show();
    dz::ui::seam::queueFile(dz::programFile(QStringLiteral("k.txt")));
    w.Command3D4_Click();
    w.Check3[0]->setChecked(true);
    w.Check1->setChecked(true);
    w.SSCommand2_Click();
    w.SSCommand1_Click();
    app.processEvents();
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char c;
        if (read(STDIN_FILENO, &c, 1) <= 0) app.quit();
    });
    QTimer::singleShot(30000, &app, &QApplication::quit);  // never outlives a stuck test
    return app.exec();
}
