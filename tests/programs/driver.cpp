// A test's hands on a real program: preloaded into the program's process (LD_PRELOAD), it waits
// for the window and clicks the buttons or menu entries named in DIZOV_DRIVE
// ("click:Command3D1;click:Command3D3"), answers the file dialogs with the paths in
// DIZOV_DRIVE_FILES and the input boxes with the texts in DIZOV_DRIVE_INPUTS (";" between them, in
// order), answers every message box with Yes or OK, and writes each box's text, and "done" after
// the last step, as a line of DIZOV_DRIVE_REPORT. The program runs as it does for a user otherwise.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace {

struct Drive {
    QStringList steps, files, inputs;
    qsizetype step = 0, file = 0, input = 0;
    // For each click still running, the modal window it was made in (null: none).
    std::vector<QPointer<QWidget>> running;
};

Drive& drive() {
    static Drive d;
    return d;
}

void report(const QString& line) {
    QFile f(qEnvironmentVariable("DIZOV_DRIVE_REPORT"));
    if (f.open(QIODevice::Append)) f.write(line.toUtf8() + '\n');
}

// What a step clicks: a shown button of that name (in the modal window first: windows reuse
// their names), else a menu entry of that name.
std::function<void()> clickable(const QString& name) {
    if (QWidget* modal = QApplication::activeModalWidget())
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>(name))
            if (b->isVisible()) return [b] { b->click(); };
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == name && w->isVisible())
            if (auto* b = qobject_cast<QAbstractButton*>(w)) return [b] { b->click(); };
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            for (QAction* a : top->findChildren<QAction*>(name))
                if (a->isEnabled()) return [a] { a->trigger(); };
    return {};
}

void tick() {
    Drive& d = drive();
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        report(box->text());
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        if (!yes) yes = box->button(QMessageBox::Ok);
        if (!yes) yes = box->defaultButton();
        if (yes) yes->click();
        else box->reject();
        return;
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        if (d.file < d.files.size()) {
            // Typed into the name box, as a user would: the dialog takes a whole path there.
            const QString path = d.files[d.file++];
            dialog->selectFile(path);
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
            // Later, from a timer of its own (see below): the dialog may ask whether to overwrite.
            QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
        } else {
            dialog->reject();
        }
        return;
    }
    if (auto* box = qobject_cast<QInputDialog*>(modal)) {
        if (d.input < d.inputs.size()) {
            box->setTextValue(d.inputs[d.input++]);
            QTimer::singleShot(0, box, [box] { box->accept(); });
        } else {
            box->reject();
        }
        return;
    }
    // A click still running lets this run again in the windows it waits in: the next step goes
    // on only in a modal window that this click opened (the program's own, such as a list window).
    if (d.step >= d.steps.size()) return;
    if (!d.running.empty() && (!modal || modal == d.running.back())) return;
    const QString s = d.steps[d.step];
    if (!s.startsWith(QLatin1String("click:"))) {
        ++d.step;
        return;
    }
    const std::function<void()> click = clickable(s.mid(6));
    if (!click) return;  // the window is not up yet
    ++d.step;
    d.running.emplace_back(modal);
    // Clicked from a timer of its own: a timer never fires again while its own handler runs, and
    // this one must go on through the dialogs that the click opens.
    QTimer::singleShot(0, qApp, [click] {
        Drive& later = drive();
        click();
        later.running.pop_back();
        if (later.step == later.steps.size() && later.running.empty()) report(QStringLiteral("done"));
    });
}

void start() {
    Drive& d = drive();
    d.steps = qEnvironmentVariable("DIZOV_DRIVE").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    d.files = qEnvironmentVariable("DIZOV_DRIVE_FILES").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    d.inputs = qEnvironmentVariable("DIZOV_DRIVE_INPUTS").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    auto* t = new QTimer;
    QObject::connect(t, &QTimer::timeout, &tick);
    t->start(30);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
