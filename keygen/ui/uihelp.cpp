#include "ui/uihelp.h"

#include "platform/dialogs.h"
#include "platform/services.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace keygen {

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(dz::ui::twips(left), dz::ui::twips(top), dz::ui::twips(width), dz::ui::twips(height));
}

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

namespace {
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonDblClick) {
            f_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> f_;
};
}  // namespace

void onDoubleClick(QWidget* w, std::function<void()> f) { w->installEventFilter(new DoubleClickFilter(w, std::move(f))); }

void centreOnScreen(QWidget* w) {
    QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = s->availableGeometry();
    w->move(g.left() + (g.width() - w->frameGeometry().width()) / 2,
            g.top() + (g.height() - w->frameGeometry().height()) / 2);
}

}  // namespace keygen
