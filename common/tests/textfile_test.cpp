// Lines and input items read from the suite's files, and files written whole or not at all.
#include "common/core/textfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/filelimit.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"
#include "common/tests/unreadable.h"
#include "common/core/keyfile.h"
#include "common/core/listexport.h"
#include "common/tests/qtprint.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace dz;

namespace {
std::vector<std::string> toStrings(const std::vector<std::string_view>& v) { return {v.begin(), v.end()}; }

std::vector<std::string> items(std::string_view bytes) {
    std::vector<std::string> out;
    InputItemReader r(bytes);
    while (!r.atEnd()) out.emplace_back(r.next());
    return out;
}
}  // namespace

TEST(TextFile, SplitsLinesAtCrLfLfAndLoneCr) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb", {"a", "b"}},  // last line without an end
        {"a\nb\r\nc\n", {"a", "b", "c"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\n", {""}},
        {"a\r", {"a"}},
        {"a\rb", {"a", "b"}},  // a lone CR ends a line: it never reaches one
        {"a\r\r\n", {"a", ""}},
        {"\r\r\r", {"", "", ""}},
        {"a \t\r\n", {"a \t"}},  // blanks stay
        {"\xEF\xBB\xBF" "a\r\nb", {"a", "b"}},  // a byte order mark before the first line is skipped
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB" "a\r\n\xEF\xBB\xBF" "b", {"\xEF\xBB" "a", "\xEF\xBB\xBF" "b"}},  // only a whole one, only at the start
    };
    for (const Case& c : cases) EXPECT_EQ(toStrings(splitLines(c.bytes)), c.lines) << ::testing::PrintToString(c.bytes);
}

TEST(TextFile, InputItems) {
    struct Case {
        std::string bytes;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"", {}},
        {"x", {"x"}},
        {"  a\r\n", {"a"}},
        {"\t \tb c  \n", {"b c  "}},  // leading blanks and tabs skipped, trailing kept
        {"a,b\n", {"a", "b"}},        // a comma ends an item, the next starts on the same line
        {"a, b\r\nc", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},  // an empty line gives an empty item
        {"   \r\n", {""}},
        {"a,\n", {"a", ""}},
        {",", {""}},
        {"a\rb", {"a", "b"}},
        {" 03 07 11 \r\n 01 02 \r\n", {"03 07 11 ", "01 02 "}},
        {"\xEF\xBB\xBF" "kulcs1\r\n", {"kulcs1"}},
    };
    for (const Case& c : cases) EXPECT_EQ(items(c.bytes), c.items) << ::testing::PrintToString(c.bytes);
    EXPECT_EQ(firstItem("  20101231 001 01,02"), "20101231 001 01");
    EXPECT_EQ(firstItem(""), "");
    EXPECT_EQ(firstItem("\t"), "");
}

TEST(TextFile, ReadsFilesDecoded) {
    dz::testing::ProgramFolderFixture fx;
    fx.write("a.txt", "  \xC1rv\xEDz, t\xFBr\x8B\r\n\r\nutols\xF3");
    EXPECT_EQ(readLines(fx.path("a.txt")),
              (QStringList{QStringLiteral("  Árvíz, tűr‹"), QString(), QStringLiteral("utolsó")}));
    EXPECT_EQ(readInputItems(fx.path("a.txt")),
              (QStringList{QStringLiteral("Árvíz"), QStringLiteral("tűr‹"), QString(), QStringLiteral("utolsó")}));
    EXPECT_EQ(readFirstItem(fx.path("a.txt")), QStringLiteral("Árvíz"));
    fx.write("empty.txt", "");
    EXPECT_EQ(readLines(fx.path("empty.txt")), QStringList());
    EXPECT_EQ(readFirstItem(fx.path("empty.txt")), QString());
    // Missing files and folders cannot be opened.
    EXPECT_FALSE(readFileBytes(fx.path("nincs.txt")));
    EXPECT_FALSE(readLines(fx.path("nincs.txt")));
    EXPECT_FALSE(readInputItems(fx.path("nincs.txt")));
    EXPECT_FALSE(readFirstItem(fx.path("nincs.txt")));
    EXPECT_FALSE(readFileBytes(fx.dir.path()));
}

