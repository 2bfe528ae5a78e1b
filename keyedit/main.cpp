// keyedit: the editor window `Form1`; several copies may run at once.
#include "common/platform/services.h"
#include "keyedit/ui/editorwindow.h"

int main(int argc, char** argv) {
    dz::ui::ProgramStart start;
    start.singleInstance = false;
    return dz::ui::runProgram(argc, argv, start, [] {
        auto w = std::make_unique<dz::keyedit::KeyEditorWindow>();
        w->Form_Load();
        return w;
    });
}
