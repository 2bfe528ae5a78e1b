// The streaming draw reader against the plain reader: lines, items and records alike on every
// kind of line, across block boundaries, from a line on and for the file's tail; long lines read
// without being built whole.
#include "common/core/draws.h"
#include "common/core/random.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cctype>
#include <random>
#include <sys/resource.h>

using namespace dz;
using dz::testing::plainRead;
using dz::testing::streamRead;

namespace {

constexpr size_t kReaderBlock = size_t(1) << 20;  // the reader's block: boundaries fall at its multiples

const std::string kRec = "20101231 264 01 02 03 05 08 13 19 20 04";

// Pieces of lines a user's editor or a broken download can leave.
const char* const kPieces[] = {
    "20101231 264 01 02 03 05 08 13 19 20 04", "20101231 264  1  2  3  5  8 13 19 20  4", "20101231 264 01 02",
    "2010", "", "  20101231 264 01 02 03 05 08 13 19 20 04", "\t20101231 001 20 19 18 17 16 15 14 13 01",
    "20101231 264 01 02 03 05,08 13 19 20 04", "20101231 264 99 -1 03 5. 1e 13 19 20 44", "20101231 264 01 02 03 05 08 13 19 20 04 trailing",
    "20101231 264 0a 02 03 05 08 13 19 20 04", "\xff\x80\xef\xbb\xbf", ",,,", " , 12",
    "20101231 264 00 02 03 05 08 13 19 20 00",
};
const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};

std::string randomText(std::mt19937& g, size_t approx) {
    std::string s;
    std::uniform_int_distribution<int> piece(0, int(std::size(kPieces)) - 1), end(0, int(std::size(kEnds)) - 1);
    std::uniform_int_distribution<int> kind(0, 99), byte(0, 255);
    while (s.size() < approx) {
        const int k = kind(g);
        if (k < 70) s += kRec;
        else if (k < 95) s += kPieces[piece(g)];
        else
            for (int i = byte(g) % 64; i > 0; --i) s += char(byte(g));
        s += kEnds[kind(g) < 80 ? 0 : end(g)];
    }
    return s;
}

void expectSame(const std::string& bytes, const char* what, LineScan scan = LineScan::Best) {
    const auto want = plainRead(bytes);
    const DrawFile f = DrawFile::fromBytes(bytes);
    EXPECT_EQ(f.size(), want.size()) << what;
    const auto got = streamRead(DrawReader(f, 0, scan));
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], want[i]) << what << ": line " << i << " '" << want[i].line << "'";
}

}  // namespace

