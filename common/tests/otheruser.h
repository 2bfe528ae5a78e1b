// A real process of another user (uid 65534), for the tests of what such a user can do to a
// program: started through setpriv, which only root may use. Where none can be started,
// noOtherUser() says why and the test skips.
#pragma once
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dz::testing {

inline constexpr uid_t kOtherUid = 65534;

inline QString setprivPath() {
    QString p = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    for (const char* dir : {"/usr/bin", "/bin", "/usr/sbin", "/sbin"})
        if (p.isEmpty() && QFileInfo(QLatin1String(dir) + QStringLiteral("/setpriv")).isExecutable())
            p = QLatin1String(dir) + QStringLiteral("/setpriv");
    return p;
}

// Empty when a process of another user can be started here, else the reason it cannot.
inline std::string noOtherUser() {
    if (::geteuid() != 0) return "not run as root: no process of another user can be started";
    if (setprivPath().isEmpty()) return "no setpriv found: no process of another user can be started";
    return {};
}

// The helper (common/tests/otheruser.cpp) run as uid 65534 with a verb ("lock" PATH, "bind" NAME):
// it takes the name and holds it until this object goes.
class OtherUserProcess {
public:
    OtherUserProcess(const char* verb, const QString& name) {
        // A copy in a folder every user may enter: the build tree may lie in a private one.
        if (!dir_.isValid()) return;
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
        const QString helper = dir_.path() + QStringLiteral("/otheruser");
        if (!QFile::copy(QStringLiteral(DIZOV_OTHERUSER_HELPER), helper)) return;
        ::chmod(QFile::encodeName(helper).constData(), 0755);
        const QByteArray setpriv = QFile::encodeName(setprivPath()), exe = QFile::encodeName(helper),
                         arg = QFile::encodeName(name);
        const std::string uid = "--reuid=" + std::to_string(kOtherUid), gid = "--regid=" + std::to_string(kOtherUid);
        const char* argv[] = {setpriv.constData(), uid.c_str(), gid.c_str(), "--clear-groups", exe.constData(),
                              verb, arg.constData(), nullptr};
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        const pid_t child = ::fork();
        if (child == 0) {
            // Only async-signal-safe calls here.
            ::dup2(out[1], 1);
            ::execv(argv[0], const_cast<char* const*>(argv));
            ::_exit(127);
        }
        ::close(out[1]);
        pid_ = child;
        pollfd p{out[0], POLLIN, 0};
        char c = '0';
        if (child > 0 && ::poll(&p, 1, 10000) == 1 && ::read(out[0], &c, 1) == 1) holds_ = c == '1';
        ::close(out[0]);
    }
    ~OtherUserProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    OtherUserProcess(const OtherUserProcess&) = delete;
    OtherUserProcess& operator=(const OtherUserProcess&) = delete;
    // Whether the process took the name.
    bool holds() const { return holds_; }

private:
    QTemporaryDir dir_;
    pid_t pid_ = -1;
    bool holds_ = false;
};

}  // namespace dz::testing
