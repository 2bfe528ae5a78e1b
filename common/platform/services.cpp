#include "common/platform/services.h"

#include "common/core/folder.h"
#include "common/platform/dialogs.h"
#include "common/platform/printseam.h"

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
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// Whether the open file is still the one the name points to: a lock file deleted or replaced
// (renamed over) between the open and the lock leaves a lock that no later start would see.
bool stillNamed(int fd, const QByteArray& name) {
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::stat(name.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Opens the lock file (made when missing; read-only when it may not be written) and locks it
// without waiting. flock, not fcntl: its lock belongs to this open file, so a second open in the
// same process is refused like another process, and it is dropped only with the last descriptor.
// A lock on a file that the name no longer points to is dropped and taken again on the new one.
Take takeLock(const QString& path, int* fd) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a FIFO of that name must not stop the start.
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < 16; ++attempt) {
        int f = ::open(name.constData(), O_RDWR | O_CREAT | flags, 0644);
        if (f < 0) f = ::open(name.constData(), O_RDONLY | flags);
        if (f < 0) return Take::Failed;
        int rc;
        do rc = ::flock(f, LOCK_EX | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const int e = errno;
            ::close(f);
            return e == EWOULDBLOCK ? Take::Refused : Take::Failed;
        }
        if (stillNamed(f, name)) {
            *fd = f;
            return Take::Held;
        }
        ::close(f);
    }
    return Take::Failed;  // the name keeps changing under us: start rather than hang
}

// The lock file can be deleted or renamed over while a copy runs, and a file lock cannot follow
// it: the next start would lock a new file of that name. So a running copy also holds a name that
// no file operation can take away, and that the system drops when the process ends: an abstract
// local socket named after the program folder and the program. -1 with *inUse set when another
// process holds it; -1 alone when there is no such name to take (the file lock then decides).
int takeRunningName(const QString& exeName, bool* inUse) {
    *inUse = false;
    QString folder = QFileInfo(programFolder()).canonicalFilePath();
    if (folder.isEmpty()) folder = QFileInfo(programFolder()).absoluteFilePath();
    const QByteArray id = QCryptographicHash::hash(QFile::encodeName(folder) + '\0' + exeName.toUtf8(),
                                                   QCryptographicHash::Sha1)
                              .toHex();
    const QByteArray sockName = "dizov-" + id;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // sun_path[0] stays 0: the abstract namespace, no file anywhere.
    std::memcpy(addr.sun_path + 1, sockName.constData(), size_t(sockName.size()));
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return -1;
    const auto len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(sockName.size()));
    if (::bind(s, reinterpret_cast<const sockaddr*>(&addr), len) == 0) return s;
    *inUse = errno == EADDRINUSE;
    ::close(s);
    return -1;
}
}  // namespace

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
    if (running_ >= 0) ::close(running_);
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
    if (t != Take::Refused) {
        bool inUse = false;
        const int running = takeRunningName(exeName, &inUse);
        // Not even a lock: starting is better than claiming that another instance runs.
        if (!inUse) return std::make_unique<InstanceLock>(fd, running);
        if (fd >= 0) ::close(fd);
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
