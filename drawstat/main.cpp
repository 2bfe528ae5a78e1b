#include "core/startup.h"
#include "platform/services.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    drawstat::MainWindow w;
    w.show();
    return app.exec();
}
