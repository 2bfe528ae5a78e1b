// vazoz: the key workshop's start window `kiertekel`, refusing a second start.
#include "platform/services.h"
#include "ui/workshop.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const auto lock = dz::ui::lockSingleInstance(exeName);
    if (!lock) return 0;
    csere::kiertekel w;
    w.show();
    return app.exec();
}
