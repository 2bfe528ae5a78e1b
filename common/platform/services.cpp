#include "services.h"

#include "../core/folder.h"
#include "dialogs.h"
#include "printsurface.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QDesktopServices>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
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

std::unique_ptr<QLockFile> lockSingleInstance(const QString& exeName, const QString& title, const QString& refusal,
                                              Icon icon) {
    auto lock = std::make_unique<QLockFile>(programFolder() + QLatin1Char('/') + exeName + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    if (lock->error() != QLockFile::LockFailedError) {
        // The program folder takes no lock file (read-only, or gone): an instance cannot be told
        // from a folder we may not write, so lock beside the other temporary files, per folder.
        const QByteArray folderId =
            QCryptographicHash::hash(programFolder().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        lock = std::make_unique<QLockFile>(QDir::tempPath() + QStringLiteral("/dizov-") + QString::fromLatin1(folderId) +
                                           QLatin1Char('-') + exeName + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) return lock;
        // Not even there: starting is better than claiming that another instance runs.
        if (lock->error() != QLockFile::LockFailedError) return lock;
    }
    message(nullptr, refusal.isEmpty() ? exeName + QStringLiteral(" márt fut ! ") : refusal, icon, title);
    return nullptr;
}

void startSpreadsheet(const QString& file) {
    // The user's command may carry its own arguments ("localc --norestore").
    QStringList args = QProcess::splitCommand(qEnvironmentVariable("DIZOV_SPREADSHEET"));
    QString program = args.isEmpty() ? QString() : args.takeFirst();
    if (program.isEmpty()) {
        for (const char* name : {"libreoffice", "soffice", "localc"}) {
            program = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!program.isEmpty()) {
                args << QStringLiteral("--calc");
                break;
            }
        }
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

QString programName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void initApplication(QCoreApplication& app) {
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
    else
        delete qt;
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
    resetPrintJobs();
}
}  // namespace seam

}  // namespace dz::ui
