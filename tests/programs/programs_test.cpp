// The programs as a user's machine runs them: the real executables in child processes, with the
// signals at their defaults and a file-size limit (ulimit -f) that a save may pass.

#include "common/core/synth.h"

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
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

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
    // extraEnv: "NAME=value" entries put before the inherited environment.
    Running(const QString& exe, rlim_t fileLimit, const std::vector<std::string>& extraEnv = {}) {
        const QByteArray path = QFile::encodeName(exe);
        std::vector<std::string> env = extraEnv;
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
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
            ::execve(path.constData(), argv, envp.data());
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
                         [](const auto& instance) { return std::string(instance.param); });

// ticketclip writes its parameter file at a start that finds none: past the limit that write
// fails, and the program stays up without the file (no cut file is left in its place).
TEST(ProgramUnderAFileSizeLimit, TicketclipStartsWhenItsParameterFileCannotBeWritten) {
    ProgramCopy p("ticketclip");
    Running r(p.exe, 16);  // the default parameters take some sixty bytes
    ASSERT_TRUE(r.started());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (r.alive() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(r.alive()) << describe(r.status());
    const QStringList left = QDir(p.dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList({QStringLiteral("ticketclip"), QStringLiteral("ticketclip.lock")}));
}

namespace {
// A program driven through its window by the preloaded driver, under a file-size limit.
struct Driven {
    ProgramCopy p;
    QString reportFile;
    std::unique_ptr<Running> r;
    explicit Driven(const char* name) : p(name), reportFile(p.path("drive-report.txt")) {}

    void start(rlim_t fileLimit, const QString& steps, const QStringList& files, std::vector<std::string> env = {},
               const QStringList& inputs = {}) {
        env.push_back("LD_PRELOAD=" DIZOV_DRIVE_LIBRARY);
        env.push_back("DIZOV_DRIVE=" + steps.toStdString());
        env.push_back("DIZOV_DRIVE_FILES=" + QFile::encodeName(files.join(QLatin1Char(';'))).toStdString());
        env.push_back("DIZOV_DRIVE_INPUTS=" + inputs.join(QLatin1Char(';')).toStdString());
        env.push_back("DIZOV_DRIVE_REPORT=" + QFile::encodeName(reportFile).toStdString());
        // The driver comes before the sanitizer's runtime in a sanitized build.
        const char* asan = std::getenv("ASAN_OPTIONS");
        env.push_back(std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : std::string()) +
                      "verify_asan_link_order=0");
        r = std::make_unique<Running>(p.exe, fileLimit, env);
    }
    QStringList report() const {
        QFile f(reportFile);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Waits until the driver has reported the line, the program has ended, or ten seconds passed.
    bool waitFor(const QString& line) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (r->alive() && std::chrono::steady_clock::now() < until) {
            if (report().contains(line)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return report().contains(line);
    }
    void write(const char* name, const std::string& bytes) const {
        QFile f(p.path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string read(const char* name) const {
        QFile f(p.path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<missing>");
    }
};

std::string keyRows(int n) {
    std::string key;
    for (int i = 0; i < n; ++i) key += "01 02 03 04 05 06 07 08\r\n";
    return key;
}

const std::string kOldKey = "11 12 13 14 15 16 17 18\r\n";
}  // namespace

// keyedit's "Kulcs ment" over an old key, past the limit: the save says it failed, the program
// stays up, and the old key stays as it was.
TEST(ProgramUnderAFileSizeLimit, KeyeditKeySaveFailsWithItsMessage) {
    Driven d("keyedit");
    d.write("nagy.txt", keyRows(200));  // 5000 bytes
    d.write("regi.txt", kOldKey);
    // Load a key, then save the left list ("A baloldali kulcs-lista mentése !" answered Yes).
    d.start(2048, QStringLiteral("click:Command3D1;click:Command3D3"),
            {d.p.path("nagy.txt"), d.p.path("regi.txt")});
    ASSERT_TRUE(d.r->started());
    const QString failed =
        QStringLiteral("Hiba a ") + d.p.path("regi.txt") + QStringLiteral(" mentésekor - sikertelen mentés !");
    EXPECT_TRUE(d.waitFor(failed)) << d.report().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(d.r->alive()) << describe(d.r->status());
    EXPECT_EQ(d.read("regi.txt"), kOldKey);
}

// keyprint's key list printed into a PDF file (DIZOV_PRINT_PDF) over an old one, past the limit:
// the print says the file could not be written, the program stays up, the old file stays.
TEST(ProgramUnderAFileSizeLimit, KeyprintPdfFailsWithItsMessage) {
    Driven d("keyprint");
    d.write("kulcs.txt", keyRows(60));
    d.write("lista.pdf", "regi");
    // Choose the key, then print it on an A4 sheet (its question answered OK).
    d.start(4096, QStringLiteral("click:Command3D4;click:Command3D6"), {d.p.path("kulcs.txt")},
            {"DIZOV_PRINT_PDF=" + QFile::encodeName(d.p.path("lista.pdf")).toStdString()});
    ASSERT_TRUE(d.r->started());
    const QString failed =
        QStringLiteral("Hiba a ") + d.p.path("lista.pdf") + QStringLiteral(" mentésekor - sikertelen mentés !");
    EXPECT_TRUE(d.waitFor(failed)) << d.report().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(d.r->alive()) << describe(d.r->status());
    EXPECT_EQ(d.read("lista.pdf"), "regi");
}

// daystat's cut of the last draws ("Húzás szám") over an old partial-day file, past the limit:
// the cut says it failed, the program stays up, and the old file stays as it was.
TEST(ProgramUnderAFileSizeLimit, DaystatCutFailsWithItsMessage) {
    Driven d("daystat");
    d.write("vevud.txt", dz::synthDrawHistory(2000));
    const std::string old = dz::synthDrawHistory(10);
    d.write("vevud.dat", old);
    d.start(8192, QStringLiteral("click:huzassz"), {}, {}, {QStringLiteral("1000")});  // some 41 kB
    ASSERT_TRUE(d.r->started());
    EXPECT_TRUE(d.waitFor(QStringLiteral("Hiba a vevud.dat mentésekor - sikertelen mentés !")))
        << d.report().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(d.r->alive()) << describe(d.r->status());
    EXPECT_EQ(d.read("vevud.dat"), old);
}

// drawstat's "Ujragenerálás" of the 4-number counters, past the limit: it says the counter file
// could not be written, the program stays up, and no cut file takes its place.
TEST(ProgramUnderAFileSizeLimit, DrawstatRegenerationFailsWithItsMessage) {
    Driven d("drawstat");
    d.write("vevud.txt", dz::synthDrawHistory(50));
    // Open the window of the 4-number sets, tick the box that allows the clearing, regenerate
    // (its question answered OK).
    d.start(1024, QStringLiteral("click:negy;click:Check3D1;click:Command3D1"), {});
    ASSERT_TRUE(d.r->started());
    EXPECT_TRUE(d.waitFor(QStringLiteral("Hiba a ") + d.p.path("vevud4.txt") +
                          QStringLiteral(" mentésekor - sikertelen mentés !")))
        << d.report().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(d.r->alive()) << describe(d.r->status());
    EXPECT_EQ(d.read("vevud4.txt"), "<missing>");
}
