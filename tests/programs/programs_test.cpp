// The programs as a user's machine runs them: the real executables in child processes, with the
// signals at their defaults and a file-size limit (ulimit -f) that a save may pass.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const kPrograms[] = {"vazoz",      "daystat", "drawstat", "keyedit",  "keyeval",
                                 "keyevalday", "keygen",  "keygengroup", "keyprint", "ticketclip"};

// A program folder of its own for one program: the built executable linked (or copied) into a
// fresh folder, so that what the program reads and writes at start stays there.
struct ProgramCopy {
    QTemporaryDir dir;
    QString exe;
    explicit ProgramCopy(const char* name) {
        const QString built = QStringLiteral(DIZOV_PROGRAM_DIR "/") + QLatin1String(name);
        exe = dir.path() + QLatin1Char('/') + QLatin1String(name);
        if (::link(QFile::encodeName(built).constData(), QFile::encodeName(exe).constData()) != 0)
            QFile::copy(built, exe);
    }
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }
};

// A started program: the child resets every signal to its default, takes the file-size limit and
// runs the executable on the offscreen platform. Killed when the test is done with it.
class Running {
public:
    Running(const QString& exe, rlim_t fileLimit) {
        const QByteArray path = QFile::encodeName(exe);
        // Closed by the exec: until then the child still has this process's dispositions.
        int execed[2];
        if (::pipe2(execed, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls from here to the exec.
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            for (int s = 1; s < NSIG; ++s) ::signal(s, SIG_DFL);
            rlimit lim{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &lim);
            char* const argv[] = {const_cast<char*>(path.constData()), nullptr};
            ::execv(path.constData(), argv);
            ::_exit(127);
        }
        ::close(execed[1]);
        char c;
        while (pid_ > 0 && ::read(execed[0], &c, 1) < 0 && errno == EINTR) {
        }
        ::close(execed[0]);
    }
    ~Running() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status_, 0);
        }
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    bool started() const { return pid_ > 0; }
    // Whether the process still runs; once it has ended, status() tells how.
    bool alive() {
        if (ended_) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
        return !ended_;
    }
    int status() const { return status_; }
    // The set of signals the process ignores, from /proc/<pid>/status ("SigIgn:", in hex).
    unsigned long long ignored() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("SigIgn:", 0) == 0) return std::strtoull(line.c_str() + 7, nullptr, 16);
        return 0;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

std::string describe(int status) {
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "ended with " + std::to_string(WEXITSTATUS(status));
}

constexpr unsigned long long kFileSizeBit = 1ull << (SIGXFSZ - 1);

}  // namespace

class EveryProgram : public ::testing::TestWithParam<const char*> {};

// Each program, started from a shell that leaves SIGXFSZ at its default, ignores it from its
// start on: a save past the limit then fails with its message instead of killing the program.
TEST_P(EveryProgram, IgnoresTheFileSizeSignalFromItsStart) {
    ProgramCopy p(GetParam());
    ASSERT_TRUE(QFileInfo(p.exe).isExecutable()) << p.exe.toStdString();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Running r(p.exe, 1 << 20);
    ASSERT_TRUE(r.started());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool ignoring = false;
    while (!ignoring && r.alive() && std::chrono::steady_clock::now() < until) {
        ignoring = (r.ignored() & kFileSizeBit) != 0;
        if (!ignoring) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(ignoring) << (r.alive() ? "still running" : describe(r.status()));
}

INSTANTIATE_TEST_SUITE_P(Programs, EveryProgram, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param); });

// ticketclip writes its parameter file at a start that finds none: past the limit that write
// fails, and the program stays up without the file (no cut file is left in its place).
TEST(ProgramUnderAFileSizeLimit, TicketclipStartsWhenItsParameterFileCannotBeWritten) {
    ProgramCopy p("ticketclip");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Running r(p.exe, 16);  // the default parameters take some sixty bytes
    ASSERT_TRUE(r.started());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (r.alive() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(r.alive()) << describe(r.status());
    const QStringList left = QDir(p.dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList({QStringLiteral("ticketclip"), QStringLiteral("ticketclip.lock")}));
}
