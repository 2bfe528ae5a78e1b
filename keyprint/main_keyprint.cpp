// keyprint: the print window `Form1`, refusing a second start.
#include "common/platform/services.h"
#include "keyprint/ui/printwindow.h"

int main(int argc, char** argv) {
    return dz::ui::runProgram(argc, argv, {}, [] { return std::make_unique<dz::keyprint::PrintWindow>(); });
}
