#include "keygen/ui/uihelp.h"

#include "common/platform/dialogs.h"
#include "common/platform/services.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dz::keygen {

void showMessage(QWidget* parent, const Message& m) {
    using dz::ui::Icon;
    Icon icon = Icon::Critical;
    switch (m.icon) {
        case MessageIcon::Critical: icon = Icon::Critical; break;
        case MessageIcon::Question: icon = Icon::Question; break;
        case MessageIcon::Warning: icon = Icon::Warning; break;
        case MessageIcon::Information: icon = Icon::Information; break;
    }
    dz::ui::message(parent, m.text, icon, m.title);
}

}  // namespace dz::keygen
