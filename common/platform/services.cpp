#include "services.h"

#include "../core/folder.h"
#include "dialogs.h"
#include "printsurface.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

namespace {
enum class Take { Held, Refused, Failed };

// Opens the lock file (made when missing; read-only when it may not be written) and locks it
// without waiting. flock, not fcntl: its lock belongs to this open file, so a second open in the
// same process is refused like another process, and it is dropped only with the last descriptor.
Take takeLock(const QString& path, int* fd) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a FIFO of that name must not stop the start.
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int f = ::open(name.constData(), O_RDWR | O_CREAT | flags, 0644);
    if (f < 0) f = ::open(name.constData(), O_RDONLY | flags);
    if (f < 0) return Take::Failed;
    int rc;
    do rc = ::flock(f, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        *fd = f;
        return Take::Held;
    }
    const int e = errno;
    ::close(f);
    return e == EWOULDBLOCK ? Take::Refused : Take::Failed;
}
}  // namespace

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<InstanceLock> lockSingleInstance(const QString& exeName, const QString& title, const QString& refusal,
                                                 Icon icon) {
    int fd = -1;
    Take t = takeLock(programFolder() + QLatin1Char('/') + exeName + QStringLiteral(".lock"), &fd);
    if (t == Take::Failed) {
        // The program folder takes no lock (read-only, or gone): an instance cannot be told from a
        // folder we may not write, so lock beside the other temporary files, per folder.
        const QByteArray folderId =
            QCryptographicHash::hash(programFolder().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        t = takeLock(QDir::tempPath() + QStringLiteral("/dizov-") + QString::fromLatin1(folderId) + QLatin1Char('-') +
                         exeName + QStringLiteral(".lock"),
                     &fd);
    }
    // Not even there: starting is better than claiming that another instance runs.
    if (t != Take::Refused) return std::make_unique<InstanceLock>(fd);
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
