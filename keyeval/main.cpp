// keyeval (over the draw history file) and keyevalday (over the partial-day draw file): one
// program, two builds.
#include "keyeval/core/evalbuild.h"
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "keyeval/ui/fokep.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
#if DIZOV_PARTIAL_DAY
    const dz::keyeval::Build& build = dz::keyeval::keyevalDayBuild();
#else
    const dz::keyeval::Build& build = dz::keyeval::keyevalBuild();
#endif
    const auto lock = dz::ui::lockSingleInstance(build.exeName);
    if (!lock) return 0;
    dz::keyeval::FOKEP window(build);
    if (!window.Form_Load()) return 0;
    window.show();
    return app.exec();
}