TEST(TextFile, StreamedLinesSplitAsTheWholeFileReadersSplit) {
    dz::testing::ProgramFolderFixture fx;
    const std::string cases[] = {
        "", "a", "a\r\nb\rc\n\nd\r\r\n", "\xEF\xBB\xBF" "a\r\n", "\xEF\xBB", "\xEF\xBB" "a\n", "\xEF\xBB\xBF",
        "\r\n\r\n", std::string(70000, 'x') + "\r\ny",  // lines across the read buffer
    };
    for (const std::string& bytes : cases) {
        fx.write("s.txt", bytes);
        std::vector<std::string> got;
        ASSERT_TRUE(forEachLine(fx.path("s.txt"), 1 << 20, [&](std::string_view l, bool cut) {
            EXPECT_FALSE(cut);
            got.emplace_back(l);
            return true;
        }));
        EXPECT_EQ(got, toStrings(splitLines(bytes))) << ::testing::PrintToString(bytes.substr(0, 20));
    }
    // A long line is passed cut, and the reader stops when asked.
    fx.write("s.txt", std::string(100, 'y') + "\nz\nw");
    std::vector<std::pair<std::string, bool>> got;
    forEachLine(fx.path("s.txt"), 10, [&](std::string_view l, bool cut) {
        got.emplace_back(std::string(l), cut);
        return got.size() < 2;
    });
    EXPECT_EQ(got, (std::vector<std::pair<std::string, bool>>{{std::string(10, 'y'), true}, {"z", false}}));
    EXPECT_FALSE(forEachLine(fx.path("nincs.txt"), 10, [](std::string_view, bool) { return true; }));
}

TEST(TextFile, StreamedItemsSplitAsTheItemReaderSplits) {
    dz::testing::ProgramFolderFixture fx;
    const std::string cases[] = {
        "", "a", "a,", "a, ", "a,\r\n", ",", "\r\n", "\n\n", "\r\r\n", " \t a b ,\tc\rd\ne",
        "\xEF\xBB\xBF" "a,b", "\xEF\xBB", "\xEF\xBB" "a\n", "a\r\n\r\nb\r", std::string(70000, 'x') + ",y\r\nz",
    };
    for (const std::string& bytes : cases) {
        fx.write("s.txt", bytes);
        std::vector<std::string> got, want;
        ASSERT_TRUE(forEachItem(fx.path("s.txt"), 1 << 20, UINT64_MAX, [&](std::string_view item, bool cut) {
            EXPECT_FALSE(cut);
            got.emplace_back(item);
            return true;
        }));
        InputItemReader r(bytes);
        while (!r.atEnd()) want.emplace_back(r.next());
        EXPECT_EQ(got, want) << ::testing::PrintToString(bytes.substr(0, 20));
    }
    // A long item is passed cut, the reader stops when asked, and no more than the budget is read.
    fx.write("s.txt", std::string(100, 'y') + ",z,w");
    std::vector<std::pair<std::string, bool>> got;
    forEachItem(fx.path("s.txt"), 10, UINT64_MAX, [&](std::string_view item, bool cut) {
        got.emplace_back(std::string(item), cut);
        return got.size() < 2;
    });
    EXPECT_EQ(got, (std::vector<std::pair<std::string, bool>>{{std::string(10, 'y'), true}, {"z", false}}));
    fx.write("s.txt", "yyyyy,z,w");
    EXPECT_EQ(readItems(fx.path("s.txt"), 5, 3), (std::vector<std::string>{"yyy", "z", "w"}));
    EXPECT_EQ(readItems(fx.path("s.txt"), 2, 3), (std::vector<std::string>{"yyy", "z"}));
    fx.write("s.txt", "ab,cd,ef,gh");
    std::vector<std::string> head;
    forEachItem(fx.path("s.txt"), 10, 4, [&](std::string_view item, bool) {
        head.emplace_back(item);
        return true;
    });
    EXPECT_EQ(head, (std::vector<std::string>{"ab", "c"}));
    EXPECT_FALSE(forEachItem(fx.path("nincs.txt"), 10, 10, [](std::string_view, bool) { return true; }));
    EXPECT_FALSE(readItems(fx.path("nincs.txt"), 0));
}

TEST(TextFile, HeadKeepsTheFirstLinesCutAndTheirEnds) {
    dz::testing::ProgramFolderFixture fx;
    struct Case {
        std::string bytes;
        size_t lines, width;
        std::string head;
    } cases[] = {
        {"", 5, 10, ""},
        {"a\r\nb\rc\n\nd", 10, 10, "a\nb\nc\n\nd"},  // the last line had no end
        {"\xEF\xBB\xBF" "a,b\r\n", 10, 10, "a,b\n"},
        {"1\r\n2\r\n3\r\n", 2, 10, "1\n2\n"},
        {"yyyyyyyyyy\r\nz\r\n", 2, 4, "yyyy\nz\n"},
        {std::string(70000, 'y') + "\r\nz\r\n", 2, 4, "yyyy"},  // what a cut line takes counts: reading ends
    };
    for (const Case& t : cases) {
        fx.write("h.txt", t.bytes);
        EXPECT_EQ(readHead(fx.path("h.txt"), t.lines, t.width), t.head) << ::testing::PrintToString(t.bytes.substr(0, 12));
    }
    fx.write("h.txt", "egy\r\n\x8A\r\nh\x82rom\r\n");
    EXPECT_EQ(readLines(fx.path("h.txt"), 2, 10), (QStringList{QStringLiteral("egy"), QStringLiteral("Š")}));
    EXPECT_FALSE(readHead(fx.path("nincs.txt"), 3));
    EXPECT_FALSE(readLines(fx.path("nincs.txt"), 3));
    EXPECT_FALSE(readHead(fx.dir.path(), 3));
}

