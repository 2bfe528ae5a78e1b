#include "core/profile.h"
#include "core/startup.h"
#include "platform/services.h"
#include "ui/mainwindow.h"
#include "ui/valogat.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    drawstat::resetState(daystat::profile());
    drawstat::MainWindow w;
    daystat::addValogatMenu(w);
    w.show();
    return app.exec();
}
