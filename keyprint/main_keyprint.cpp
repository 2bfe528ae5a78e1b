// keyprint: the print window `Form1`, refusing a second start.
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "keyprint/ui/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const auto lock = dz::ui::lockSingleInstance(dz::ui::programName());
    if (!lock) return 0;
    dz::keyprint::Form1 w;
    w.show();
    return app.exec();
}
