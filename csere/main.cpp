// vazoz: the key workshop's start window `kiertekel`, refusing a second start.
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "csere/ui/workshop.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const auto lock = dz::ui::lockSingleInstance(dz::ui::programName());
    if (!lock) return 0;
    dz::csere::kiertekel w;
    w.show();
    return app.exec();
}
