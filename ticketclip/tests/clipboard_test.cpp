// The quick-ticket text read back from the clipboard of a real X display by another program.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/core/textfile.h"

namespace {
// Stops a started process at the end of the test, whatever happens.
struct Stopper {
    QProcess& p;
    ~Stopper() {
        if (p.state() == QProcess::NotRunning) return;
        p.closeWriteChannel();  // the window program ends on it
        if (!p.waitForFinished(1000)) p.terminate();  // the display server ends on this
        if (!p.waitForFinished(3000)) {
            p.kill();
            p.waitForFinished(3000);
        }
    }
};
}  // namespace

TEST(Clipboard, AnotherProgramReadsExactlyTheQuickTicketText) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xclip = QStandardPaths::findExecutable("xclip");
    if (xvfb.isEmpty() || xclip.isEmpty()) GTEST_SKIP() << "Xvfb or xclip is not installed";

    // A display of its own: Xvfb picks a free number and writes it to its standard output.
    QProcess server;
    Stopper stopServer{server};
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(5000));
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(10000)) number += server.readAllStandardOutput();
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";
    const QString display = ":" + QString::fromLatin1(number.trimmed());

    QTemporaryDir folder;
    dz::writeBytes(folder.path() + "/k.txt",
                   " 01 02 03 04 05 06 07 08 \r\n 03 05 07 09 11 13 15 20 \r\n 02 04 06 08 10 12 14 16 \r\n"
                   " 01 03 05 07 09 11 13 15 \r\n 11 12 13 14 15 16 17 18 \r\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");

    QProcess program;
    Stopper stopProgram{program};
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TICKETCLIP_CLIPHELPER), {folder.path()});
    QByteArray said;
    while (!said.contains("ready") && program.waitForReadyRead(15000)) said += program.readAllStandardOutput();
    ASSERT_TRUE(said.contains("ready")) << program.readAllStandardError().toStdString();

    QProcess reader;
    reader.setProcessEnvironment(env);
    reader.start(xclip, {"-o", "-selection", "clipboard"});
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_EQ(reader.readAllStandardOutput().toStdString(),
              "PT1,1,1,2,3,4,5,6,7,8,B,1,,1,3,5,7,9,11,13,15,20,B,1,,1,2,4,6,8,10,12,14,16,B,1,,1,1,3,5,7,9,11,13,15,B,1\r\n"
              "PT1,1,11,12,13,14,15,16,17,18,B,1\r\n");
}
