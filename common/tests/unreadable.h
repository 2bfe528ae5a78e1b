// Names a user may pick in a file dialog that no program reads: a named pipe that no process
// writes, a link to a device, a folder, a file the user may not read and a missing file. Each
// test of a dialog runs its load over every one of them and expects the program's "cannot open"
// message with everything loaded before kept.
#pragma once
#include "common/core/textfile.h"
#include "common/platform/dialogs.h"
#include "common/tests/writerlessfifo.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace dz::testing {

// f(path) for every such name, made in folder as "<what>.txt"; the pipe must be left alone by the
// load (a reader that waited in its open is freed after a second and fails the test). A file of
// mode 000 holds a key; root reads it anyway, so it is tried only by a plain user.
inline void forEachUnreadable(const QString& folder, const std::function<void(const QString& path)>& f) {
    auto at = [&](const char* name) { return folder + QLatin1Char('/') + QLatin1String(name); };
    {
        SCOPED_TRACE("a named pipe no process writes");
        WriterlessFifo fifo(at("fifo.txt"));
        ASSERT_TRUE(fifo.made());
        f(at("fifo.txt"));
        EXPECT_FALSE(fifo.released()) << "the load waited in the pipe's open";
    }
    {
        SCOPED_TRACE("a link to /dev/zero");
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), at("zero.txt")));
        f(at("zero.txt"));
    }
    {
        SCOPED_TRACE("a folder");
        ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("dir.txt")));
        f(at("dir.txt"));
    }
    {
        SCOPED_TRACE("a missing file");
        f(at("missing.txt"));
    }
    if (::geteuid() == 0) {
        std::cout << "[   NOTE   ] a file of mode 000 is not tried: root reads it anyway (run the tests as a plain user)\n";
        return;
    }
    {
        SCOPED_TRACE("a file of mode 000");
        QFile locked(at("locked.txt"));
        ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
        locked.write(" 01 02 03 04 05 06 07 08 \r\n");
        locked.close();
        ASSERT_EQ(::chmod(QFile::encodeName(at("locked.txt")).constData(), 0), 0);
        f(at("locked.txt"));
    }
}

// Picks path in the next file dialog, runs load and expects one critical message with the given
// text and the suite's title, and the window's state as it was (state() == before).
inline void expectRefusedLoad(const QString& path, const std::function<void()>& load, const QString& message,
                              const std::function<QStringList()>& state, const QStringList& before) {
    ui::seam::reset();
    ui::seam::queueFile(path);
    load();
    ASSERT_EQ(ui::seam::messages().size(), 1u);
    EXPECT_EQ(ui::seam::messages()[0].text, message);
    EXPECT_EQ(ui::seam::messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ui::seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(state(), before);
}

// A key of one good row, then a line just longer than any row a reader keeps: no key.
inline std::string keyWithALongLine() {
    return " 01 02 03 04 05 06 07 08 \r\n" + std::string(kLineTextLimit + 1, '1') + "\r\n";
}

}  // namespace dz::testing
