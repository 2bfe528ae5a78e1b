// keyprint: the print window `Form1`, refusing a second start.
#include "core/startup.h"
#include "platform/services.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const auto lock = dz::ui::lockSingleInstance(dz::ui::programName());
    if (!lock) return 0;
    keyprint::Form1 w;
    w.show();
    return app.exec();
}
