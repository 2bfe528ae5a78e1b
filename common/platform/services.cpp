#include "common/platform/services.h"

#include "common/core/folder.h"
#include "common/core/startup.h"
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
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    return ::fstat(fd, &open) == 0 && ::lstat(name.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Opens the lock file (made when missing; read-only when it may not be written) and locks it
// without waiting. flock, not fcntl: its lock belongs to this open file, so a second open in the
// same process is refused like another process, and it is dropped only with the last descriptor.
// A lock on a file that the name no longer points to is dropped and taken again on the new one.
// A link in the lock file's place is never followed (nothing is made where it points).
Take takeLock(const QString& path, mode_t mode, int* fd) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a FIFO of that name must not stop the start.
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    for (int attempt = 0; attempt < 16; ++attempt) {
        int f = ::open(name.constData(), O_RDWR | O_CREAT | flags, mode);
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

// A folder that is this user's alone: a folder (not a link) that he owns and that nobody else may
// enter or write.
bool ownPrivateFolder(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// Where this user keeps what only his own programs may make: $XDG_RUNTIME_DIR when it is such a
// folder, else a folder of his own in the temporary folder (made mode 0700 when missing). Empty
// when neither is his alone (another user made a folder or a link of that name first).
QString privateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && ownPrivateFolder(runtime)) return QFile::decodeName(runtime);
    const QByteArray own = QFile::encodeName(QDir::tempPath() + QStringLiteral("/dizov-") +
                                             QString::number(qulonglong(::geteuid())));
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST) return {};
    return ownPrivateFolder(own) ? QFile::decodeName(own) : QString();
}

// The lock file a running copy holds in the user's private folder, one per program folder and
// program; empty without such a folder.
QString runningLockFile(const QString& exeName) {
    const QString folder = privateFolder();
    if (folder.isEmpty()) return {};
    QString programs = QFileInfo(programFolder()).canonicalFilePath();
    if (programs.isEmpty()) programs = QFileInfo(programFolder()).absoluteFilePath();
    const QByteArray id =
        QCryptographicHash::hash(QFile::encodeName(programs) + '\0' + exeName.toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(24);
    return folder + QStringLiteral("/dizov-") + QString::fromLatin1(id) + QLatin1Char('-') + exeName +
           QStringLiteral(".lock");
}
}  // namespace

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
    if (running_ >= 0) {
        // Removed while still locked, so that the private folder does not fill up with the names
        // of folders long gone; a start that opened it meanwhile finds it unnamed and makes a new one.
        if (stillNamed(running_, runningName_)) ::unlink(runningName_.constData());
        ::close(running_);
    }
}

std::unique_ptr<InstanceLock> lockSingleInstance(const QString& exeName, const QString& title, const QString& refusal,
                                                 Icon icon) {
    // The folder's own lock file: whoever runs the program on this folder holds it, the same user
    // or another one who may read the folder.
    int fd = -1;
    Take t = takeLock(programFolder() + QLatin1Char('/') + exeName + QStringLiteral(".lock"), 0644, &fd);
    if (t != Take::Refused) {
        // The lock file can be deleted, renamed over or taken away (a read-only folder, a link in its
        // place) while a copy runs, and a file lock cannot follow it. So a running copy also locks a
        // file of this folder and program in the user's private folder, where no other user can make,
        // hold or remove a name.
        int running = -1;
        const QString own = runningLockFile(exeName);
        const Take r = own.isEmpty() ? Take::Failed : takeLock(own, 0600, &running);
        // Not even a lock: starting is better than claiming that another instance runs.
        if (r != Take::Refused) return std::make_unique<InstanceLock>(fd, running, QFile::encodeName(own));
        if (fd >= 0) ::close(fd);
    }
    message(nullptr, refusal.isEmpty() ? exeName + QStringLiteral(" márt fut ! ") : refusal, icon, title);
    return nullptr;
}

int runProgram(int& argc, char** argv, const ProgramStart& start,
               const std::function<std::unique_ptr<QWidget>()>& makeWindow) {
    dz::ignoreFileSizeSignal();
    dz::keepFreedMemory();
    QApplication app(argc, argv);
    initApplication(app);
    std::unique_ptr<InstanceLock> lock;
    if (start.singleInstance) {
        lock = lockSingleInstance(start.exeName.isEmpty() ? programName() : start.exeName, start.title, start.refusal,
                                  start.icon);
        if (!lock) return 0;
    }
    const std::unique_ptr<QWidget> window = makeWindow();
    if (!window) return 0;
    window->show();
    return app.exec();
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