TEST(DrawReader, EveryKindOfLineReadsAsThePlainReaderReadsIt) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"one end", "\r\n"},
        {"no end at the last line", kRec + "\r\n" + kRec},
        {"empty tail", kRec + "\r\n\r\n"},
        {"lone CR ends", kRec + "\r" + kRec + "\r\r" + kRec},
        {"LF ends", kRec + "\n\n" + kRec + "\n"},
        {"byte order mark", "\xEF\xBB\xBF" + kRec + "\r\n" + kRec},
        {"only a byte order mark", "\xEF\xBB\xBF"},
        {"byte order mark not at the start", kRec + "\r\n\xEF\xBB\xBF" + kRec},
        {"short lines and blank fields", "20101231 264 01\r\n20101231 264  5  6  7  8  9 10 11 12  1\r\n   \r\n"},
        {"comma and leading blanks", "  20101231 264 01 02,03 05\r\n\t\t" + kRec + ",x\r\n"},
        {"binary", std::string("\x00\x01\xff\x80\x00", 5) + "\r\n" + std::string(50, '\0')},
    };
    for (const Case& c : cases) expectSame(c.bytes, c.what);

    // A few records checked outright, not only against the plain reader.
    const auto lines = streamRead(DrawFile::fromBytes("\xEF\xBB\xBF" + kRec + "\r\n  " + kRec.substr(0, 20) + ",02 03\r\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, kRec);
    EXPECT_EQ(lines[0].record.mask, (1u << 1) | (1u << 2) | (1u << 3) | (1u << 5) | (1u << 8) | (1u << 13) | (1u << 19) | (1u << 20));
    EXPECT_EQ(lines[0].record.extra, 4);
    EXPECT_EQ(lines[1].line, "  " + kRec.substr(0, 20) + ",02 03");
    EXPECT_EQ(lines[1].item, kRec.substr(0, 20));
    EXPECT_EQ(lines[1].record.mask, (1u << 1) | (1u << 2));
}

TEST(DrawReader, RandomTextAcrossBlockBoundaries) {
    std::mt19937 g(20101231);
    for (int round = 0; round < 3; ++round) expectSame(randomText(g, 2 * kReaderBlock + 12345), "random text");

    // A CR LF split by the boundary, and a lone CR just before it.
    for (const char* tail : {"\r\n", "\r" , "\n"}) {
        std::string bytes;
        while (bytes.size() + 41 < kReaderBlock) bytes += kRec + "\r\n";
        bytes += std::string(kReaderBlock - 1 - bytes.size(), '7');
        bytes += tail;
        bytes += kRec + "\r\n" + kRec;
        expectSame(bytes, tail);
    }
}

// Lines of a record's length with each value 00..99 in every field, every kind of byte at every
// column and every end, among random text: read alike by the processor's best scan and by the
// baseline one.
TEST(DrawReader, RecordLengthLinesReadAlikeByEveryScan) {
    std::string bytes;
    for (int v = 0; v < 100; ++v)
        for (size_t f = 0; f < 9; ++f) {
            std::string l = kRec;
            l[13 + 3 * f] = char('0' + v / 10);
            l[14 + 3 * f] = char('0' + v % 10);
            bytes += l + kEnds[size_t(v) % std::size(kEnds)];
        }
    for (size_t col = 0; col <= kRec.size() + 1; ++col)
        for (char c : {',', ' ', '\t', '\r', '\n', 'x', '\0', '\xff', '/', ':'}) {
            std::string l = kRec + "\r\n";
            l[col] = c;
            bytes += l;
        }
    std::mt19937 g(39);
    bytes += randomText(g, 100000);
    bytes += kRec + "\r";  // a record and a lone CR at the very end

    const auto all = plainRead(bytes);
    for (LineScan scan : {LineScan::Best, LineScan::Baseline}) {
        const bool baseline = scan == LineScan::Baseline;
        expectSame(bytes, baseline ? "baseline scan" : "best scan", scan);
        expectSame(bytes.substr(7), baseline ? "baseline scan, from inside a line" : "best scan, from inside a line", scan);
        // the tail, found backwards with the same scan
        const auto tail = streamRead(DrawReader::tail(DrawFile::fromBytes(bytes), all.size() / 2, scan));
        ASSERT_EQ(tail.size(), all.size() / 2);
        for (size_t i = 0; i < tail.size(); ++i) ASSERT_EQ(tail[i], all[all.size() - tail.size() + i]) << i;
        // a record says whether its nine fields are two digits each
        for (const auto& l : streamRead(DrawReader(DrawFile::fromBytes(bytes), 0, scan))) {
            bool two = l.item.size() >= 39;
            for (size_t f = 0; f < 9 && two; ++f) two = std::isdigit(uint8_t(l.item[13 + 3 * f])) && std::isdigit(uint8_t(l.item[14 + 3 * f]));
            ASSERT_EQ(l.record.twoDigits, two) << "'" << l.item << "'";
        }
    }
}

// Each build reads with the scan it was made for: the vector scans on x86-64 (AVX2 where the
// processor has it), the plain twin in a DIZOV_SCALAR build.
TEST(DrawReader, EachBuildUsesItsOwnScan) {
#if defined(DIZOV_SCALAR) || !defined(__x86_64__)
    EXPECT_STREQ(lineScanName(), "plain");
    EXPECT_STREQ(lineScanName(LineScan::Baseline), "plain");
#else
    __builtin_cpu_init();
    EXPECT_STREQ(lineScanName(), __builtin_cpu_supports("avx2") ? "avx2" : "sse2");
    EXPECT_STREQ(lineScanName(LineScan::Baseline), "sse2");
#endif
}

TEST(DrawReader, FromALineOnAndTheTail) {
    std::mt19937 g(7);
    const std::string bytes = "\xEF\xBB\xBF" + randomText(g, kReaderBlock + 5000);
    const auto all = plainRead(bytes);
    const DrawFile f = DrawFile::fromBytes(bytes);
    const size_t n = all.size();
    for (size_t from : {size_t(0), size_t(1), n / 2, n - 1, n, n + 5}) {
        const auto got = streamRead(f, from);
        ASSERT_EQ(got.size(), from < n ? n - from : 0) << from;
        for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], all[from + i]) << from << " " << i;
    }
    for (size_t last : {size_t(0), size_t(1), size_t(2), size_t(32700), n - 1, n, n + 1}) {
        const auto got = streamRead(DrawReader::tail(f, last));
        const size_t want = std::min(last, n);
        ASSERT_EQ(got.size(), want) << last;
        for (size_t i = 0; i < want; ++i) ASSERT_EQ(got[i], all[n - want + i]) << last << " " << i;
    }
    // Tails of files whose lines end in every way, or not at all.
    for (const std::string& b : {kRec + "\r" + kRec + "\r", kRec + "\r\n" + kRec, std::string("\n\n\r\n\r"),
                                 std::string("\xEF\xBB\xBF\r\n", 5), "\xEF\xBB\xBF" + kRec}) {
        const auto want = plainRead(b);
        for (size_t last = 0; last <= want.size() + 1; ++last) {
            const auto got = streamRead(DrawReader::tail(DrawFile::fromBytes(b), last));
            ASSERT_EQ(got.size(), std::min(last, want.size()));
            for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], want[want.size() - got.size() + i]);
        }
    }
}

