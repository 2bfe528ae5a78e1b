// Printing on a real print queue, as a user with a printer does: a private print server started for
// the test, listening on a socket in a temporary folder, with one raw queue as the default. A
// queue that refuses the job says that no printer took it; a paused queue holds the job quietly.
// Skipped where the print server is not installed.
#include "common/platform/printsurface.h"
#include "keyprint/tests/pdftools.h"
#include "common/tests/qtprint.h"
#include "common/tests/testutil.h"
#include "keyprint/ui/printwindow.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace dz::keyprint;
using namespace dz::keyprint::testing;
namespace seam = dz::ui::seam;

namespace {

const QString kQueue = QStringLiteral("dizovteszt");

QString sbinTool(const QString& name) {
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                 QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
}

// A print server of the test's own: its configuration, spool, state and logs in a temporary
// folder, no network listener, at most two unfinished jobs a queue. Stopped when the object goes,
// and with the test process if that dies first.
class PrintServer {
public:
    PrintServer() {
        if (!dir_.isValid()) return;
        // The server hands spool files to helpers that run as its own unprivileged user.
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                               QFileDevice::ReadOther | QFileDevice::ExeOther);
        for (const char* sub : {"etc", "spool/tmp", "cache", "state", "log"}) QDir(dir_.path()).mkpath(QLatin1String(sub));
        const QString d = dir_.path();
        QString files = QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                       "CacheDir %1/cache\nStateDir %1/state\nServerBin /usr/lib/cups\n"
                                       "DataDir /usr/share/cups\nAccessLog %1/log/access_log\n"
                                       "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\nFileDevice Yes\n")
                            .arg(d);
        if (::geteuid() != 0) {
            // Not root: the server runs as the user who starts it.
            if (const passwd* pw = ::getpwuid(::geteuid())) files += QStringLiteral("User %1\n").arg(QString::fromLocal8Bit(pw->pw_name));
            if (const group* gr = ::getgrgid(::getegid())) files += QStringLiteral("Group %1\n").arg(QString::fromLocal8Bit(gr->gr_name));
        }
        socket_ = d + QStringLiteral("/sock");
        const QString conf = QStringLiteral("LogLevel warn\nListen %1\nBrowsing No\nWebInterface No\n"
                                            "MaxJobsPerPrinter 2\nErrorPolicy abort-job\n"
                                            "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                                 .arg(socket_);
        dz::writeBytes(d + QStringLiteral("/cups-files.conf"), files.toStdString());
        dz::writeBytes(d + QStringLiteral("/cupsd.conf"), conf.toStdString());

        daemon_.setProgram(sbinTool(QStringLiteral("cupsd")));
        daemon_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"),
                              QStringLiteral("-s"), d + QStringLiteral("/cups-files.conf")});
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        daemon_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        daemon_.start();
        if (!daemon_.waitForStarted(10000)) return;
        for (QDeadlineTimer until(15000); !until.hasExpired(); QThread::msleep(50)) {
            if (daemon_.state() != QProcess::Running) return;
            if (QFileInfo::exists(socket_) && tool(QStringLiteral("lpstat"), {QStringLiteral("-r")}).first == 0) {
                running_ = true;
                return;
            }
        }
    }
    ~PrintServer() {
        if (daemon_.state() == QProcess::NotRunning) return;
        daemon_.terminate();
        if (!daemon_.waitForFinished(10000)) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }
    bool running() const { return running_; }
    // The document of a job as the server keeps it in its spool.
    QString jobDocument(int job) const { return dir_.path() + QStringLiteral("/spool/d%1-001").arg(job, 5, 10, QLatin1Char('0')); }
    const QString& socket() const { return socket_; }
    QString log() {
        return QString::fromLocal8Bit(daemon_.readAll()) +
               QString::fromStdString(dz::readFileBytes(dir_.path() + QStringLiteral("/log/error_log")).value_or(""));
    }

    // An administration or query tool run against this server: its exit code and its output.
    std::pair<int, QString> tool(const QString& name, const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket_);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(sbinTool(name), args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return {-1, QStringLiteral("timed out")};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
    }
    // The jobs that the queue holds unfinished, and all that it was given.
    int heldJobs() const { return jobs({QStringLiteral("-o"), kQueue}); }
    int allJobs() const { return jobs({QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), kQueue}); }

private:
    int jobs(const QStringList& args) const {
        const auto [rc, out] = tool(QStringLiteral("lpstat"), args);
        return rc == 0 ? int(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size()) : -1;
    }

    QTemporaryDir dir_;
    QString socket_;
    QProcess daemon_;
    bool running_ = false;
};

