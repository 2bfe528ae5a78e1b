// A modal window that "Kilép" hides and the close box unloads: reopened while it is still loaded,
// it shows the same results without reading the draw file again.
#pragma once
#include <QCloseEvent>
#include <QDialog>
#include <QPointer>

namespace dz::drawstat {

class KeptDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    // Loads the window on first use and shows it modally; unloads it when its close box ended it.
    template <class W>
    static void showKept(QPointer<W>& loaded, QWidget* owner) {
        showKept(loaded, [owner] { return new W(owner); });
    }
    // The same, for a window made by make().
    template <class W, class Make>
    static void showKept(QPointer<W>& loaded, Make make) {
        if (!loaded) loaded = make();
        QPointer<W> w = loaded;
        static_cast<KeptDialog*>(w.data())->unload_ = false;
        w->exec();
        if (w && static_cast<KeptDialog*>(w.data())->unload_) delete w.data();
    }

    void closeEvent(QCloseEvent* e) override {
        unload_ = true;
        QDialog::closeEvent(e);
    }

private:
    bool unload_ = false;
};

}  // namespace dz::drawstat
