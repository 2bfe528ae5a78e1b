#include "services.h"

#include "../core/folder.h"
#include "dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace dz::ui {
namespace {
int g_beeps = 0;
std::vector<seam::Started> g_started;
}  // namespace

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

void beep() {
    ++g_beeps;
    if (!seam::enabled()) QApplication::beep();
}

std::unique_ptr<QLockFile> lockSingleInstance(const QString& exeName, const QString& title) {
    auto lock = std::make_unique<QLockFile>(programFolder() + QLatin1Char('/') + exeName + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    message(nullptr, exeName + QStringLiteral(" márt fut ! "), Icon::Warning, title);
    return nullptr;
}

void startSpreadsheet(const QString& file) {
    QString program = qEnvironmentVariable("DIZOV_SPREADSHEET");
    QStringList args;
    if (program.isEmpty()) {
        program = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
        if (!program.isEmpty()) args << QStringLiteral("--calc");
    }
    if (seam::enabled()) {
        g_started.push_back({program.isEmpty() ? QStringLiteral("xdg-open") : program, file});
        return;
    }
    if (program.isEmpty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        return;
    }
    args << file;
    QProcess::startDetached(program, args);
}

void nameControls(QWidget* root) {
    if (!root) return;
    if (!root->objectName().isEmpty()) root->setAccessibleDescription(root->objectName());
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
}

int twips(int tw) {
    qreal dpi = 96;
    if (auto* s = QGuiApplication::primaryScreen()) dpi = s->logicalDotsPerInch();
    return qRound(tw / 15.0 * dpi / 96.0);
}

namespace seam {
int beeps() { return g_beeps; }
const std::vector<Started>& started() { return g_started; }
void resetServices() {
    g_beeps = 0;
    g_started.clear();
}
}  // namespace seam

}  // namespace dz::ui
