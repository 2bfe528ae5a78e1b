// ticketclip: the submission window `Form1`, refusing a second start with its own message.
#include "common/core/suite.h"
#include "common/platform/services.h"
#include "ticketclip/ui/submitwindow.h"

int main(int argc, char** argv) {
    dz::ui::ProgramStart start;
    start.title = dz::signature();
    start.refusal = QStringLiteral("Ez a program már fut, megtalálja a TÁLCÁN iconizálva!");
    start.icon = dz::ui::Icon::Critical;
    return dz::ui::runProgram(argc, argv, start, [] {
        auto w = std::make_unique<dz::ticketclip::SubmitWindow>();
        w->Form_Load();
        return w;
    });
}
