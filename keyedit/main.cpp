// keyedit: the editor window `Form1`; several copies may run at once.
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "keyedit/ui/editorwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    dz::keyedit::Form1 w;
    w.Form_Load();
    w.show();
    return app.exec();
}