TEST(DrawReader, LinesLongerThanABlockAreReadWithoutBeingBuilt) {
    // A record behind a long run of blanks still reads as its record; a line of NULs many blocks
    // long comes out cut, and the lines around it are unharmed.
    const std::string blanks(3 * kReaderBlock + 17, ' ');
    const std::string nuls(5 * kReaderBlock, '\0');
    for (const std::string& bytes : {kRec + "\r\n" + blanks + kRec + ",9\r\n" + kRec, nuls + "\r" + kRec,
                                     kRec + "\n" + nuls, std::string(kReaderBlock / 2, 'x') + "\r\n" + kRec}) {
        expectSame(bytes, "long line");
        const auto tail = streamRead(DrawReader::tail(DrawFile::fromBytes(bytes), 2));
        const auto want = plainRead(bytes);
        ASSERT_EQ(tail.size(), 2u);
        EXPECT_EQ(tail[1], want.back());
        EXPECT_EQ(tail[0], want[want.size() - 2]);
    }

    // From disk: reading a file of 64 MB of NULs keeps the process small.
    dz::testing::ProgramFolderFixture fx;
    {
        QFile out(fx.path("vevud.txt"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_TRUE(out.resize(64ll << 20));  // a sparse file: all NULs
    }
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto f = DrawFile::load(fx.path("vevud.txt"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->size(), 1u);
    const auto lines = streamRead(*f);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].line, std::string(kDrawLineKept, '\0'));
    EXPECT_EQ(streamRead(DrawReader::tail(*f, 32700)).size(), 1u);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024) << "kB more at peak";
}

TEST(DrawReader, LoadsFromTheFolder) {
    dz::testing::ProgramFolderFixture fx;
    const std::string history = synthDrawHistory(500);
    fx.write("vevud.txt", history);
    const auto f = DrawFile::load(fx.path("vevud.txt"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->size(), 500u);
    EXPECT_EQ(f->byteSize(), history.size());
    EXPECT_EQ(streamRead(*f), plainRead(history));
    EXPECT_EQ(countLines(fx.path("vevud.txt")), 500u);

    // The passes read the file as it was opened, even when it is replaced meanwhile.
    fx.write("vevud.txt", synthDrawHistory(3));
    EXPECT_EQ(streamRead(*f).size(), 500u);

    EXPECT_FALSE(DrawFile::load(fx.path("nincs.txt")));
    EXPECT_FALSE(countLines(fx.path("nincs.txt")));
    EXPECT_FALSE(DrawFile::load(fx.dir.path()));  // a folder is no file
    fx.write("ures.txt", "");
    EXPECT_EQ(countLines(fx.path("ures.txt")), 0u);
    EXPECT_TRUE(DrawFile::load(fx.path("ures.txt"))->empty());
    EXPECT_TRUE(DrawFile().empty());
}
