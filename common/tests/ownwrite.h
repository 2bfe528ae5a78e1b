// The names a file that a program writes on its own must not be written through: a link to a
// pipe, to a folder or to nothing, a folder or a pipe of that name. expectNameKept makes each in
// turn, runs the writer, and checks that the name and what it points to stay as they were.
#pragma once
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace dz::testing {

namespace detail {
inline mode_t typeOf(const QString& path, bool follow) {
    struct stat st {};
    const QByteArray n = QFile::encodeName(path);
    if ((follow ? ::stat(n.constData(), &st) : ::lstat(n.constData(), &st)) != 0) return 0;
    return st.st_mode & S_IFMT;
}
}  // namespace detail

// write() runs the writer on folder/name and returns whether it reported a success; reported
// tells whether the writer reports at all (a start file's defaults are skipped silently).
inline void expectNameKept(const QString& folder, const QString& name, const std::function<bool()>& write,
                           bool reported = true) {
    const QString path = folder + QLatin1Char('/') + name;
    const QString fifo = folder + QStringLiteral("/cel.fifo"), missing = folder + QStringLiteral("/cel.nincs"),
                  dir = folder + QStringLiteral("/cel.mappa");
    struct Kind {
        const char* what;
        QString target;   // where the link points (empty: no link)
        mode_t own;       // what the name itself is when it is no link
    };
    const Kind kinds[] = {
        {"a link to a pipe", fifo, 0},        {"a link to nothing", missing, 0}, {"a link to a folder", dir, 0},
        {"a folder", QString(), S_IFDIR},     {"a pipe", QString(), S_IFIFO},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(std::string(k.what) + " named " + name.toStdString());
        QFile::remove(path);
        QDir(path).removeRecursively();
        QFile::remove(fifo);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        QDir().mkpath(dir);
        if (!k.target.isEmpty()) ASSERT_TRUE(QFile::link(k.target, path));
        else if (k.own == S_IFDIR) ASSERT_TRUE(QDir().mkdir(path));
        else ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        const bool ok = write();
        if (reported) {
            EXPECT_FALSE(ok) << "reported as written";
        }
        if (!k.target.isEmpty()) {
            EXPECT_EQ(detail::typeOf(path, false), mode_t(S_IFLNK));
            EXPECT_EQ(QFileInfo(path).symLinkTarget(), k.target);
        } else {
            EXPECT_EQ(detail::typeOf(path, false), k.own);
        }
        EXPECT_EQ(detail::typeOf(fifo, false), mode_t(S_IFIFO));
        EXPECT_EQ(detail::typeOf(missing, false), mode_t(0)) << "made where the link points";
        EXPECT_EQ(detail::typeOf(dir, false), mode_t(S_IFDIR));
        EXPECT_TRUE(QDir(dir).isEmpty());
    }
    QFile::remove(path);
    QDir(path).removeRecursively();
    QFile::remove(fifo);
    QDir(dir).removeRecursively();
}

}  // namespace dz::testing
