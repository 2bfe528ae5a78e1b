// ticketclip: the submission window `Form1`, refusing a second start with its own message.
#include "common/core/suite.h"
#include "common/platform/dialogs.h"
#include "common/core/startup.h"
#include "common/platform/services.h"
#include "ticketclip/ui/submitwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    dz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    dz::ui::initApplication(app);
    const auto lock = dz::ui::lockSingleInstance(
        dz::ui::programName(), dz::signature(),
        QStringLiteral("Ez a program már fut, megtalálja a TÁLCÁN iconizálva!"), dz::ui::Icon::Critical);
    if (!lock) return 0;
    dz::ticketclip::Form1 w;
    w.Form_Load();
    w.show();
    return app.exec();
}
