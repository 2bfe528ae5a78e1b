// vazoz: the key workshop's start window `kiertekel`, refusing a second start.
#include "common/platform/services.h"
#include "csere/ui/workshop.h"

int main(int argc, char** argv) {
    return dz::ui::runProgram(argc, argv, {}, [] { return std::make_unique<dz::csere::WorkshopWindow>(); });
}
