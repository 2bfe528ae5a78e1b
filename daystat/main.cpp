#include "daystat/core/profile.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"
#include "daystat/ui/cutrange.h"

int main(int argc, char** argv) {
    dz::ui::ProgramStart start;
    start.singleInstance = false;
    return dz::ui::runProgram(argc, argv, start, [] {
        dz::drawstat::resetState(dz::daystat::profile());
        auto w = std::make_unique<dz::drawstat::MainWindow>();
        dz::daystat::addValogatMenu(*w);
        return w;
    });
}
