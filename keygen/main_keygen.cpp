// keygen: the main window `kiertekel`, refusing a second start.
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "keygen/ui/mainwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const auto lock = dz::ui::lockSingleInstance(dz::ui::programName());
    if (!lock) return 0;
    dz::keygen::kiertekel w(false);
    w.show();
    return app.exec();
}