// A file without end, one endless line or endless lines: the readers of files read at start keep
// what they can use and stop, having read no more than those lines can take.
TEST(TextFile, HeadOfAnEndlessFileStops) {
    dz::testing::ProgramFolderFixture fx;
    const QString path = fx.path("vegtelen.txt");
    for (const std::string& filler : {std::string("x"), std::string("12\r\n"), std::string(1, '\0')}) {
        {
            dz::testing::FedFile feed(path, "elso\r\n", filler);
            const auto head = readHead(path, 3);
            ASSERT_TRUE(head);
            EXPECT_TRUE(head->starts_with("elso\n"));
            EXPECT_LE(head->size(), 5 + 2 * (kStartLineBytes + 1));
            EXPECT_LT(feed.fed(), uint64_t(1) << 20);
        }
        {
            dz::testing::FedFile feed(path, "elso\r\n", filler);
            const auto lines = readLines(path, kStartFileLines);
            ASSERT_TRUE(lines);
            EXPECT_EQ(lines->first(), QStringLiteral("elso"));
            EXPECT_LE(size_t(lines->size()), kStartFileLines);
            for (const QString& l : *lines) EXPECT_LE(size_t(l.size()), kStartLineBytes);
            EXPECT_LT(feed.fed(), uint64_t(kStartFileLines) * (kStartLineBytes + 2) + (1 << 17));
        }
    }
}

// Every reader opens its file one way: a pipe, a device, a folder or an unreadable file is not
// read (and a pipe with no writer never stops the reader), a link to a regular file is.
TEST(TextFile, EveryReaderTakesRegularFilesOnly) {
    dz::testing::ProgramFolderFixture fx;
    const std::function<bool(const QString&)> readers[] = {
        [](const QString& p) { return readFileBytes(p).has_value(); },
        [](const QString& p) { return readLines(p).has_value(); },
        [](const QString& p) { return readInputItems(p).has_value(); },
        [](const QString& p) { return readFirstItem(p).has_value(); },
        [](const QString& p) { return forEachLine(p, 10, [](std::string_view, bool) { return true; }); },
        [](const QString& p) { return forEachItem(p, 10, 100, [](std::string_view, bool) { return true; }); },
        [](const QString& p) { return readItems(p, 0).has_value() && readItems(p, 3).has_value(); },
        [](const QString& p) { return readHead(p, 0).has_value() && readHead(p, 3).has_value(); },
        [](const QString& p) { return readLines(p, 3).has_value(); },
    };
    fx.write("k.txt", "01 02\r\n");
    ASSERT_TRUE(QFile::link(fx.path("k.txt"), fx.path("link.txt")));
    for (size_t i = 0; i < std::size(readers); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(readers[i](fx.path("link.txt")));
        QTemporaryDir sub;
        dz::testing::forEachUnreadable(sub.path(), [&](const QString& path) { EXPECT_FALSE(readers[i](path)); });
    }
    // What it opens reads as a plain descriptor would.
    const int fd = openRegularFile(fx.path("link.txt"));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(fd);
}

TEST(TextFile, ReadersCapTheTextOfAHugeLine) {
    dz::testing::ProgramFolderFixture fx;
    fx.write("h.txt", std::string(3 * kLineTextLimit, '\0') + "\r\nkulcs1");
    EXPECT_EQ(size_t(readLines(fx.path("h.txt"))->at(0).size()), kLineTextLimit);
    EXPECT_EQ(readLines(fx.path("h.txt"))->at(1), QStringLiteral("kulcs1"));
    EXPECT_EQ(size_t(readInputItems(fx.path("h.txt"))->at(0).size()), kLineTextLimit);
    EXPECT_EQ(size_t(readFirstItem(fx.path("h.txt"))->size()), kLineTextLimit);
}

