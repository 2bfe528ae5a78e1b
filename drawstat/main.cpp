#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"

int main(int argc, char** argv) {
    dz::ui::ProgramStart start;
    start.singleInstance = false;
    return dz::ui::runProgram(argc, argv, start, [] { return std::make_unique<dz::drawstat::MainWindow>(); });
}