// This process and the print system's library talk to the test's server, whose queue is the
// default whatever the user's own settings name; put back when the test ends.
class UseServer {
public:
    explicit UseServer(const QString& socket) {
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        qputenv("LPDEST", kQueue.toLocal8Bit());
        cupsSetServer(socket.toLocal8Bit().constData());
    }
    ~UseServer() {
        qunsetenv("CUPS_SERVER");
        qunsetenv("LPDEST");
        cupsSetServer(nullptr);
    }
};

}  // namespace

TEST(PrintQueue, RefusedJobsSayNoPrinterHeldJobsStaySilent) {
    for (const char* t : {"cupsd", "lpadmin", "lpstat", "cupsreject", "cupsdisable"})
        if (sbinTool(QLatin1String(t)).isEmpty()) GTEST_SKIP() << t << " is not installed (packages cups-daemon, cups-client)";
    PrintServer server;
    ASSERT_TRUE(server.running()) << server.log().left(4000).toStdString();
    auto admin = [&](const QString& name, const QStringList& args) {
        const auto [rc, out] = server.tool(name, args);
        ASSERT_EQ(rc, 0) << name.toStdString() << ": " << out.toStdString();
    };
    admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                                      QStringLiteral("file:///dev/null"), QStringLiteral("-m"), QStringLiteral("raw")});
    admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue});
    UseServer use(server.socket());

    dz::testing::ProgramFolderFixture f;
    seam::setPrintJobFactory([] { return std::shared_ptr<dz::PrintSurface>(dz::ui::openQtPrintJob("keyprint")); });
    std::string key;
    for (int i = 0; i < 6; ++i) key += " 01 05 06 20 \r\n";
    f.write("kulcs.txt", key);
    PrintWindow w;
    seam::queueFile(f.path("kulcs.txt"));
    w.findChild<QPushButton*>(QStringLiteral("Command3D4"))->click();
    w.findChild<QAbstractButton*>(QStringLiteral("Check3(0)"))->setChecked(true);

    const QString noPrinter = QStringLiteral("Nincs elérhető nyomtató - a nyomtatás sikertelen !");
    const QString a4 = QStringLiteral("A betöltött kulcs A4-s lapra nyomtatása !");
    struct Step {
        const char* state;
        const char* tool;  // run on the queue before the step, or nullptr
        bool refused;
        int held;   // unfinished jobs on the queue after both buttons
        int total;  // jobs the queue has been given so far
    };
    // In this order: the paused queue fills up to the server's limit of two jobs, and the next
    // job is refused although the queue still takes jobs.
    const Step steps[] = {
        {"accepting and printing", nullptr, false, 0, 2},
        {"paused, still accepting", "cupsdisable", false, 2, 4},
        {"paused and full", nullptr, true, 2, 4},
        {"rejecting jobs", "cupsreject", true, 2, 4},
    };
    for (const Step& s : steps) {
        if (s.tool) admin(QLatin1String(s.tool), {kQueue});
        for (const char* button : {"Command3D1", "Command3D6"}) {  // "Szelv. kitölt", "A4-s lapra nyomtat"
            seam::reset();
            w.findChild<QPushButton*>(QLatin1String(button))->click();
            std::vector<QString> expected;
            if (QLatin1String(button) == QLatin1String("Command3D6")) expected.push_back(a4);
            if (s.refused) expected.push_back(noPrinter);
            std::vector<QString> shown;
            for (const auto& m : seam::messages()) shown.push_back(m.text);
            EXPECT_EQ(shown, expected) << s.state << ", " << button;
            if (s.refused && shown == expected) {
                EXPECT_EQ(seam::messages().back().icon, dz::ui::Icon::Critical);
            }
        }
        if (!s.held) {
            // The printed jobs leave the queue once the device has them.
            for (QDeadlineTimer until(10000); server.heldJobs() && !until.hasExpired();) QThread::msleep(50);
        }
        EXPECT_EQ(server.heldJobs(), s.held) << s.state;
        EXPECT_EQ(server.allJobs(), s.total) << s.state;
    }
    seam::setPrintJobFactory(nullptr);
    // Each job the server took holds the whole document: two forms, or the one page of the list.
    if (toolsPresent()) {
        for (int job = 1; job <= 4; ++job) EXPECT_EQ(pages(server.jobDocument(job)), job % 2 ? 2 : 1) << "job " << job;
    }
}
