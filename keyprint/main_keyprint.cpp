// keyprint: the print window `Form1`, refusing a second start.
#include "platform/services.h"
#include "ui/form1.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const auto lock = dz::ui::lockSingleInstance(exeName);
    if (!lock) return 0;
    keyprint::Form1 w;
    w.show();
    return app.exec();
}