TEST(TextFile, WritesCrLfCp1250AndReplacesWhole) {
    dz::testing::ProgramFolderFixture fx;
    const QString p = fx.path("out.txt");
    fx.write("out.txt", std::string(500, 'x'));
    ASSERT_TRUE(writeLines(p, {QStringLiteral(" 03 07 11 "), QString(), QStringLiteral("ő\u00A0ű")}));
    EXPECT_EQ(fx.read("out.txt"), " 03 07 11 \r\n\r\n\xF5\xA0\xFB\r\n");
    ASSERT_TRUE(writeLines(p, {}));
    EXPECT_EQ(fx.read("out.txt"), "");
    ASSERT_TRUE(writeBytes(p, "raw"));
    EXPECT_EQ(fx.read("out.txt"), "raw");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.txt")});
}

TEST(TextFile, FailedWriteReportsFalseAndKeepsTheOldFile) {
    dz::testing::ProgramFolderFixture fx;
    const std::string old = "old line\r\n";
    fx.write("keep.txt", old);

    // A folder that does not exist, and a name that is a folder.
    EXPECT_FALSE(writeLines(fx.path("nincs/keep.txt"), {QStringLiteral("x")}));
    EXPECT_FALSE(QFile::exists(fx.path("nincs")));
    ASSERT_TRUE(QDir(fx.dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_FALSE(writeLines(fx.path("sub"), {QStringLiteral("x")}));

    // A full disk in the middle of the write.
    {
        dz::testing::FileSizeLimit full(64);
        EXPECT_FALSE(writeLines(fx.path("keep.txt"), QStringList(100, QStringLiteral("a new, longer line"))));
    }
    EXPECT_EQ(fx.read("keep.txt"), old);

    // A read-only folder (root writes there anyway: then there is nothing to show).
    QFile::setPermissions(fx.dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool folderRefuses = ::access(fx.dir.path().toLocal8Bit().constData(), W_OK) != 0;
    if (folderRefuses) {
        EXPECT_FALSE(writeLines(fx.path("keep.txt"), {QStringLiteral("new")}));
    }
    QFile::setPermissions(fx.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fx.read("keep.txt"), old);
    const QStringList left = QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("keep.txt")}) << "a temporary file stayed behind";
}

// What a program writes on its own (settings, lists, the key file pointer, the spreadsheet export)
// goes only to a missing name, a regular file or a link to one; anything else stays as it is, and
// the write is reported as failed.
TEST(TextFile, OwnFilesAreWrittenOnlyToFilesOrLinksToFiles) {
    dz::testing::ProgramFolderFixture fx;
    const QString folder = fx.dir.path();
    ListExporter lists;
    const std::pair<const char*, std::function<bool()>> writers[] = {
        {"ownlines.txt", [&] { return writeOwnLines(fx.path("ownlines.txt"), {QStringLiteral("a")}); }},
        {"ownbytes.txt", [&] { return writeOwnBytes(fx.path("ownbytes.txt"), "b"); }},
        {"filenev.txt", [&] { return key::writeLastKeyPointer(folder, fx.path("kulcs.txt")); }},
        {"minimum.txt", [&] { return key::writeSpreadsheetExport(folder, {QStringLiteral(" 01 02 ")}); }},
        {"lista001.txt", [&] {
             ListExporter fresh;
             return fresh.save(folder, {QStringLiteral("x")}).ok;
         }},
    };
    for (const auto& [name, write] : writers) dz::testing::expectNameKept(folder, QLatin1String(name), write);

    // A missing name is made; a link to a regular file writes that file, and stays a link.
    EXPECT_TRUE(writeOwnBytes(fx.path("uj.txt"), "1"));
    EXPECT_EQ(fx.read("uj.txt"), "1");
    fx.write("cel.txt", "old");
    ASSERT_TRUE(QFile::link(fx.path("cel.txt"), fx.path("filenev.txt")));
    EXPECT_TRUE(key::writeLastKeyPointer(folder, QStringLiteral("/k/kulcs.txt")));
    EXPECT_EQ(fx.read("cel.txt"), "/k/kulcs.txt\r\n");
    EXPECT_TRUE(QFileInfo(fx.path("filenev.txt")).isSymLink());
    const auto r = lists.save(folder, {QStringLiteral("y")});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(fx.read("lista001.txt"), "y\r\n");
    // A save the user named keeps writing where he points it.
    fx.write("cel2.txt", "old");
    ASSERT_TRUE(QFile::link(fx.path("cel2.txt"), fx.path("named.txt")));
    EXPECT_TRUE(writeLines(fx.path("named.txt"), {QStringLiteral("z")}));
    EXPECT_EQ(fx.read("cel2.txt"), "z\r\n");
}
