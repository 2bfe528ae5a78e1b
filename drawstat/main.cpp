#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    drawstat::MainWindow w;
    w.show();
    return app.exec();
}
