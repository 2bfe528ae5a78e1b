#include "daystat/core/profile.h"
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"
#include "daystat/ui/valogat.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    dz::drawstat::resetState(dz::daystat::profile());
    dz::drawstat::MainWindow w;
    dz::daystat::addValogatMenu(w);
    w.show();
    return app.exec();
}
