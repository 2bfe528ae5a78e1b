// keyeval (over the draw history file) and keyevalday (over the partial-day draw file): one
// program, two builds.
#include "keyeval/core/evalbuild.h"
#include "common/platform/services.h"
#include "keyeval/ui/evaluationwindow.h"

int main(int argc, char** argv) {
#if DIZOV_PARTIAL_DAY
    const dz::keyeval::Build& build = dz::keyeval::keyevalDayBuild();
#else
    const dz::keyeval::Build& build = dz::keyeval::keyevalBuild();
#endif
    dz::ui::ProgramStart start;
    start.exeName = build.exeName;
    return dz::ui::runProgram(argc, argv, start, [&build]() -> std::unique_ptr<QWidget> {
        auto window = std::make_unique<dz::keyeval::EvaluationWindow>(build);
        if (!window->Form_Load()) return nullptr;
        return window;
    });
}
