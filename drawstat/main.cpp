#include "common/core/startup.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    dz::drawstat::MainWindow w;
    w.show();
    return app.exec();
}
