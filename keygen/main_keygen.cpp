// keygen: the main window `kiertekel`, refusing a second start.
#include "common/platform/services.h"
#include "keygen/ui/mainwindow.h"

int main(int argc, char** argv) {
    return dz::ui::runProgram(argc, argv, {}, [] { return std::make_unique<dz::keygen::MainWindow>(false); });
}
