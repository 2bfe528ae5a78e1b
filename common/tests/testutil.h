// Small helpers the tests of every program share.
#pragma once
#include "common/core/folder.h"
#include "common/core/textfile.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dz::testing {

// A fresh program folder for one test, with the dialog seams cleared.
struct ProgramFolderFixture {
    QTemporaryDir dir;
    ProgramFolderFixture() {
        setProgramFolder(dir.path());
        ui::seam::reset();
        ui::seam::resetServices();
    }
    ~ProgramFolderFixture() { setProgramFolder(QString()); }
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const std::string& bytes) const { writeBytes(path(name), bytes); }
    std::string read(const QString& name) const { return readFileBytes(path(name)).value_or(std::string("<missing>")); }
};

// The texts of the message boxes shown since the seam was last reset, in order.
inline QStringList shownTexts() {
    QStringList t;
    for (const auto& m : ui::seam::messages()) t << m.text;
    return t;
}

// Whether this process may write the file in place: a read-only file is writable for root only,
// so a test of one expects what the user running it gets.
inline bool userMayWrite(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

// Whether a lock file can be locked now through an open file of its own, as another copy of the
// program would try it.
inline bool lockableElsewhere(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return ok;
}

// Another process that holds the lock on a file, as a running copy of a program does, until it
// is killed (as a crash would end it).
class LockingProcess {
public:
    explicit LockingProcess(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_t child = ::fork();
        if (child == 0) {
            // Only async-signal-safe calls here.
            const int fd = ::open(name.constData(), O_RDWR | O_CREAT, 0644);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char ok = '0';
        if (child > 0 && ::read(ready[0], &ok, 1) == 1 && ok == '1') pid_ = child;
        else if (child > 0) reap(child);
        ::close(ready[0]);
    }
    ~LockingProcess() { kill(); }
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;
    bool holds() const { return pid_ > 0; }
    void kill() {
        if (pid_ > 0) reap(pid_);
        pid_ = -1;
    }

private:
    static void reap(pid_t p) {
        ::kill(p, SIGKILL);
        int status = 0;
        ::waitpid(p, &status, 0);
    }
    pid_t pid_ = -1;
};

}  // namespace dz::testing
